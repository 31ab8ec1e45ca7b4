// Whole-file writes: a side file renamed over the target once every byte and every
// attribute is in it, or a write in place whose new length is reserved first.
#include "file/replace_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "file/file_attributes.h"
#include "file/gfs.h"
#include "file/gfs_os.h"
#include "platform/os_path.h"

namespace {

constexpr int64_t io_piece = 0x7FFFF000;
// Temporary names taken by someone else before we give up.
constexpr int temporary_attempts = 100;
// Links followed before the name counts as a loop, as in the system's own lookups.
constexpr int link_limit = 40;

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

// The folder part of a system path, with its '/' ("" for the current folder).
std::string folder_of(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows a chain of symbolic links to the name it finally reaches, which need not
// exist yet (an open would create it there). 0, or the errno of an open through it.
int follow_links(std::string* path) {
    for (int hops = 0;; hops++) {
        struct stat st;
        if (::lstat(path->c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
        if (hops == link_limit) return ELOOP;
        char target[PATH_MAX];
        ssize_t n = ::readlink(path->c_str(), target, sizeof target);
        if (n < 0) return errno;
        if (n == 0) return ENOENT;
        if (size_t(n) == sizeof target) return ENAMETOOLONG;
        std::string next(target, size_t(n));
        *path = next[0] == '/' ? next : folder_of(*path) + next;
    }
}

// Back to the old length after a failure; should that fail too, the error already
// reported stands.
void restore_length(int fd, int64_t length) {
    int ignored = ::ftruncate(fd, length);
    (void)ignored;
}

// Reserves the file's new length, so that a full disk fails here, before any old byte
// changes. False with *result set when there is no room; true also where the file
// system cannot reserve (the write then goes ahead as an open's would).
bool reserve(int fd, int64_t old_size, int64_t total, whole_file_result* result) {
    if (total <= 0) return true;
    int err;
    do err = ::fallocate(fd, 0, 0, total) == 0 ? 0 : errno;
    while (err == EINTR);
    if (err != ENOSPC && err != EDQUOT && err != EFBIG && err != EIO) return true;
    // A partly done reservation may have lengthened the file.
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_size != old_size) restore_length(fd, old_size);
    *result = {whole_file_stage::write, gfs_os_io_error(err)};
    return false;
}

// Writes the parts over an open file from its first byte, its locks already checked.
// A regular file has its new length reserved first and is cut to it last, and is
// never emptied in between.
whole_file_result write_over(int fd, const whole_file_part* parts, size_t part_count) {
    struct stat st;
    bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    int64_t old_size = regular ? int64_t(st.st_size) : 0;
    int64_t total = total_of(parts, part_count);
    whole_file_result result{whole_file_stage::done, gfs_ok};
    if (regular && !reserve(fd, old_size, total, &result)) return result;
    if (int32_t code = write_parts(fd, parts, part_count)) {
        // No reserved zeros stay behind the bytes that did get written.
        if (regular && total > old_size) restore_length(fd, old_size);
        return {whole_file_stage::write, code};
    }
    if (regular && total < old_size && ::ftruncate(fd, total) != 0) return {whole_file_stage::write, gfs_os_io_error(errno)};
    return result;
}

// Opens the file as an open for writing would (made when missing) and writes over it.
whole_file_result write_in_place(const std::string& path, bool missing, const whole_file_part* parts,
                                 size_t part_count) {
    gfs_os_file file;
    if (int32_t code = gfs_os_open_path(path, 2, 0, 1, &file)) return {whole_file_stage::open, code};
    struct stat st;
    int64_t old_size = ::fstat(file.fd, &st) == 0 && S_ISREG(st.st_mode) ? int64_t(st.st_size) : 0;
    whole_file_result result = check_locks(file.fd, old_size, total_of(parts, part_count));
    if (result.stage == whole_file_stage::done) result = write_over(file.fd, parts, part_count);
    // A late failure (a full disk, an I/O error) may only show at the close.
    if (gfs_os_close(&file) != gfs_ok && result.stage == whole_file_stage::done)
        result = {whole_file_stage::write, gfs_io_error};
    if (missing && result.stage != whole_file_stage::done) ::unlink(path.c_str());
    return result;
}

// A new file beside the target, private (0600) until every byte is in it: anyone who
// could open it meanwhile would read the file's new contents through that descriptor
// after the rename, whatever the file's mode. The descriptor, or -1 with errno set.
int create_temporary(const std::string& folder, std::string* temporary) {
    for (int attempt = 0; attempt < temporary_attempts; attempt++) {
        *temporary = folder + ".zv" + std::to_string(getpid()) + "-" + std::to_string(++temporary_serial) + ".tmp";
        int fd = ::open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// The process's umask. /proc tells it without changing it; elsewhere it is read by
// setting a strict one for a moment, so that a file another thread makes meanwhile is
// only the more private.
mode_t current_umask() {
    int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        std::string status;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) status.append(buffer, size_t(n));
        ::close(fd);
        size_t at = status.find("\nUmask:");
        if (at != std::string::npos) {
            at = status.find_first_not_of(" \t", at + 7);
            mode_t mask = 0;
            int digits = 0;
            for (; at < status.size() && status[at] >= '0' && status[at] <= '7'; at++, digits++)
                mask = mode_t(mask * 8 + mode_t(status[at] - '0'));
            if (digits > 0) return mask & 0777;
        }
    }
    mode_t mask = ::umask(077);
    ::umask(mask);
    return mask;
}

// The mode a plain create (0666) gives a new file in the folder: where the folder has a
// default ACL, its owner, mask (else group) and other entries, and no umask; else 0666
// less the umask. Given to a new side file once its bytes are in, it leaves the file's
// inherited ACL as a plain create would have left it.
mode_t created_mode(const std::string& folder) {
    const char* name = folder.empty() ? "." : folder.c_str();
    std::string acl;
    ssize_t size = ::getxattr(name, "system.posix_acl_default", nullptr, 0);
    if (size > 0) {
        acl.resize(size_t(size));
        size = ::getxattr(name, "system.posix_acl_default", acl.data(), acl.size());
    }
    // Version 2, then entries of a 16-bit tag, 16-bit permissions and a 32-bit id.
    auto u16 = [&](size_t at) { return unsigned(uint8_t(acl[at])) | unsigned(uint8_t(acl[at + 1])) << 8; };
    if (size >= 4 && size_t(size) == acl.size() && (acl.size() - 4) % 8 == 0 && u16(0) == 2 && u16(2) == 0) {
        int owner = -1, group = -1, mask = -1, other = -1;
        for (size_t at = 4; at < acl.size(); at += 8) {
            int permissions = int(u16(at + 2) & 7);
            switch (u16(at)) {
                case 0x01: owner = permissions; break;
                case 0x04: group = permissions; break;
                case 0x10: mask = permissions; break;
                case 0x20: other = permissions; break;
                default: break;
            }
        }
        if (owner >= 0 && group >= 0 && other >= 0)
            return mode_t(0666 & (owner << 6 | (mask >= 0 ? mask : group) << 3 | other));
    }
    return 0666 & ~current_umask();
}

// The previous file's owner on the side file, once its bytes are in.
bool keep_owner(int fd, const struct stat& previous) {
    struct stat now;
    if (::fstat(fd, &now) != 0) return false;
    return (now.st_uid == previous.st_uid && now.st_gid == previous.st_gid) ||
           ::fchown(fd, previous.st_uid, previous.st_gid) == 0;
}

// The previous file's attributes and mode, after the bytes: a write by an unprivileged
// process drops set-user-ID bits and file capabilities, so they are given last. A
// change of owner clears them as well, which is why the owner comes first.
bool keep_attributes_and_mode(int fd, int target_fd, const struct stat& previous) {
    return file_attributes_copy(target_fd, fd) && ::fchmod(fd, previous.st_mode & 07777) == 0;
}

// A folder that takes no new name may still hold a writable file; so may one without
// room for a new inode, when the file exists.
bool folder_refuses(int err) { return err == EACCES || err == EPERM || err == EROFS; }
bool folder_is_full(int err) { return err == ENOSPC || err == EDQUOT; }

// A rename that cannot put a new file where the old one is: a file mounted over
// another (EBUSY), another file system (EXDEV), a sticky or locked-down folder.
bool rename_refused(int err) { return err == EBUSY || err == EXDEV || err == EPERM || err == EACCES; }

enum class replaced { done, failed, in_place };

// Writes a side file and renames it over the target. target_fd is the target's open
// descriptor and previous its status, or -1 and nullptr when there is no target.
replaced write_beside(const std::string& path, int target_fd, const struct stat* previous,
                      const whole_file_part* parts, size_t part_count, whole_file_result* result) {
    std::string temporary;
    int fd = create_temporary(folder_of(path), &temporary);
    if (fd < 0) {
        int err = errno;
        if (folder_refuses(err) || (target_fd >= 0 && folder_is_full(err))) return replaced::in_place;
        *result = target_fd >= 0 ? whole_file_result{whole_file_stage::write, gfs_os_io_error(err)}
                                 : whole_file_result{whole_file_stage::open, gfs_os_open_error(err, path)};
        return replaced::failed;
    }
    auto give_up = [&](replaced how) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return how;
    };
    int32_t code = write_parts(fd, parts, part_count);
    // Only now may the side file be anyone else's to open: the previous file's owner,
    // attributes and mode, or the mode a new file is made with.
    if (code == gfs_ok && target_fd >= 0 &&
        (!keep_owner(fd, *previous) || !keep_attributes_and_mode(fd, target_fd, *previous)))
        return give_up(replaced::in_place);
    if (code == gfs_ok && target_fd < 0 && ::fchmod(fd, created_mode(folder_of(path))) != 0)
        return give_up(replaced::in_place);
    if (::close(fd) != 0 && code == gfs_ok) code = gfs_io_error;
    if (code == gfs_ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        int err = errno;
        if (target_fd >= 0 && rename_refused(err)) {
            ::unlink(temporary.c_str());
            return replaced::in_place;
        }
        code = gfs_os_io_error(err);
    }
    if (code != gfs_ok) {
        ::unlink(temporary.c_str());
        *result = {whole_file_stage::write, code};
        return replaced::failed;
    }
    *result = {whole_file_stage::done, gfs_ok};
    return replaced::done;
}

// An existing regular file: replaced when it has one name that no file number here
// holds, else (or when the replacement cannot be made) written in place.
whole_file_result write_regular(const std::string& path, const whole_file_part* parts, size_t part_count) {
    bool held = gfs_os_held_path(path);
    // The target is opened as any writer would open it: shares, read-only files and
    // folders are refused the same way, and it stays held until it is replaced.
    gfs_os_file target;
    if (int32_t code = gfs_os_open_path(path, 2, 0, 0, &target)) return {whole_file_stage::open, code};
    struct stat st;
    whole_file_result result{whole_file_stage::done, gfs_ok};
    if (::fstat(target.fd, &st) != 0) {
        result = {whole_file_stage::open, gfs_os_io_error(errno)};
    } else {
        result = check_locks(target.fd, int64_t(st.st_size), total_of(parts, part_count));
        // Another name of the file, or a file number here, would go on seeing the old bytes.
        bool replaceable = S_ISREG(st.st_mode) && st.st_nlink == 1 && !held;
        if (result.stage == whole_file_stage::done &&
            (!replaceable || write_beside(path, target.fd, &st, parts, part_count, &result) == replaced::in_place))
            result = write_over(target.fd, parts, part_count);
    }
    if (gfs_os_close(&target) != gfs_ok && result.stage == whole_file_stage::done)
        result = {whole_file_stage::write, gfs_io_error};
    return result;
}

}  // namespace

whole_file_result gfs_os_write_whole(std::string_view name, const whole_file_part* parts, size_t part_count) {
    if (libzv_path_has_drive(name)) return {whole_file_stage::open, gfs_device_unavailable};
    std::string path;
    if (!libzv_os_path_device(name, &path)) return {whole_file_stage::open, gfs_not_found};
    if (int err = follow_links(&path)) return {whole_file_stage::open, gfs_os_open_error(err, path)};

    struct stat st;
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISREG(st.st_mode)) return write_regular(path, parts, part_count);
        return write_in_place(path, false, parts, part_count);
    }
    if (errno != ENOENT) return write_in_place(path, false, parts, part_count);  // the open tells why
    whole_file_result result{whole_file_stage::done, gfs_ok};
    if (write_beside(path, -1, nullptr, parts, part_count, &result) != replaced::in_place) return result;
    return write_in_place(path, true, parts, part_count);
}

void gfs_os_set_whole_file_write_for_tests(whole_file_write_call call) { write_call = call; }
