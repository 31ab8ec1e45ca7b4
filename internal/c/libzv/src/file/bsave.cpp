// BSAVE: conventional memory to a memory-image file.
#include "file/bsave.h"

#include <unistd.h>

#include <cerrno>

#include "error/error.h"
#include "file/gfs.h"
#include "file/gfs_os.h"
#include "memory/cmem.h"
#include "string/zvs.h"

namespace {

// Writes every byte; 0 or the file layer's code.
int32_t write_all(int fd, int64_t position, const uint8_t* bytes, int64_t count) {
    if (int32_t locked = gfs_os_lock_check(fd, position, count)) return locked;
    while (count > 0) {
        ssize_t n = write(fd, bytes, size_t(count));
        if (n < 0) {
            if (errno == EINTR) continue;
            return gfs_os_io_error(errno);
        }
        bytes += n;
        count -= n;
    }
    return gfs_ok;
}

}  // namespace

void sub_bsave(zvs* name, int32_t offset, int32_t length) {
    if (new_error_is_set()) return;
    if (offset < -65536 || offset > 65535 || length < -65536 || length > 65536) return error(6);
    int64_t start = (defseg - cmem) + int64_t(uint16_t(offset));
    int64_t count = length == 65536 ? 65536 : int64_t(uint16_t(length));
    if (start + count > cmem_size) return error(5);

    gfs_os_file file;
    std::string_view path(reinterpret_cast<const char*>(name->text), size_t(name->length));
    if (gfs_os_open(path, 2, 0, 2, &file) != gfs_ok) return error(64);
    int64_t segment = (defseg - cmem) / 16;
    const uint8_t header[bsave_header_size] = {
        bsave_mark,
        uint8_t(segment), uint8_t(segment >> 8),
        uint8_t(offset), uint8_t(offset >> 8),
        uint8_t(count), uint8_t(count >> 8),  // 65536 is written as 0
    };
    int32_t result = write_all(file.fd, 0, header, bsave_header_size);
    if (result == gfs_ok) result = write_all(file.fd, bsave_header_size, cmem + start, count);
    // A late failure shows only at the close: the file is not what was asked for.
    int32_t closed = gfs_os_close(&file);
    if (result == gfs_ok) result = closed;
    if (result != gfs_ok) error(gfs_error_number(result, gfs_errors::transfer));
}
