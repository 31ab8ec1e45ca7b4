// BLOAD: a memory-image file into conventional memory.
#include "file/bload.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "error/error.h"
#include "file/bsave.h"
#include "file/gfs.h"
#include "file/gfs_os.h"
#include "memory/cmem.h"
#include "string/zvs.h"

namespace {

// Reads up to count bytes; the number read, or -1 (errno set) on a failed read.
int64_t read_some(int fd, uint8_t* bytes, int64_t count) {
    int64_t total = 0;
    while (total < count) {
        ssize_t n = read(fd, bytes + total, size_t(count - total));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        total += n;
    }
    return total;
}

// The error of a BLOAD that found its file; 0 when the bytes are in memory.
int32_t load(int fd, int32_t offset, int32_t passed) {
    uint8_t header[bsave_header_size];
    if (read_some(fd, header, bsave_header_size) != bsave_header_size || header[0] != bsave_mark) return 54;
    int64_t segment = header[1] | header[2] << 8;
    int64_t own_offset = header[3] | header[4] << 8;
    int64_t count = header[5] | header[6] << 8;
    if (count == 0) {
        struct stat st;
        int64_t rest = fstat(fd, &st) == 0 ? int64_t(st.st_size) - bsave_header_size : 0;
        count = rest < 65536 ? 0 : rest;
    }
    int64_t start = passed ? (defseg - cmem) + int64_t(uint16_t(offset)) : segment * 16 + own_offset;
    if (start + count > cmem_size) return 5;
    if (int32_t locked = gfs_os_lock_check(fd, bsave_header_size, count)) return gfs_error_number(locked, gfs_errors::transfer);
    int64_t got = read_some(fd, cmem + start, count);
    if (got < 0) return gfs_error_number(gfs_os_io_error(errno), gfs_errors::transfer);
    return got < count ? 54 : 0;
}

}  // namespace

void sub_bload(zvs* name, int32_t offset, int32_t passed) {
    if (new_error_is_set()) return;
    if (passed && (offset < -65536 || offset > 65535)) return error(ERR_OVERFLOW);
    gfs_os_file file;
    std::string_view path(reinterpret_cast<const char*>(name->text), size_t(name->length));
    if (gfs_os_open(path, 1, 0, 0, &file) != gfs_ok) return error(ERR_FILE_NOT_FOUND);
    int32_t result = load(file.fd, offset, passed);
    gfs_os_close(&file);
    if (result) error(result);
}
