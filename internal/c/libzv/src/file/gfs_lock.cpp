// gfs_lock and gfs_unlock: byte ranges locked with open-file-description locks, and
// the record's own list of them (an unlock must name a range exactly as locked).
#include <fcntl.h>

#include <cerrno>

#include "file/gfs.h"
#include "file/gfs_internal.h"
#include "file/gfs_os.h"

namespace {

// Start and end checked and normalised: start -1 is 0; -4 for a malformed range.
int32_t normalise(int64_t* start, int64_t end) {
    if (*start == -1) *start = 0;
    if (*start < 0 || end < -1) return gfs_bad_argument;
    // An end before its start would make a negative length.
    if (end != -1 && end < *start) return gfs_bad_argument;
    return gfs_ok;
}

bool overlaps(const gfs_lock_range& a, int64_t start, int64_t end) {
    bool a_before = a.end != -1 && a.end < start;
    bool b_before = end != -1 && end < a.start;
    return !a_before && !b_before;
}

int32_t set_lock(int fd, short type, int64_t start, int64_t end, int command) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = end == -1 ? 0 : end - start + 1;  // 0: to the end of the addressable range
    if (::fcntl(fd, command, &fl) != 0) return errno == EAGAIN || errno == EACCES ? gfs_denied : gfs_io_error;
    if (command == F_OFD_GETLK) return fl.l_type == F_UNLCK ? gfs_ok : gfs_denied;
    return gfs_ok;
}

// Serial ports and the screen lock nothing.
gfs_file_struct* lockable(int32_t index, int32_t* result) {
    gfs_file_struct* f = gfs_record(index);
    *result = !f ? gfs_bad_index : (f->is_screen || f->com_port) ? gfs_io_error : gfs_ok;
    return *result == gfs_ok ? f : nullptr;
}

}  // namespace

int32_t gfs_lock(int32_t index, int64_t start, int64_t end) {
    int32_t result;
    gfs_file_struct* f = lockable(index, &result);
    if (!f) return result;
    if (int32_t bad = normalise(&start, end)) return bad;
    for (const gfs_lock_range& r : f->locks)
        if (overlaps(r, start, end)) return gfs_denied;
    if (f->can_write) {
        result = set_lock(f->os_handle, F_WRLCK, start, end, F_OFD_SETLK);
    } else {
        // The kernel refuses a write lock on a read-only descriptor: a read lock,
        // taken only where nobody else holds any, is just as exclusive here.
        result = set_lock(f->os_handle, F_WRLCK, start, end, F_OFD_GETLK);
        if (result == gfs_ok) result = set_lock(f->os_handle, F_RDLCK, start, end, F_OFD_SETLK);
    }
    if (result != gfs_ok) return result;
    f->locks.push_back({start, end});
    return gfs_ok;
}

int32_t gfs_unlock(int32_t index, int64_t start, int64_t end) {
    int32_t result;
    gfs_file_struct* f = lockable(index, &result);
    if (!f) return result;
    if (int32_t bad = normalise(&start, end)) return bad;
    for (auto it = f->locks.begin(); it != f->locks.end(); ++it) {
        if (it->start != start || it->end != end) continue;
        result = set_lock(f->os_handle, F_UNLCK, start, end, F_OFD_SETLK);
        if (result != gfs_ok) return result;
        f->locks.erase(it);
        return gfs_ok;
    }
    return gfs_denied;  // not locked
}
