// GET and PUT of variable-length strings (sub_get2, sub_put2): the string's own bytes in
// a BINARY file, a length-prefixed record in a RANDOM file.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "error/error.h"
#include "file/byte_element.h"
#include "file/get_put.h"
#include "file/get_put_internal.h"
#include "file/gfs.h"
#include "net/net_file.h"
#include "string/zvs.h"

namespace {

// Strings shorter than this carry a 2-byte length, longer ones an 8-byte one.
constexpr int64_t short_prefix_limit = 32768;

uint64_t read_le(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; i--) v = (v << 8) | p[i];
    return v;
}

// The string's own bytes as a block (GET fills them in place).
byte_element_struct* own_bytes(zvs* s, byte_element_struct* e) {
    return byte_element(reinterpret_cast<uint64_t>(s->text), s->length, e);
}

// Back to the start of the record just read, then error 59.
void bad_record(int32_t index, const gfs_file_struct* f, int64_t start) {
    gfs_setpos(index, start == -1 ? gfs_getpos(index) - f->record_length : start);
    error(ERR_BAD_RECORD_LENGTH);
}

void get_random_string(int32_t index, gfs_file_struct* f, int64_t position, int32_t passed, zvs* variable) {
    if (f->record_length < 2) {
        error(ERR_BAD_RECORD_LENGTH);
        return;
    }
    int64_t start;
    if (!transfer_offset(f, position, passed != 0, &start)) return;
    std::unique_ptr<uint8_t[]> record(new (std::nothrow) uint8_t[size_t(f->record_length)]);
    if (!record) {
        error(ERR_OUT_OF_MEMORY);
        return;
    }
    int32_t r = gfs_read(index, start, record.get(), f->record_length);
    if (r != 0 && r != gfs_read_past_end) {
        error(gfs_error_number(r, gfs_errors::transfer));
        return;
    }
    int64_t got = gfs_read_bytes();
    if (got < f->record_length) {
        // The missing bytes are zero; the next GET starts at the next record.
        move_to_record_end(index, f, start, got);
        if (new_error_is_set()) return;
    }
    if (got == 0) {
        zvs_set(variable, zvs_new(0, 1));
        return;
    }
    int64_t prefix = 2;
    int64_t length = int64_t(read_le(record.get(), 2));
    if (length & 0x8000) {
        if (f->record_length <= 7) {
            bad_record(index, f, start);
            return;
        }
        uint64_t v = read_le(record.get(), 8);
        prefix = 8;
        length = int64_t((v & 0x7FFF) | ((v >> 1) & ~uint64_t(0x7FFF)));
    }
    if (length < 0 || length > f->record_length - prefix) {
        bad_record(index, f, start);
        return;
    }
    zvs* text = zvs_new(int32_t(length), 1);
    if (length) memcpy(text->text, record.get() + prefix, size_t(length));
    zvs_set(variable, text);
}

}  // namespace

void sub_get2(int32_t n, int64_t position, zvs* variable, int32_t passed) {
    if (new_error_is_set()) return;
    if (n < 0) {
        if (variable->fixed_length) {
            byte_element_struct e;
            sub_get(n, position, own_bytes(variable, &e), passed);
        } else {
            net_file_get_string(n, variable);
        }
        return;
    }
    int32_t index;
    gfs_file_struct* f = transfer_file(n, false, false, &index);
    if (!f) return;
    if (f->basic_mode == 2) {
        byte_element_struct e;
        sub_get(n, position, own_bytes(variable, &e), passed);
        return;
    }
    get_random_string(index, f, position, passed, variable);
}

void sub_put2(int32_t n, int64_t position, byte_element_struct* element, int32_t passed) {
    if (new_error_is_set()) return;
    if (n < 0) {
        sub_put(n, position, element, passed);
        return;
    }
    int32_t index;
    gfs_file_struct* f = transfer_file(n, true, false, &index);
    if (!f) return;
    if (f->basic_mode == 2) {
        sub_put(n, position, element, passed);
        return;
    }
    int64_t length = element->length;
    int64_t prefix = length < short_prefix_limit ? 2 : 8;
    // Compared in 64 bits: the record image may not fit the element's 32-bit length.
    if (prefix + length > f->record_length) {
        error(ERR_BAD_RECORD_LENGTH);
        return;
    }
    uint8_t* image = static_cast<uint8_t*>(malloc(size_t(prefix + length)));
    if (!image) {
        error(ERR_OUT_OF_MEMORY);
        return;
    }
    // The 8-byte form: bits 0-14 of the length, bit 15 set, then the length shifted by 15.
    uint64_t u = uint64_t(length);
    uint64_t v = prefix == 2 ? u : (u & 0x7FFF) | 0x8000 | ((u >> 15) << 16);
    for (int i = 0; i < prefix; i++) image[i] = uint8_t(v >> (8 * i));
    if (length) memcpy(image + prefix, reinterpret_cast<const uint8_t*>(element->offset), size_t(length));
    put_block(n, position, image, prefix + length, passed);
    free(image);
}
