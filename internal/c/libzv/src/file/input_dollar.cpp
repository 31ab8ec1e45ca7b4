// INPUT$ from a file (INPUT: byte by byte with the end-of-file look-ahead; BINARY: one
// read) or from the keyboard (INKEY$ polled every 10 ms).
#include "file/input_dollar.h"

#include <cstring>
#include <string>

#include "clock/clock.h"
#include "core/boundary.h"
#include "core/runtime_flags.h"
#include "error/error.h"
#include "file/gfs.h"
#include "file/input_file.h"
#include "input/key_functions.h"
#include "string/zvs.h"

namespace {

zvs* (*key_source)() = nullptr;

zvs* result(const std::string& bytes) {
    zvs* s = zvs_new(static_cast<int32_t>(bytes.size()), 1);
    if (!bytes.empty()) memcpy(s->text, bytes.data(), bytes.size());
    return s;
}

// Only the bytes collected are returned, also when an error stops the loop.
std::string from_input_file(int32_t index, int32_t count) {
    gfs_file_struct* f = gfs_get_file_struct(index);
    std::string bytes;
    while (static_cast<int32_t>(bytes.size()) < count) {
        int32_t c = file_input_chr(index);
        if (c < 0) {
            error(c == -1 ? 62 : 75);
            break;
        }
        bytes += static_cast<char>(c);
        // A look-ahead, so that EOF is true as soon as the last byte has been read.
        if (!f->eof_passed) {
            int32_t next = file_input_chr(index);
            if (next >= 0 && !f->eof_passed) file_input_step_back(index);
        }
    }
    return bytes;
}

std::string from_binary_file(int32_t index, int32_t count) {
    std::string bytes(static_cast<size_t>(count), '\0');
    int32_t r = gfs_read(index, -1, reinterpret_cast<uint8_t*>(bytes.data()), count);
    if (r != gfs_ok && r != gfs_read_past_end) {
        error(gfs_error_number(r, gfs_errors::transfer));
        return {};
    }
    bytes.resize(static_cast<size_t>(gfs_read_bytes()));
    return bytes;
}

std::string from_keyboard(int32_t count) {
    std::string bytes;
    while (static_cast<int32_t>(bytes.size()) < count && !stop_program.load()) {
        zvs* key = key_source ? key_source() : zvs_inkey();
        if (key->length > 0) bytes += static_cast<char>(key->text[0]);
        zvs_free(key);
        if (static_cast<int32_t>(bytes.size()) == count) break;
        libzv_boundary_check();
        libzv_sleep_ms(10);
    }
    return bytes;
}

}  // namespace

void input_dollar_set_key_source(zvs* (*source)()) { key_source = source; }

zvs* func_input(int32_t count, int32_t n, int32_t passed) {
    if (new_error_is_set()) return result({});
    if (!passed) {
        if (count < 0) {
            error(ERR_BAD_FILE_NAME_OR_NUMBER);
            return result({});
        }
        return result(from_keyboard(count));
    }
    const gfs_file_struct* f = gfs_file_of_number(n);
    int32_t refused = !f                                          ? 52
                      : f->basic_mode != 2 && f->basic_mode != 3 ? 62
                      : !f->can_read                             ? 75
                      : count < 0                                ? 52
                                                                 : 0;
    if (refused) {
        error(refused);
        return result({});
    }
    if (count == 0) return result({});
    int32_t index = gfs_get_fileno(n);
    return result(f->basic_mode == 3 ? from_input_file(index, count) : from_binary_file(index, count));
}
