// _READFILE$ and _WRITEFILE.
#include "file/whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "error/error.h"
#include "file/gfs_os.h"
#include "file/replace_file.h"
#include "string/zvs.h"

namespace {

constexpr int64_t io_piece = 0x7FFFF000;
// First buffer for files whose size the system does not tell.
constexpr int64_t read_chunk = 65536;

std::string_view view(const zvs* s) { return {reinterpret_cast<const char*>(s->text), size_t(s->length)}; }

// One read of at most io_piece bytes, retried when a signal interrupts it.
ssize_t read_some(int fd, uint8_t* buffer, int64_t count) {
    ssize_t r;
    do r = read(fd, buffer, size_t(count < io_piece ? count : io_piece));
    while (r < 0 && errno == EINTR);
    return r;
}

// The largest string; one byte more shows a file that is too long.
constexpr int64_t string_limit = INT32_MAX;

// Reads to the end of the file into a buffer of its own. False on a read error, a lock
// held by another opener, no memory, or more than string_limit bytes.
bool read_all(int fd, uint8_t** out, int64_t* out_length) {
    struct stat st;
    // Sizes reported by the system are only a first guess: /proc files say 0.
    int64_t capacity = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? int64_t(st.st_size) + 1 : read_chunk;
    if (capacity > string_limit + 1) return false;
    uint8_t* bytes = static_cast<uint8_t*>(malloc(size_t(capacity)));
    int64_t length = 0;
    for (;;) {
        if (!bytes) return false;
        if (length == capacity) {
            if (capacity > string_limit) break;
            capacity = capacity * 2 > string_limit + 1 ? string_limit + 1 : capacity * 2;
            uint8_t* grown = static_cast<uint8_t*>(realloc(bytes, size_t(capacity)));
            if (!grown) free(bytes);
            bytes = grown;
            continue;
        }
        int64_t want = capacity - length;
        ssize_t r = gfs_os_lock_check(fd, length, want) == 0 ? read_some(fd, bytes + length, want) : -1;
        if (r < 0) break;
        if (r == 0) {
            *out = bytes;
            *out_length = length;
            return true;
        }
        length += r;
    }
    free(bytes);
    return false;
}

}  // namespace

zvs* func__readfile(zvs* name) {
    gfs_os_file file;
    if (gfs_os_open(view(name), 1, 0, 0, &file) != 0) {
        error(ERR_FILE_NOT_FOUND);
        return zvs_new(0, 1);
    }
    uint8_t* bytes = nullptr;
    int64_t length = 0;
    bool ok = read_all(file.fd, &bytes, &length) && length <= string_limit;
    gfs_os_close(&file);
    if (!ok) {
        free(bytes);
        error(ERR_PATH_FILE_ACCESS);
        return zvs_new(0, 1);
    }
    zvs* text = zvs_new(int32_t(length), 1);
    if (text->length) memcpy(text->text, bytes, size_t(text->length));
    free(bytes);
    return text;
}

void sub__writefile(zvs* name, zvs* contents) {
    const whole_file_part part{contents->text, contents->length};
    whole_file_result result = gfs_os_write_whole(view(name), &part, 1);
    if (result.stage == whole_file_stage::open)
        error(ERR_PATH_NOT_FOUND);
    else if (result.stage != whole_file_stage::done)
        error(ERR_PATH_FILE_ACCESS);
}
