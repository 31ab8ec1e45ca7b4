// EOF, LOF, LOC and SEEK(): what an open file's position and size say, in the units
// of its mode.
#include "file/file_queries.h"

#include "error/error.h"
#include "file/gfs.h"
#include "file/serial.h"
#include "net/net_file.h"

namespace {

enum : uint8_t { random_mode = 1, binary_mode = 2, input_mode = 3 };

// The record of n, or null after raising error 52.
gfs_file_struct* bound(int32_t n) {
    gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) error(ERR_BAD_FILE_NAME_OR_NUMBER);
    return f;
}

}  // namespace

int32_t func_eof(int32_t n) {
    if (n < 0) return net_file_eof(n);
    gfs_file_struct* f = bound(n);
    if (!f) return 0;
    if (f->is_screen) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    if (f->eof_passed) return -1;
    if (f->basic_mode == input_mode && gfs_eof_reached(gfs_get_fileno(n)) == 1) return -1;
    return 0;
}

int64_t func_lof(int32_t n) {
    if (n < 0) return net_file_lof(n);
    if (!bound(n)) return 0;
    int64_t size = gfs_lof(gfs_get_fileno(n));
    if (size < 0) {
        error(gfs_error_number(static_cast<int32_t>(size), gfs_errors::transfer));
        return 0;
    }
    return size;
}

int64_t func_loc(int32_t n) {
    gfs_file_struct* f = bound(n);
    if (!f) return 0;
    if (f->is_screen) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    if (f->com_port) return gfs_com_waiting(f);
    switch (f->basic_mode) {
        case random_mode: return f->position / f->record_length;
        case binary_mode: return f->position;
        default: return f->position / 128;
    }
}

int64_t func_seek(int32_t n) {
    gfs_file_struct* f = bound(n);
    if (!f || f->is_screen) return 0;
    if (f->basic_mode == random_mode) return f->position / f->record_length + 1;
    return f->position + 1;
}
