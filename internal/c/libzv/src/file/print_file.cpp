// PRINT #: text, separating spaces and line ends written straight to the file, and
// the print column that the comma and TAB work from.
#include "file/print_file.h"

#include "error/error.h"
#include "file/gfs.h"
#include "number/print_using.h"
#include "string/zvs.h"
#include "text/print.h"
#include "text/text_cursor.h"

namespace {

// The separating spaces come from here: at most 15 (a space and a full zone) per call.
constexpr uint8_t sub_file_print_spaces[32] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                               ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                               ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
constexpr int64_t zone_width = 14;

// True when written; otherwise the error is raised.
bool put(int32_t index, const uint8_t* bytes, int64_t count) {
    int32_t result = gfs_write(index, -1, bytes, count);
    if (result == gfs_ok) return true;
    error(gfs_error_number(result, gfs_errors::transfer));
    return false;
}

void print_using_writer(int32_t n, zvs* text) { sub_file_print(n, text, 0, 0, 0); }

int32_t tab_column(int32_t n, bool* screen) {
    if (gfs_fileno_valid(n) != 1) return 0;
    const gfs_file_struct* f = gfs_file_of_number(n);
    *screen = f->is_screen;
    return f->print_column > 2147483647 ? 2147483647 : static_cast<int32_t>(f->print_column);
}

}  // namespace

void sub_file_print(int32_t n, zvs* text, int32_t space, int32_t zone, int32_t newline) {
    if (new_error_is_set() || n < 0) return;
    gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    if (f->is_screen) {
        zvs_print(text, newline);
        return;
    }
    if (f->basic_mode != 4) {
        error(ERR_BAD_FILE_MODE);
        return;
    }
    if (!f->can_write) {
        error(ERR_PATH_FILE_ACCESS);
        return;
    }
    int32_t index = gfs_get_fileno(n);
    if (!put(index, text->text, text->length)) return;
    for (int32_t i = 0; i < text->length; i++) {
        uint8_t c = text->text[i];
        if (c == 13)
            f->print_column = 1;
        else if (c != 10)
            f->print_column++;
    }
    int64_t spaces = space ? 1 : 0;
    if (zone) {
        spaces++;
        int64_t after = (f->print_column - 1 + spaces) % zone_width;
        if (after) spaces += zone_width - after;
    }
    if (spaces) {
        if (!put(index, sub_file_print_spaces, spaces)) return;
        f->print_column += spaces;
    }
    if (newline) {
        static constexpr uint8_t cr_lf[2] = {13, 10};
        if (!put(index, cr_lf, 2)) return;
        f->print_column = 1;
    }
}

void print_file_register() {
    print_using_set_file_writer(print_using_writer);
    set_tab_file_column(tab_column);
}
