// The SEEK statement: to a record of a RANDOM file or a byte of any other.
#include "error/error.h"
#include "file/file_queries.h"
#include "file/gfs.h"

void sub_seek(int32_t n, int64_t position) {
    if (new_error_is_set()) return;
    const gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    if (position < 1) {
        error(ERR_BAD_RECORD_NUMBER);
        return;
    }
    int64_t byte = position - 1;
    if (f->basic_mode == 1) {
        // A record number whose byte position does not fit is as bad as record 0.
        if (__builtin_mul_overflow(byte, f->record_length, &byte)) {
            error(ERR_BAD_RECORD_NUMBER);
            return;
        }
    }
    int32_t result = gfs_setpos(gfs_get_fileno(n), byte);
    if (result != gfs_ok) error(gfs_error_number(result, gfs_errors::transfer));
}
