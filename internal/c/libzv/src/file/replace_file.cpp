// Whole-file writes through a temporary file in the target's folder, renamed over the
// target once every byte is written.
#include "file/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "file/gfs.h"
#include "file/gfs_os.h"
#include "platform/os_path.h"

namespace {

constexpr int64_t io_piece = 0x7FFFF000;
// Temporary names taken by someone else before we give up.
constexpr int temporary_attempts = 100;

whole_file_write_call write_call = nullptr;
uint64_t temporary_serial = 0;

// Every byte of the parts; 0 or the code of the failed write.
int32_t write_parts(int fd, const whole_file_part* parts, size_t part_count) {
    for (size_t i = 0; i < part_count; i++) {
        const uint8_t* bytes = parts[i].bytes;
        int64_t left = parts[i].count;
        while (left > 0) {
            size_t piece = size_t(left < io_piece ? left : io_piece);
            ssize_t n = write_call ? write_call(fd, bytes, piece) : ::write(fd, bytes, piece);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return gfs_os_io_error(errno);
            if (n == 0) return gfs_io_error;  // a write that takes nothing would never end
            bytes += n;
            left -= n;
        }
    }
    return gfs_ok;
}

int64_t total_of(const whole_file_part* parts, size_t part_count) {
    int64_t total = 0;
    for (size_t i = 0; i < part_count; i++) total += parts[i].count;
    return total;
}

// Another opener's locks: over the previous bytes the file stays as it is (locked);
// past them the write itself is refused.
whole_file_result check_locks(int fd, int64_t old_size, int64_t total) {
    if (int32_t code = gfs_os_lock_check(fd, 0, old_size)) return {whole_file_stage::locked, code};
    if (total > old_size)
        if (int32_t code = gfs_os_lock_check(fd, old_size, total - old_size)) return {whole_file_stage::write, code};
    return {whole_file_stage::done, gfs_ok};
}

// As an open for writing would: emptied first, then written.
whole_file_result write_in_place(std::string_view name, const whole_file_part* parts, size_t part_count) {
    gfs_os_file file;
    if (int32_t code = gfs_os_open(name, 2, 0, 1, &file)) return {whole_file_stage::open, code};
    struct stat st;
    bool regular = ::fstat(file.fd, &st) == 0 && S_ISREG(st.st_mode);
    int64_t old_size = regular ? int64_t(st.st_size) : 0;
    whole_file_result result = check_locks(file.fd, old_size, total_of(parts, part_count));
    if (result.stage == whole_file_stage::done && old_size > 0 && ::ftruncate(file.fd, 0) != 0)
        result = {whole_file_stage::write, gfs_os_io_error(errno)};
    if (result.stage == whole_file_stage::done) {
        if (int32_t code = write_parts(file.fd, parts, part_count)) result = {whole_file_stage::write, code};
    }
    // A late failure (a full disk, an I/O error) may only show at the close.
    if (gfs_os_close(&file) != gfs_ok && result.stage == whole_file_stage::done)
        result = {whole_file_stage::write, gfs_io_error};
    return result;
}

// The folder part of a system path, with its '/' ("" for the current folder).
std::string folder_of(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new file beside the target; the descriptor, or -1 with errno set.
int create_temporary(const std::string& folder, std::string* temporary) {
    for (int attempt = 0; attempt < temporary_attempts; attempt++) {
        *temporary = folder + ".zv" + std::to_string(getpid()) + "-" + std::to_string(++temporary_serial) + ".tmp";
        int fd = ::open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// The previous file's owner and mode on the new one; false when the owner cannot be kept.
bool keep_owner_and_mode(int fd, const struct stat& previous) {
    struct stat now;
    if (::fstat(fd, &now) != 0) return false;
    // The owner first: a change of owner clears set-user-ID bits that the mode then restores.
    if ((now.st_uid != previous.st_uid || now.st_gid != previous.st_gid) &&
        ::fchown(fd, previous.st_uid, previous.st_gid) != 0)
        return false;
    return ::fchmod(fd, previous.st_mode & 07777) == 0;
}

enum class replaced { done, failed, in_place };

// Writes the temporary file and renames it over the target. target_fd is the
// target's open descriptor (its locks are checked), or -1 when there is no target.
replaced write_beside(const std::string& path, int target_fd, const struct stat* previous,
                      const whole_file_part* parts, size_t part_count, whole_file_result* result) {
    int64_t total = total_of(parts, part_count);
    if (target_fd >= 0) {
        *result = check_locks(target_fd, int64_t(previous->st_size), total);
        if (result->stage != whole_file_stage::done) return replaced::failed;
    }
    std::string temporary;
    int fd = create_temporary(folder_of(path), &temporary);
    if (fd < 0) {
        int err = errno;
        // A folder that takes no new name may still hold a writable file.
        if (err == EACCES || err == EPERM || err == EROFS) return replaced::in_place;
        *result = target_fd >= 0 ? whole_file_result{whole_file_stage::write, gfs_os_io_error(err)}
                                 : whole_file_result{whole_file_stage::open, gfs_os_open_error(err, path)};
        return replaced::failed;
    }
    if (target_fd >= 0 && !keep_owner_and_mode(fd, *previous)) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return replaced::in_place;
    }
    int32_t code = write_parts(fd, parts, part_count);
    if (::close(fd) != 0 && code == gfs_ok) code = gfs_io_error;
    if (code == gfs_ok && ::rename(temporary.c_str(), path.c_str()) != 0) code = gfs_os_io_error(errno);
    if (code != gfs_ok) {
        ::unlink(temporary.c_str());
        *result = {whole_file_stage::write, code};
        return replaced::failed;
    }
    *result = {whole_file_stage::done, gfs_ok};
    return replaced::done;
}

}  // namespace

whole_file_result gfs_os_write_whole(std::string_view name, const whole_file_part* parts, size_t part_count) {
    if (libzv_path_has_drive(name)) return {whole_file_stage::open, gfs_device_unavailable};
    std::string path;
    if (!libzv_os_path_device(name, &path)) return {whole_file_stage::open, gfs_not_found};

    struct stat st;
    bool missing = false, replaceable = false;
    if (::lstat(path.c_str(), &st) == 0) {
        // Another name of the file, or a file number here, would go on seeing the old bytes.
        replaceable = S_ISREG(st.st_mode) && st.st_nlink == 1 && !gfs_os_held(name);
    } else {
        missing = errno == ENOENT;
    }
    whole_file_result result{whole_file_stage::done, gfs_ok};
    if (missing) {
        if (write_beside(path, -1, nullptr, parts, part_count, &result) != replaced::in_place) return result;
    } else if (replaceable) {
        // The target is opened as any writer would open it: shares, read-only files and
        // folders are refused the same way, and it stays held until it is replaced.
        gfs_os_file target;
        if (int32_t code = gfs_os_open(name, 2, 0, 0, &target)) return {whole_file_stage::open, code};
        replaced how = write_beside(path, target.fd, &st, parts, part_count, &result);
        gfs_os_close(&target);
        if (how != replaced::in_place) return result;
    }
    return write_in_place(name, parts, part_count);
}

void gfs_os_set_whole_file_write_for_tests(whole_file_write_call call) { write_call = call; }
