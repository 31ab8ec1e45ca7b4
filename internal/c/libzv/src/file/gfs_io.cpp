// The file layer's positions, sizes, reads and writes, straight to the system.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "file/gfs.h"
#include "file/gfs_internal.h"
#include "file/gfs_os.h"
#include "file/serial.h"

namespace {

int64_t last_read_bytes = 0;
constexpr int64_t max_piece = 0x7FFFF000;  // the most one read or write call moves

bool disk_size(const gfs_file_struct* f, int64_t* size) {
    struct stat st;
    if (f->os_handle < 0 || ::fstat(f->os_handle, &st) != 0) return false;
    *size = st.st_size;
    return true;
}

// Reads count bytes into buffer: 0, a code, and *got the bytes delivered.
int32_t disk_read(gfs_file_struct* f, uint8_t* buffer, int64_t count, int64_t* got) {
    if (int32_t locked = gfs_os_lock_check(f->os_handle, f->position, count)) return locked;
    while (*got < count) {
        int64_t piece = count - *got < max_piece ? count - *got : max_piece;
        ssize_t n = ::read(f->os_handle, buffer + *got, static_cast<size_t>(piece));
        if (n < 0) {
            if (errno == EINTR) continue;
            return gfs_os_io_error(errno);
        }
        if (n == 0) break;
        *got += n;
        f->position += n;
    }
    return gfs_ok;
}

int32_t disk_write(gfs_file_struct* f, const uint8_t* buffer, int64_t count) {
    if (int32_t locked = gfs_os_lock_check(f->os_handle, f->position, count)) return locked;
    int64_t done = 0;
    while (done < count) {
        int64_t piece = count - done < max_piece ? count - done : max_piece;
        ssize_t n = ::write(f->os_handle, buffer + done, static_cast<size_t>(piece));
        if (n < 0) {
            if (errno == EINTR) continue;
            return gfs_os_io_error(errno);
        }
        if (n == 0) return gfs_short_write;
        done += n;
        f->position += n;
    }
    return gfs_ok;
}

}  // namespace

int32_t gfs_setpos(int32_t index, int64_t position) {
    gfs_file_struct* f = gfs_record(index);
    if (!f) return gfs_bad_index;
    if (position < 0) return gfs_bad_argument;
    if (f->is_screen) return gfs_no_access;
    if (f->com_port) {
        // Only the step back over the byte just read, which the port keeps.
        if (!gfs_com_step_back(f, position)) return gfs_no_access;
        f->eof_reached = 0;
        f->eof_passed = 0;
        return gfs_ok;
    }
    if (::lseek(f->os_handle, position, SEEK_SET) < 0) return gfs_no_access;
    f->position = position;
    int64_t size;
    if (disk_size(f, &size) && position <= size) {
        f->eof_reached = 0;
        f->eof_passed = 0;
    }
    return gfs_ok;
}

int64_t gfs_getpos(int32_t index) {
    gfs_file_struct* f = gfs_record(index);
    return f ? f->position : gfs_bad_index;
}

int64_t gfs_lof(int32_t index) {
    gfs_file_struct* f = gfs_record(index);
    if (!f) return gfs_bad_index;
    if (f->is_screen) return gfs_bad_argument;
    int64_t size;
    if (f->com_port || !disk_size(f, &size)) return gfs_no_access;
    return size;
}

int32_t gfs_read(int32_t index, int64_t position, uint8_t* buffer, int64_t count) {
    last_read_bytes = 0;
    gfs_file_struct* f = gfs_record(index);
    if (!f) return gfs_bad_index;
    if (!f->can_read) return gfs_no_access;
    if (count < 0) return gfs_bad_argument;
    if (position != -1)
        if (int32_t moved = gfs_setpos(index, position)) return moved;
    int64_t got = 0;
    int32_t result = f->com_port ? gfs_com_read(f, buffer, count, &got) : disk_read(f, buffer, count, &got);
    last_read_bytes = got;
    if (result != gfs_ok) return result;
    if (got < count) {
        memset(buffer + got, 0, static_cast<size_t>(count - got));
        f->eof_passed = 1;
        return gfs_read_past_end;
    }
    f->eof_passed = 0;
    return gfs_ok;
}

int64_t gfs_read_bytes() { return last_read_bytes; }

int32_t gfs_write(int32_t index, int64_t position, const uint8_t* buffer, int64_t count) {
    gfs_file_struct* f = gfs_record(index);
    if (!f) return gfs_bad_index;
    if (!f->can_write) return gfs_no_access;
    if (count < 0) return gfs_bad_argument;
    if (position != -1)
        if (int32_t moved = gfs_setpos(index, position)) return moved;
    return f->com_port ? gfs_com_write(f, buffer, count) : disk_write(f, buffer, count);
}

int32_t gfs_eof_reached(int32_t index) {
    gfs_file_struct* f = gfs_record(index);
    if (!f) return gfs_bad_index;
    if (f->is_screen) return 0;
    if (f->com_port) return gfs_com_waiting(f) == 0 ? 1 : 0;
    int64_t size;
    if (!disk_size(f, &size)) return 0;
    return f->position >= size ? 1 : 0;
}

int32_t gfs_eof_passed(int32_t index) {
    gfs_file_struct* f = gfs_record(index);
    return f ? f->eof_passed : gfs_bad_index;
}
