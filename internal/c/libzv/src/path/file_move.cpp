// Moving a plain file to another file system by copy: NAME's, which never replaces a
// file, and CHAIN's, which replaces the destination's entry as rename does.
#include "path/file_move.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

// The folder that holds a path: its entries are flushed once the new name is made.
std::string folder_of(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A file system that keeps no modes or times (FAT) refuses to set them; the copy is
// still whole, so that is no reason to give the move up.
bool metadata_not_kept(int e) { return e == EPERM || e == EOPNOTSUPP || e == ENOTSUP; }

int copy_by_read_write(int in, int out) {
    static constexpr size_t buffer_size = 1 << 16;
    char buffer[buffer_size];
    for (;;) {
        ssize_t n = read(in, buffer, buffer_size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = write(out, buffer + done, size_t(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) return errno;
            done += w;
        }
    }
}

// Everything after the bytes: owner, mode, times, then the flush. 0 or errno.
int finish_copy(int out, const struct stat& source) {
    // The owner where this process may give it; a change of owner clears set-id bits,
    // so the mode comes after it.
    if (fchown(out, source.st_uid, source.st_gid) != 0 && fchown(out, uid_t(-1), source.st_gid) != 0) {
        // Not allowed: the copy stays this process's own, as any file it makes.
    }
    if (fchmod(out, source.st_mode & 07777) != 0 && !metadata_not_kept(errno)) return errno;
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    if (futimens(out, times) != 0 && !metadata_not_kept(errno)) return errno;
    if (fsync(out) != 0) return errno;
    return 0;
}

}  // namespace

int file_copy_contents(int in, int out) {
    for (;;) {
        ssize_t n = copy_file_range(in, nullptr, out, nullptr, size_t(1) << 30, 0);
        if (n > 0) continue;
        if (n == 0) return 0;
        if (errno == EINTR) continue;
        // Kernels and file systems that cannot copy between these two files in the
        // kernel say so before anything is written.
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF)
            return copy_by_read_write(in, out);
        return errno;
    }
}

int file_move_across(const std::string& from, const std::string& to) {
    struct stat source;
    if (lstat(from.c_str(), &source) != 0) return errno;
    if (!S_ISREG(source.st_mode)) return EXDEV;  // folders, links and devices are not copied
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    if (in < 0) return errno;
    struct stat opened;
    if (fstat(in, &opened) != 0 || opened.st_dev != source.st_dev || opened.st_ino != source.st_ino) {
        close(in);
        return EXDEV;  // replaced while we looked
    }
    // Private until it is whole; an existing target is never replaced.
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (out < 0) {
        int e = errno;
        close(in);
        return e;
    }
    int failed = file_copy_contents(in, out);
    if (!failed) failed = finish_copy(out, opened);
    close(in);
    if (close(out) != 0 && !failed) failed = errno;
    // The old name goes only when the new one is on the disk, and stays when it cannot go.
    if (!failed) {
        int folder = open(folder_of(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            fsync(folder);
            close(folder);
        }
        if (unlink(from.c_str()) != 0) failed = errno;
    }
    if (failed) unlink(to.c_str());
    return failed;
}

int file_replace_across(const std::string& from, const std::string& to) {
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    if (in < 0) return errno;
    // A fresh name of our own beside the destination (O_EXCL, mode 0600): whatever the
    // destination's name is, a link among them, nothing is written through it.
    std::string fresh = to + ".XXXXXX";
    int out = mkostemp(fresh.data(), O_CLOEXEC);
    if (out < 0) {
        int e = errno;
        close(in);
        return e;
    }
    int failed = file_copy_contents(in, out);
    close(in);
    if (close(out) != 0 && !failed) failed = errno;
    if (!failed && rename(fresh.c_str(), to.c_str()) != 0) failed = errno;
    if (failed) {
        unlink(fresh.c_str());
        return failed;
    }
    unlink(from.c_str());
    return 0;
}
