// key_update: the KEY line of page 0, drawn through PRINT and then put out of the program's way.
#include "text/key_line.h"

#include <cstdio>

#include "core/traps.h"
#include "image/image_table.h"
#include "text/print.h"
#include "text/print_internal.h"
#include "text/text_image.h"

int32_t key_display = 0;
int32_t key_display_state = 0;
int32_t key_display_redraw = 0;

namespace {

zvs* one_character = nullptr;  // made on the first redraw, kept for the process

// Control codes shown as glyphs, since the line prints them instead of acting.
uint8_t shown_as(uint8_t c) {
    switch (c) {
        case 7: return 14;
        case 8: return 254;
        case 9: return 26;
        case 10: return 60;
        case 11: return 127;
        case 12: return 22;
        case 13: return 27;
        case 28: return 16;
        case 29: return 17;
        case 30: return 24;
        case 31: return 25;
        default: return c;
    }
}

void print_one(uint8_t c) {
    if (!one_character) one_character = zvs_new(1, 0);
    one_character->text[0] = shown_as(c);
    no_control_characters = 1;
    print_core(one_character, 0);
    no_control_characters = 0;
}

// The cursor to a column of the last row, without the hold a blank row can leave.
void place(img_struct* im, int32_t row, int32_t column) {
    set_cursor_y(im, row);
    set_cursor_x(im, column);
    set_cursor_held(im, 0);
}

}  // namespace

key_line_layout key_line_cells(int32_t columns, int32_t font_height, bool proportional) {
    int32_t w, limit, gap = 0;
    if (!proportional) {
        w = columns / 12;
        limit = 12 * w;
        if (w < 8) {
            w = 8;
            limit = columns / 8 * 8;
        }
        if (w > columns) w = limit = columns;
    } else {
        gap = font_height;
        w = columns / 12;
        limit = 12 * w - gap;
        int32_t half = static_cast<int32_t>(font_height * 0.5);
        if (w < 8 * half + gap) {
            w = 8 * half + gap;
            limit = columns / w * w - gap;
        }
        if (w > columns) {
            w = columns;
            limit = columns - gap;
        }
    }
    key_line_layout layout{};
    layout.limit = limit;
    for (int32_t i = 1; i <= 12; i++) {
        int32_t start = (i - 1) * w + 1;
        if (start >= limit) break;
        layout.start[i - 1] = start;
        layout.end[i - 1] = i * w - gap;
        layout.keys = i;
    }
    return layout;
}

void key_update() {
    if (key_display_redraw) {
        key_display_redraw = 0;
        if (!key_display) return;
    } else {
        if (key_display == key_display_state) return;
        key_display_state = key_display;
    }
    int32_t page0 = page_index(0);
    if (!page0) return;
    write_image_switch to(page0);
    img_struct* im = img_get(page0);
    if (im->console) return;
    int32_t saved_x = cursor_x(im), saved_y = cursor_y(im), saved_held = cursor_held(im);
    uint32_t saved_fg = im->color, saved_bg = im->background_color;

    int32_t fw = text_font_width(im->font), fh = text_font_height(im->font);
    bool proportional = !im->text && fw == 0;
    int32_t rows = text_rows(im);
    int32_t columns = text_columns(im);
    if (rows < 1 || columns < 1) return;

    place(im, rows, 1);
    if (im->text) {
        zvs* space = zvs_new_txt_len(" ", 1);
        for (int32_t c = 0; c < columns; c++) print_core(space, 0);
        place(im, rows, 1);
    } else {
        fill_box(im, 0, (rows - 1) * fh, im->width - 1, rows * fh - 1, im->background_color | 0xFF000000u);
    }

    if (key_display == 1) {
        key_line_layout layout = key_line_cells(columns, fh, proportional);
        for (int32_t i = 1; i <= layout.keys; i++) {
            int32_t start = layout.start[i - 1], end = layout.end[i - 1];
            place(im, rows, start);
            bool last_key = false, key_done = false;
            char label[4];
            int32_t n = snprintf(label, sizeof label, proportional ? "%d)" : "%d", i);
            for (int32_t k = 0; k < n && !key_done; k++) {
                int32_t x = cursor_x(im);
                if (x >= layout.limit) last_key = true;
                if (x > end) {
                    key_done = true;
                    break;
                }
                if (x == end) key_done = true;
                print_one(static_cast<uint8_t>(label[k]));
            }
            zvs* text = onkey(i <= 10 ? i : i + 19).text.load(std::memory_order_relaxed);
            if (!key_done && text && text->length > 0) {
                if (im->text) {
                    bool black = (saved_bg & 7) == 0;
                    im->color = black ? 0 : 7;
                    im->background_color = black ? 7 : 0;
                }
                // Read through the descriptor each time: printing may make strings.
                for (int32_t j = 0; cursor_x(im) < end; j++) {
                    int32_t before = cursor_x(im);
                    print_one(j < text->length ? text->text[j] : ' ');
                    if (cursor_x(im) <= before) break;  // a font that measures nothing
                }
            }
            im->color = saved_fg;
            im->background_color = saved_bg;
            if (last_key) break;
        }
    }

    set_cursor_x(im, saved_x);
    set_cursor_y(im, saved_y);
    set_cursor_held(im, saved_held);
    im->color = saved_fg;
    im->background_color = saved_bg;
}

void key_line_redraw() {
    key_display_redraw = 1;
    key_update();
}

void key_line_reset_for_tests() {
    key_display = key_display_state = key_display_redraw = 0;
    one_character = nullptr;
}
