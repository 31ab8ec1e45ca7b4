// LOCK and UNLOCK.
#include "file/lock.h"

#include "error/error.h"
#include "file/gfs.h"

namespace {

bool bad_range() {
    error(ERR_ILLEGAL_FUNCTION_CALL);
    return false;
}

void lock_or_unlock(int32_t n, int64_t start, int64_t end, int32_t passed, bool lock) {
    if (new_error_is_set()) return;
    gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    lock_byte_range range;
    if (!lock_range(f->basic_mode, f->record_length, start, end, passed, &range)) return;
    int32_t index = gfs_get_fileno(n);
    int32_t r = lock ? gfs_lock(index, range.start, range.end) : gfs_unlock(index, range.start, range.end);
    if (r != 0) error(gfs_error_number(r, gfs_errors::lock));
}

}  // namespace

bool lock_range(uint8_t basic_mode, int64_t record_length, int64_t start, int64_t end, int32_t passed,
                lock_byte_range* out) {
    // The sequential modes lock the whole file whatever range was given.
    if (basic_mode > 2) passed = 0;
    bool random = basic_mode == 1;
    int64_t record = random ? record_length : 1;
    int64_t first = -1;
    if (passed & 1) {
        if (start < 1 || __builtin_mul_overflow(start - 1, record, &first)) return bad_range();
    }
    int64_t last = -1;
    if (passed & 2) {
        if (end < 1 || __builtin_mul_overflow(end, record, &last)) return bad_range();
        last -= 1;
    } else if (passed & 1) {
        if (__builtin_add_overflow(first, record - 1, &last)) return bad_range();
    }
    // An end before the start would otherwise read as a range up to the end of the file.
    if (last != -1 && last < (first == -1 ? 0 : first)) return bad_range();
    *out = {first, last};
    return true;
}

void sub_lock(int32_t n, int64_t start, int64_t end, int32_t passed) { lock_or_unlock(n, start, end, passed, true); }

void sub_unlock(int32_t n, int64_t start, int64_t end, int32_t passed) {
    lock_or_unlock(n, start, end, passed, false);
}
