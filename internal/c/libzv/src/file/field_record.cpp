// GET and PUT without a variable: the record buffer of a RANDOM file moved whole.
#include "error/error.h"
#include "file/field.h"
#include "file/get_put_internal.h"
#include "file/gfs.h"

void field_get(int32_t n, int64_t record, int32_t passed) {
    if (new_error_is_set()) return;
    if (n < 0) {
        error(ERR_BAD_FILE_MODE);
        return;
    }
    int32_t index;
    gfs_file_struct* f = transfer_file(n, false, true, &index);
    if (!f) return;
    int64_t offset;
    if (!transfer_offset(f, record, passed != 0, &offset)) return;
    int32_t r = gfs_read(index, offset, f->record_buffer, f->record_length);
    if (r != 0 && r != gfs_read_past_end) {
        error(gfs_error_number(r, gfs_errors::transfer));
        return;
    }
    field_update(n);
}

void field_put(int32_t n, int64_t record, int32_t passed) {
    if (new_error_is_set()) return;
    if (n < 0) {
        error(ERR_BAD_FILE_MODE);
        return;
    }
    int32_t index;
    gfs_file_struct* f = transfer_file(n, true, true, &index);
    if (!f) return;
    int64_t offset;
    if (!transfer_offset(f, record, passed != 0, &offset)) return;
    int32_t r = gfs_write(index, offset, f->record_buffer, f->record_length);
    if (r != 0) error(gfs_error_number(r, gfs_errors::transfer));
}
