// GET and PUT of a block of bytes (sub_get, sub_put), the byte transfers generic_get and
// generic_put, and the checks the other record transfers share.
#include "file/get_put.h"

#include "error/error.h"
#include "file/byte_element.h"
#include "file/get_put_internal.h"
#include "file/gfs.h"
#include "net/net_file.h"

namespace {

int32_t bytes_read_by_generic_get = 0;

// The variable's first byte.
uint8_t* element_bytes(const byte_element_struct* e) { return reinterpret_cast<uint8_t*>(e->offset); }

// A failed gfs_read or gfs_write as GET and PUT report it.
void transfer_error(int32_t code) { error(gfs_error_number(code, gfs_errors::transfer)); }

}  // namespace

gfs_file_struct* transfer_file(int32_t n, bool write, bool random_only, int32_t* index) {
    gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return nullptr;
    }
    if (f->basic_mode > 2 || (random_only && f->basic_mode != 1)) {
        error(ERR_BAD_FILE_MODE);
        return nullptr;
    }
    if (!(write ? f->can_write : f->can_read)) {
        error(ERR_PATH_FILE_ACCESS);
        return nullptr;
    }
    *index = gfs_get_fileno(n);
    return f;
}

bool transfer_offset(const gfs_file_struct* f, int64_t position, bool passed, int64_t* offset) {
    bool random = f->basic_mode == 1;
    int64_t record = random ? f->record_length : 1;
    int64_t start = -1;
    if (passed) {
        int64_t end;
        if (position < 1 || __builtin_mul_overflow(position - 1, record, &start) ||
            __builtin_add_overflow(start, record, &end)) {
            error(ERR_BAD_RECORD_NUMBER);
            return false;
        }
    } else if (random) {
        int64_t end;
        if (__builtin_add_overflow(f->position, record, &end)) {
            error(ERR_BAD_RECORD_NUMBER);
            return false;
        }
    }
    *offset = start;
    return true;
}

void move_to_record_end(int32_t index, const gfs_file_struct* f, int64_t start, int64_t length) {
    int64_t end = start == -1 ? gfs_getpos(index) - length + f->record_length : start + f->record_length;
    if (gfs_setpos(index, end) != 0) error(ERR_BAD_FILE_MODE);
}

void sub_get(int32_t n, int64_t position, byte_element_struct* element, int32_t passed) {
    if (new_error_is_set()) return;
    if (n < 0) {
        net_file_get(n, element_bytes(element), element->length);
        return;
    }
    int32_t index;
    gfs_file_struct* f = transfer_file(n, false, false, &index);
    if (!f) return;
    if (f->basic_mode == 1 && element->length > f->record_length) {
        error(ERR_BAD_RECORD_LENGTH);
        return;
    }
    int64_t offset;
    if (!transfer_offset(f, position, passed != 0, &offset)) return;
    int32_t r = gfs_read(index, offset, element_bytes(element), element->length);
    if (r == gfs_read_past_end) return;  // the missing bytes are zero; the position stays
    if (r != 0) {
        transfer_error(r);
        return;
    }
    if (f->basic_mode == 1 && element->length < f->record_length) move_to_record_end(index, f, offset, element->length);
}

void put_block(int32_t n, int64_t position, const uint8_t* data, int64_t length, int32_t passed) {
    int32_t index;
    gfs_file_struct* f = transfer_file(n, true, false, &index);
    if (!f) return;
    if (f->basic_mode == 1 && length > f->record_length) {
        error(ERR_BAD_RECORD_LENGTH);
        return;
    }
    int64_t offset;
    if (!transfer_offset(f, position, passed != 0, &offset)) return;
    int32_t r = gfs_write(index, offset, data, length);
    if (r != 0) {
        transfer_error(r);
        return;
    }
    if (f->basic_mode == 1 && length < f->record_length) move_to_record_end(index, f, offset, length);
}

void sub_put(int32_t n, int64_t position, byte_element_struct* element, int32_t passed) {
    if (new_error_is_set()) return;
    if (n < 0) {
        net_file_put(n, element_bytes(element), element->length);
        return;
    }
    put_block(n, position, element_bytes(element), element->length, passed);
}

void generic_get(int32_t n, int32_t offset, uint8_t* buffer, int32_t length) {
    if (new_error_is_set()) return;
    bytes_read_by_generic_get = 0;
    gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    if (!f->can_read) {
        error(ERR_PATH_FILE_ACCESS);
        return;
    }
    int32_t r = gfs_read(gfs_get_fileno(n), offset, buffer, length);
    bytes_read_by_generic_get = int32_t(gfs_read_bytes());
    if (r != 0 && r != gfs_read_past_end) transfer_error(r);
}

void generic_put(int32_t n, int32_t offset, const uint8_t* buffer, int32_t length) {
    if (new_error_is_set()) return;
    gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    if (!f->can_write) {
        error(ERR_PATH_FILE_ACCESS);
        return;
    }
    int32_t r = gfs_write(gfs_get_fileno(n), offset, buffer, length);
    if (r != 0) transfer_error(r);
}

int32_t generic_get_bytes_read() { return bytes_read_by_generic_get; }
