// LOCATE, CSRLIN and POS, with the start-up screen's switch to 80 x 50.
#include <cstring>

#include "error/error.h"
#include "image/image_table.h"
#include "memory/cmem.h"
#include "platform/console_terminal.h"
#include "screen/screen.h"
#include "text/text_cursor.h"
#include "text/text_image.h"

namespace {
void (*width_call)(int32_t columns, int32_t rows) = nullptr;

// The start-up screen turns into 80 x 50 with its visible text and colours kept.
void switch_to_80_by_50() {
    width8050switch = 0;
    uint8_t shown[4000];
    memcpy(shown, cmem + 0xB8000, sizeof shown);
    img_struct* before = write_page();
    uint32_t fg = before->color, bg = before->background_color;
    width_call(80, 50);
    memcpy(cmem + 0xB8000, shown, sizeof shown);
    img_struct* after = write_page();
    after->color = fg;
    after->background_color = bg;
}

// Whether a row below the VIEW PRINT region may switch the screen: only on the
// start-up text page 0 itself.
bool switch_applies(const img_struct* im) {
    return width8050switch && width_call && im->text && write_page_index() == page_index(0);
}

}  // namespace

void set_locate_width(void (*width)(int32_t columns, int32_t rows)) { width_call = width; }

void zvg_sub_locate(int32_t row, int32_t column, int32_t cursor, int32_t start, int32_t stop, int32_t passed) {
    if (new_error_is_set()) return;
    img_struct* im = write_page();
    if (im->console) {
        console_locate(passed & 1 ? row : 0, passed & 2 ? column : 0);
        return;
    }
    // Every argument is checked before anything changes, the switch included.
    bool to_8050 = false;
    if (passed & 1) {
        if (row < im->top_row) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
        if (row > im->bottom_row && row != text_rows(im)) {
            if (!switch_applies(im) || row > 50) {
                error(ERR_ILLEGAL_FUNCTION_CALL);
                return;
            }
            to_8050 = true;
        }
    }
    if ((passed & 2) && (column < 1 || column > text_columns(im))) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if ((passed & 4) && cursor != 0 && cursor != 1) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (((passed & 8) && (start < 0 || start > 31)) || ((passed & 16) && (stop < 0 || stop > 31))) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (to_8050) {
        switch_to_80_by_50();
        im = write_page();
    }
    if (passed & 1) {
        set_cursor_y(im, row);
        set_cursor_held(im, 0);
    }
    if (passed & 2) {
        set_cursor_x(im, column);
        set_cursor_held(im, 0);
    }
    if (!(passed & 3) && cursor_held(im)) set_cursor_held(im, 2);
    bool screen = im->flags & IMG_SCREEN;
    if (passed & 4) {
        set_text_field(im->cursor_show, cursor ? 1 : 0);
        if (screen)
            for (const auto& [n, index] : page_entries()) set_text_field(img_get(index)->cursor_show, cursor ? 1 : 0);
    }
    if (passed & 8) set_text_field(im->cursor_firstvalue, start);
    if (passed & 16) set_text_field(im->cursor_lastvalue, stop);
    if ((passed & 24) && screen) {
        for (const auto& [n, index] : page_entries()) {
            img_struct* page = img_get(index);
            set_text_field(page->cursor_firstvalue, text_field(im->cursor_firstvalue));
            set_text_field(page->cursor_lastvalue, text_field(im->cursor_lastvalue));
        }
    }
}

int32_t func_csrlin() {
    img_struct* im = write_page();
    if (im->console) return console_row();
    int32_t y = cursor_y(im);
    if (cursor_held(im)) return y < im->bottom_row ? y + 1 : im->bottom_row;
    return y;
}

int32_t func_pos(int32_t dummy) {
    (void)dummy;
    img_struct* im = write_page();
    if (im->console) return console_column();
    if (cursor_held(im)) return 1;
    return cursor_x(im);
}

void text_cursor_reset_for_tests() {
    width_call = nullptr;
    tab_spc_cr_size = 1;
    tab_fileno = 0;
    tab_LPRINT = 0;
    set_tab_file_column(nullptr);
}
