// The platform file layer: opens with share modes, the no-write-bit rule and the
// creation rules, and the classification of the system's errors.
#include "file/gfs_os.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <utility>

#include "file/gfs.h"
#include "platform/os_path.h"

namespace {

// Who holds a file open in this process: access bits and the bits it denies others.
struct share_entry {
    dev_t dev;
    ino_t ino;
    int32_t access;
    int32_t deny;
};
std::map<int64_t, share_entry> shares;
int64_t next_token = 1;

int32_t close_retry(int fd) {
    // The descriptor is gone whatever close answers (Linux); EINTR is not retried.
    return ::close(fd) == 0 ? 0 : -1;
}

bool conflicts(const struct stat& st, int32_t access, int32_t deny) {
    for (const auto& [token, e] : shares) {
        if (e.dev != st.st_dev || e.ino != st.st_ino) continue;
        if ((access & e.deny) || (deny & e.access)) return true;
    }
    return false;
}

bool parent_exists(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    struct stat st;
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int open_flags(int32_t access, int32_t creation) {
    int flags = O_CLOEXEC | O_NOCTTY;
    if ((access & 3) == 3)
        flags |= O_RDWR;
    else if (access & 2)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    // Never O_TRUNC: Linux truncates even a read-only open.
    if (creation != 0) flags |= O_CREAT;
    return flags;
}

// One attempt with one access. 0 with *fd set, or a code; *refused tells creation 3
// that the access itself was refused, so a narrower one may still work.
int32_t attempt(const std::string& path, int32_t access, int32_t lock, int32_t creation, int* fd, struct stat* st,
                bool* refused) {
    *refused = false;
    int f = ::open(path.c_str(), open_flags(access, creation), 0666);
    if (f < 0) {
        int err = errno;
        *refused = err == EACCES || err == EPERM || err == EROFS;
        return gfs_os_open_error(err, path);
    }
    if (::fstat(f, st) != 0) {
        int err = errno;
        close_retry(f);
        return gfs_os_io_error(err);
    }
    if (S_ISDIR(st->st_mode)) {
        close_retry(f);
        return gfs_denied;
    }
    bool regular = S_ISREG(st->st_mode);
    if (regular && (access & 2) && !(st->st_mode & 0222)) {
        // Read-only for everyone, root included.
        close_retry(f);
        *refused = true;
        return gfs_denied;
    }
    if (regular) {
        if (conflicts(*st, access & 3, lock & 3)) {
            close_retry(f);
            return gfs_denied;
        }
        // Across processes only the whole file can be denied.
        int how = (lock & 3) == 3 ? LOCK_EX : LOCK_SH;
        if (::flock(f, how | LOCK_NB) != 0) {
            int err = errno;
            close_retry(f);
            return err == EWOULDBLOCK ? gfs_denied : gfs_os_io_error(err);
        }
    }
    *fd = f;
    return gfs_ok;
}

}  // namespace

int32_t gfs_os_open_error(int err, const std::string& os_path) {
    switch (err) {
        case ENOENT: return parent_exists(os_path) ? gfs_not_found : gfs_path_not_found;
        case ENOTDIR:
        case ELOOP: return gfs_path_not_found;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
        case EISDIR:
        case EBUSY: return gfs_denied;
        case ENXIO:
        case ENODEV:
        case ENOMEDIUM: return gfs_device_unavailable;
        case EMFILE:
        case ENFILE:
        case EIO:
        case ENOSPC:
        case EDQUOT: return gfs_io_error;
        default: return gfs_not_found;
    }
}

int32_t gfs_os_io_error(int err) {
    return err == EACCES || err == EPERM || err == EAGAIN ? gfs_denied : gfs_io_error;
}

int32_t gfs_os_open(std::string_view name, int32_t access, int32_t lock, int32_t creation, gfs_os_file* out) {
    if (libzv_path_has_drive(name)) return gfs_device_unavailable;
    std::string path;
    if (!libzv_os_path_device(name, &path)) return gfs_not_found;
    return gfs_os_open_path(path, access, lock, creation, out);
}

int32_t gfs_os_open_path(const std::string& path, int32_t access, int32_t lock, int32_t creation, gfs_os_file* out) {
    int fd = -1;
    struct stat st;
    bool refused = false;
    int32_t granted = access & 3;
    int32_t result = attempt(path, granted, lock, creation, &fd, &st, &refused);
    if (result != gfs_ok && refused && creation == 3 && granted == 3) {
        for (int32_t narrower : {1, 2}) {
            granted = narrower;
            result = attempt(path, granted, lock, creation, &fd, &st, &refused);
            if (result == gfs_ok || !refused) break;
        }
    }
    if (result != gfs_ok) return result;
    if (creation == 2 && S_ISREG(st.st_mode) && st.st_size > 0) {
        // Emptying needs write access, and no byte locked by another opener; otherwise
        // the file is left intact.
        if ((granted & 2) && gfs_os_lock_check(fd, 0, st.st_size) != gfs_ok) {
            close_retry(fd);
            return gfs_denied;
        }
        if (!(granted & 2) || ::ftruncate(fd, 0) != 0) {
            int err = errno;
            close_retry(fd);
            return (granted & 2) ? gfs_os_io_error(err) : gfs_not_found;
        }
    }
    out->fd = fd;
    out->can_read = granted & 1;
    out->can_write = (granted & 2) >> 1;
    out->share_token = 0;
    if (S_ISREG(st.st_mode)) {
        out->share_token = next_token++;
        shares[out->share_token] = share_entry{st.st_dev, st.st_ino, granted, lock & 3};
    }
    return gfs_ok;
}

int32_t gfs_os_close(gfs_os_file* file) {
    if (file->share_token) shares.erase(file->share_token);
    file->share_token = 0;
    int32_t result = gfs_ok;
    if (file->fd >= 0 && close_retry(file->fd) != 0) result = gfs_io_error;
    file->fd = -1;
    return result;
}

bool gfs_os_held(std::string_view name) {
    std::string path;
    return libzv_os_path(name, &path) && gfs_os_held_path(path);
}

bool gfs_os_held_path(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    for (const auto& [token, e] : shares)
        if (e.dev == st.st_dev && e.ino == st.st_ino) return true;
    return false;
}

int32_t gfs_os_lock_check(int fd, int64_t position, int64_t count) {
    if (count <= 0 || fd < 0) return gfs_ok;
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = position;
    fl.l_len = count;
    // Locks of this descriptor's own open file description never conflict.
    if (::fcntl(fd, F_OFD_GETLK, &fl) != 0) return gfs_ok;  // not a lockable file
    return fl.l_type == F_UNLCK ? gfs_ok : gfs_denied;
}

void gfs_os_reset_for_tests() {
    shares.clear();
    next_token = 1;
}
