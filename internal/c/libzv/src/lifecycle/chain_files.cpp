// The files behind CHAIN: the state file, made and opened by its own rules, and the
// plain byte transfers of GET and PUT and KILL (of a system path) behind the screen
// records of a file number.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "file/get_put.h"
#include "file/gfs.h"
#include "lifecycle/chain.h"
#include "path/listing.h"

namespace {

constexpr int64_t chunk = 1 << 20;  // transfers take int32 lengths
constexpr int32_t first_number = 100, last_number = 999;

void put(int32_t number, const void* bytes, int64_t length) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    for (int64_t done = 0; done < length; done += chunk)
        generic_put(number, -1, p + done, int32_t(std::min(chunk, length - done)));
}

void get(int32_t number, void* bytes, int64_t length) {
    auto* p = static_cast<uint8_t*>(bytes);
    std::fill(p, p + length, uint8_t(0));
    for (int64_t done = 0; done < length; done += chunk)
        generic_get(number, -1, p + done, int32_t(std::min(chunk, length - done)));
}

int64_t remaining(int32_t number) {
    int32_t index = gfs_get_fileno(number);
    if (index < 0) return 0;
    int64_t length = gfs_lof(index), position = gfs_getpos(index);
    return length > position && position >= 0 ? length - position : 0;
}

void kill(const std::string& path) { FS_KillFile(path); }

const chain_file_ops file_layer{put, get, remaining, ::write, kill};
const chain_file_ops* current = &file_layer;

}  // namespace

int chain_create_state_file(int32_t first, std::string* name) {
    constexpr int32_t count = last_number - first_number + 1;
    int32_t start = std::clamp(first, first_number, last_number) - first_number;
    for (int32_t i = 0; i < count; i++) {
        *name = "chain" + std::to_string(first_number + (start + i) % count) + ".tmp";
        // O_EXCL never opens what is there, a link, a FIFO or a folder included.
        int fd = ::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

int chain_open_state_file(const std::string& name, struct stat* st) {
    // No O_CREAT, no link followed, no wait for a FIFO's writer; what was opened is
    // what is checked.
    int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode) || st->st_uid != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void chain_remove_state_file(const std::string& name, const struct stat& st) {
    struct stat now;
    if (::lstat(name.c_str(), &now) == 0 && now.st_dev == st.st_dev && now.st_ino == st.st_ino)
        ::unlink(name.c_str());
}

void chain_set_file_ops(const chain_file_ops* ops) { current = ops ? ops : &file_layer; }
const chain_file_ops& chain_files() { return *current; }
