// newline: the move to the next row, scrolling the VIEW PRINT rows of text and graphics images.
#include <cstring>

#include "image/image_table.h"
#include "image/printer_page.h"
#include "text/cls.h"
#include "text/print.h"
#include "text/text_image.h"

void newline() {
    img_struct* im = write_page();
    set_cursor_x(im, 1);
    int32_t y = cursor_y(im) + 1;
    if (y <= im->bottom_row) {
        set_cursor_y(im, y);
        return;
    }
    if (printer_rules_apply()) {
        // A full printer page goes to the printer instead of scrolling.
        set_cursor_y(im, y);
        printer_page_send();
        cls_write_image(0, 15, 2);
        set_lprint_buffered(0);
        return;
    }
    int32_t top = im->top_row, bottom = im->bottom_row;
    if (im->text) {
        int64_t row_bytes = static_cast<int64_t>(im->width) * 2;
        int32_t last = bottom < im->height ? bottom : im->height;
        if (last > top && top >= 1)
            memmove(im->pixels + (top - 1) * row_bytes, im->pixels + top * row_bytes, (last - top) * row_bytes);
        fill_text_rows(im, bottom, bottom, blank_cell_of(im->color, im->background_color));
    } else {
        int64_t fh = text_font_height(im->font);
        int64_t row_bytes = static_cast<int64_t>(im->width) * im->bytes_per_pixel;
        // Pixel rows of text rows top + 1 .. bottom, clipped to the image.
        int64_t from = top * fh, to = bottom * fh;
        if (to > im->height) to = im->height;
        if (to > from && top >= 1)
            memmove(im->pixels + (from - fh) * row_bytes, im->pixels + from * row_bytes, (to - from) * row_bytes);
        uint32_t background = im->bytes_per_pixel == 1 ? im->background_color & 255 : im->background_color;
        fill_pixel_rows(im, static_cast<int32_t>((bottom - 1) * fh), static_cast<int32_t>(bottom * fh - 1), background);
    }
    set_cursor_y(im, bottom);
}
