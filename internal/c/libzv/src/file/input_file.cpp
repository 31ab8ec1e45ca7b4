// INPUT # of strings and the byte readers of INPUT #: one byte per read, byte 26 as the
// end of the file, and the CR / LF pairs of text files.
#include "file/input_file.h"

#include <cstring>
#include <string>

#include "error/error.h"
#include "file/gfs.h"
#include "number/file_input.h"
#include "string/zvs.h"

namespace {

constexpr int32_t end_of_file = -1;
constexpr int32_t read_failed = -2;
constexpr int32_t input_mode = 3;

bool is_line_end(int32_t c) { return c == 13 || c == 10; }

// The number reader's view: file numbers, checked there before any byte is read.
int32_t number_check(int32_t n) {
    const gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) return 52;
    if (f->basic_mode != input_mode) return 54;
    if (!f->can_read) return 75;
    return 0;
}
// A negative number goes on as a bad index: the layer's -2 becomes error 258.
int32_t index_of(int32_t n) { return n >= 0 ? gfs_get_fileno(n) : n; }
int32_t number_chr(int32_t n) { return file_input_chr(index_of(n)); }
int32_t number_nextitem(int32_t n, int32_t c) { return file_input_nextitem(index_of(n), c); }
constexpr number_file_source source{number_check, number_chr, number_nextitem};

void assign(zvs* variable, const std::string& bytes) {
    zvs* s = zvs_new(static_cast<int32_t>(bytes.size()), 1);
    if (!bytes.empty()) memcpy(s->text, bytes.data(), bytes.size());
    zvs_set(variable, s);
}

}  // namespace

void file_input_step_back(int32_t index) { gfs_setpos(index, gfs_getpos(index) - 1); }

int32_t file_input_chr(int32_t index) {
    uint8_t byte = 0;
    int32_t result = gfs_read(index, -1, &byte, 1);
    if (result == gfs_read_past_end) return end_of_file;
    if (result != gfs_ok) {
        error(gfs_error_number(result, gfs_errors::transfer));
        return read_failed;
    }
    if (byte != 26) return byte;
    file_input_step_back(index);
    gfs_get_file_struct(index)->eof_passed = 1;  // after the move, which clears it
    return end_of_file;
}

void file_input_skip1310(int32_t index, int32_t line_end) {
    int32_t next = file_input_chr(index);
    if (next < 0) return;
    if ((line_end == 13 && next == 10) || (line_end == 10 && next == 13)) {
        next = file_input_chr(index);
        if (next < 0) return;
    }
    file_input_step_back(index);
}

int32_t file_input_nextitem(int32_t index, int32_t c) {
    if (index < 0) return c;
    for (;;) {
        if (is_line_end(c)) {
            file_input_skip1310(index, c);
            return c;
        }
        if (c == ',' || c < 0) return c;
        if (c == ' ') {
            c = file_input_chr(index);
            if (is_line_end(c) || c == ' ' || c == ',') continue;
            if (c < 0) return c;
            file_input_step_back(index);  // the next item starts here
            return c;
        }
        c = file_input_chr(index);  // the rest of a malformed item
        if (c == read_failed) return c;
    }
}

void sub_file_input_string(int32_t n, zvs* variable) {
    if (new_error_is_set() || n < 0) return;
    const gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    if (f->basic_mode != input_mode) {
        error(ERR_BAD_FILE_MODE);
        return;
    }
    if (!f->can_read) {
        error(ERR_PATH_FILE_ACCESS);
        return;
    }
    int32_t index = gfs_get_fileno(n);
    int32_t c = file_input_chr(index);
    while (c == ' ' || c == '\t') c = file_input_chr(index);
    if (c == read_failed) return;
    if (c == end_of_file) {
        assign(variable, "");
        error(ERR_INPUT_PAST_END);
        return;
    }
    std::string item;
    if (c == '"') {
        for (c = file_input_chr(index); c >= 0 && c != '"'; c = file_input_chr(index)) item += static_cast<char>(c);
        if (c == read_failed) return;
        // Whatever follows the closing quote is dropped up to the separator.
        if (c == '"') {
            do c = file_input_chr(index);
            while (c >= 0 && c != ',' && !is_line_end(c));
            if (c == read_failed) return;
        }
    } else {
        for (; c >= 0 && c != ',' && !is_line_end(c); c = file_input_chr(index)) item += static_cast<char>(c);
        if (c == read_failed) return;
        size_t keep = item.find_last_not_of(" \t");
        item.resize(keep == std::string::npos ? 0 : keep + 1);
    }
    if (is_line_end(c)) {
        file_input_skip1310(index, c);
        if (new_error_is_set()) return;
    }
    assign(variable, item);
}

void input_file_register() { number_set_file_source(&source); }
