// tab: the PRINT comma, to the next print zone.
#include "image/image_table.h"
#include "platform/console_terminal.h"
#include "string/zvs.h"
#include "text/print.h"
#include "text/print_internal.h"
#include "text/text_image.h"

void tab() {
    img_struct* im = write_page();
    if (cursor_held(im)) {
        newline();
        set_cursor_held(write_page(), 0);
        return;
    }
    if (im->console) {
        // Stops where the terminal's column is a multiple of 10.
        if (console_column() > im->width - 10) {
            console_write("\n", 1);
        } else {
            do console_write(" ", 1);
            while (console_column() % 10 != 0);
        }
        console_flush();
        return;
    }
    int32_t fw = text_font_width(im->font);
    if (im->text || fw) {
        int32_t columns = text_columns(im);
        zvs* space = zvs_new_txt_len(" ", 1);
        for (;;) {
            print_core(space, 0);
            int32_t x = cursor_x(write_page());
            if (x == 1) break;  // the space wrapped to a new line
            if ((x - 1) % 14 == 0 && x <= columns - 13) break;
            if (x >= columns) break;
        }
        return;
    }
    // Proportional font: the next 112-pixel stop.
    int32_t x = cursor_x(im) - 1;
    int32_t target = (x / 112 + 1) * 112;
    int32_t fh = text_font_height(im->font);
    int32_t top = (cursor_y(im) - 1) * fh;
    if (target >= im->width) {
        if (im->print_mode != 1) fill_box(im, x, top, im->width - 1, top + fh - 1, im->background_color);
        newline();
        return;
    }
    if (im->print_mode != 1) fill_box(im, x, top, target - 1, top + fh - 1, im->background_color);
    set_cursor_x(im, target);
}
