// LINE INPUT #: the character reader of INPUT files and the chunked reader of BINARY
// files.
#include "file/line_input_file.h"

#include <cstring>
#include <string>
#include <vector>

#include "error/error.h"
#include "file/gfs.h"
#include "file/input_file.h"
#include "string/zvs.h"

namespace {

constexpr int64_t chunk_size = 512;

void assign(zvs* variable, const uint8_t* bytes, int64_t length) {
    zvs* s = zvs_new(static_cast<int32_t>(length), 1);
    if (length) memcpy(s->text, bytes, static_cast<size_t>(length));
    zvs_set(variable, s);
}

void character_reader(int32_t index, zvs* variable) {
    int32_t c = file_input_chr(index);
    if (c == -2) return;
    if (c == -1) {
        assign(variable, nullptr, 0);
        error(ERR_INPUT_PAST_END);
        return;
    }
    std::string line;
    while (c >= 0 && c != 13 && c != 10) {
        line += static_cast<char>(c);
        c = file_input_chr(index);
    }
    if (c == -2) return;
    if (c >= 0) {
        file_input_skip1310(index, c);
        if (new_error_is_set()) return;
    }
    assign(variable, reinterpret_cast<const uint8_t*>(line.data()), static_cast<int64_t>(line.size()));
}

// Reads on in 512-byte chunks, searching only the bytes not yet searched, so a long
// line costs one pass over its bytes.
void binary_reader(int32_t index, zvs* variable) {
    gfs_file_struct* f = gfs_get_file_struct(index);
    int64_t start = f->position;
    int64_t size = gfs_lof(index);
    if (size < 0) {
        error(gfs_error_number(static_cast<int32_t>(size), gfs_errors::transfer));
        return;
    }
    if (size <= start) {
        error(ERR_INPUT_PAST_END);
        return;
    }
    std::vector<uint8_t> line;
    for (int64_t at = start;;) {
        int64_t length = size - at < chunk_size ? size - at : chunk_size;
        size_t old = line.size();
        line.resize(old + static_cast<size_t>(length));
        int32_t result = gfs_read(index, at, line.data() + old, length);
        if (result != gfs_ok && result != gfs_read_past_end) {
            error(gfs_error_number(result, gfs_errors::transfer));
            return;
        }
        line.resize(old + static_cast<size_t>(gfs_read_bytes()));
        void* lf = memchr(line.data() + old, 10, line.size() - old);
        if (lf) {
            size_t k = static_cast<size_t>(static_cast<uint8_t*>(lf) - line.data());
            int64_t after = start + static_cast<int64_t>(k) + 1;
            line.resize(k);
            gfs_setpos(index, after);
            if (after >= size) f->eof_passed = 1;
            if (!line.empty() && line.back() == 13) line.pop_back();
            break;
        }
        at += gfs_read_bytes();
        if (at >= size || gfs_read_bytes() < length) {
            // The last byte without a line end: the whole rest, a trailing CR kept.
            gfs_setpos(index, size);
            f->eof_passed = 1;
            break;
        }
    }
    assign(variable, line.data(), static_cast<int64_t>(line.size()));
}

}  // namespace

void sub_file_line_input_string(int32_t n, zvs* variable) {
    if (new_error_is_set()) return;
    const gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    if (!f->can_read) {
        error(ERR_PATH_FILE_ACCESS);
        return;
    }
    int32_t index = gfs_get_fileno(n);
    if (f->basic_mode == 2)
        binary_reader(index, variable);
    else if (f->basic_mode == 3)
        character_reader(index, variable);
    else
        error(ERR_BAD_FILE_MODE);
}
