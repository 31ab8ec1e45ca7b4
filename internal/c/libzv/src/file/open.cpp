// OPEN and the legacy OPEN mode$, #n, name$[, length].
#include <cstdlib>

#include "error/error.h"
#include "file/file_numbers.h"
#include "file/gfs.h"
#include "string/zvs.h"

namespace {

enum : int32_t { mode_random = 1, mode_binary = 2, mode_input = 3, mode_output = 4, mode_append = 5 };
constexpr int64_t default_record_length = 128;

// The first byte of a file opened FOR INPUT: an end-of-file character makes EOF
// true at once. Serial ports are not probed (a read would wait and take a byte).
void probe_input(int32_t index) {
    gfs_file_struct* f = gfs_get_file_struct(index);
    if (f->com_port) return;
    if (gfs_lof(index) == 0) return;
    uint8_t byte = 0;
    int32_t result = gfs_read(index, -1, &byte, 1);
    if (result != gfs_ok) {
        error(gfs_error_number(result, gfs_errors::open_probe));
        return;
    }
    gfs_setpos(index, 0);
    // Positioning clears the flag, so it is set afterwards.
    if (byte == 26) f->eof_passed = 1;
}

}  // namespace

gfs_open_arguments open_arguments(int32_t mode, int32_t access, int32_t lock) {
    gfs_open_arguments a{};
    switch (mode) {
        case mode_input: a = {1, 0, 0}; break;
        case mode_output: a = {2, 0, 2}; break;
        case mode_append: a = {2, 0, 1}; break;
        default: a = {3, 0, 3}; break;  // RANDOM and BINARY
    }
    if (access >= 1 && access <= 3) {
        static const int32_t accesses[] = {0, 3, 1, 2};
        a.access = accesses[access];
        if (a.creation == 3) a.creation = 1;  // no fall-back to one direction
    }
    static const int32_t locks[] = {0, 0, 3, 1, 2};
    if (lock >= 1 && lock <= 4) a.lock = locks[lock];
    return a;
}

void sub_open(zvs* name, int32_t mode, int32_t access, int32_t lock, int32_t n, int64_t length, int32_t passed) {
    if (new_error_is_set()) return;
    if (mode == 0) mode = mode_random;
    if (passed && (length == 0 || length < -1)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    int32_t valid = gfs_fileno_valid(n);
    if (valid == -2) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    if (valid == 1) {
        error(ERR_FILE_ALREADY_OPEN);
        return;
    }
    gfs_open_arguments a = open_arguments(mode, access, lock);
    int32_t index = gfs_open(name, a.access, a.lock, a.creation);
    if (index < 0) {
        error(gfs_error_number(index, gfs_errors::open));
        return;
    }
    gfs_file_struct* f = gfs_get_file_struct(index);
    if (mode == mode_random) {
        // The buffer before the number is bound: a length too large for memory
        // leaves the number free.
        int64_t record_length = passed && length != -1 ? length : default_record_length;
        uint8_t* buffer = static_cast<uint8_t*>(calloc(static_cast<size_t>(record_length), 1));
        if (!buffer) {
            gfs_close(index);
            error(ERR_OUT_OF_MEMORY);
            return;
        }
        f->record_length = record_length;
        f->record_buffer = buffer;
    }
    gfs_fileno_use(n, index);
    f->basic_mode = static_cast<uint8_t>(mode == mode_append ? mode_output : mode);
    f->print_column = 1;
    if (mode == mode_append) {
        int64_t size = gfs_lof(index);
        if (size >= 1) gfs_setpos(index, size);
    }
    if (mode == mode_input) probe_input(index);
}

void sub_open_gwbasic(zvs* mode, int32_t n, zvs* name, int64_t length, int32_t passed) {
    if (new_error_is_set()) return;
    if (mode->length == 0) {
        error(ERR_BAD_FILE_MODE);
        return;
    }
    int32_t m;
    switch (mode->text[0] & ~0x20) {
        case 'R': m = mode_random; break;
        case 'B': m = mode_binary; break;
        case 'I': m = mode_input; break;
        case 'O': m = mode_output; break;
        case 'A': m = mode_append; break;
        default: error(ERR_BAD_FILE_MODE); return;
    }
    sub_open(name, m, 0, 0, n, passed ? length : 0, passed);
}
