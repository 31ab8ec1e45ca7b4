// _PRINTSTRING: text images print at a character position through LOCATE and the
// PRINT core; graphics images draw every byte as a glyph, clipped to VIEW.
#include "text/printstring.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "draw/coordinates.h"
#include "draw/pset.h"
#include "draw/rounding.h"
#include "error/error.h"
#include "font/font_backend.h"
#include "font/font_tables.h"
#include "font/glyphs.h"
#include "image/image_handle.h"
#include "image/image_table.h"
#include "platform/console_terminal.h"
#include "text/print_internal.h"
#include "text/text_cursor.h"
#include "text/text_image.h"

namespace {

constexpr int32_t given_step = 1;
constexpr int32_t given_handle = 2;

// A pixel at a float origin plus a whole offset, truncated; dropped when the sum is
// not an int32 or lies outside the VIEW rectangle (or the image).
void put(img_struct* im, double x, double y, uint32_t colour) {
    if (!(x > -2147483649.0 && x < 2147483648.0 && y > -2147483649.0 && y < 2147483648.0)) return;
    auto px = static_cast<int32_t>(x), py = static_cast<int32_t>(y);
    if (!in_view(im->graphics, px, py) || px < 0 || py < 0 || px >= im->width || py >= im->height) return;
    pset_on(im, px, py, colour);
}

void put_by_mode(img_struct* im, double x, double y, bool set) {
    uint8_t mode = im->print_mode;
    if (set && (mode == 1 || mode == 3))
        put(im, x, y, im->color);
    else if (!set && (mode == 2 || mode == 3))
        put(im, x, y, im->background_color);
}

// The built-in glyphs on graphics images: 8 columns, font-height rows.
const uint8_t* builtin_glyph(int32_t font_number, uint8_t character, int32_t* rows) {
    switch (font_number) {
        case 8: *rows = 8; return charset8x8 + character * 64;
        case 14: *rows = 14; return charset8x16 + character * 128 + 8;
        case 16: *rows = 16; return charset8x16 + character * 128;
        default: return nullptr;
    }
}

void draw_builtin(img_struct* im, double x, double y, const zvs* text) {
    for (int32_t i = 0; i < text->length; i++) {
        int32_t rows = 0;
        const uint8_t* glyph = builtin_glyph(im->font, text->text[i], &rows);
        if (!glyph) return;  // double-width fonts exist only on text images
        double left = x + 8.0 * i;
        for (int32_t r = 0; r < rows; r++)
            for (int32_t c = 0; c < 8; c++) put_by_mode(im, left + c, y + r, glyph[r * 8 + c] != 0);
    }
}

// A loaded font renders the whole text at once; the two routes of printchr.
void draw_loaded(img_struct* im, double x, double y, const zvs* text) {
    int32_t handle = font[im->font].load(std::memory_order_relaxed);
    int32_t flags = text_font_flags(im->font), fh = text_font_height(im->font);
    bool monochrome = im->bytes_per_pixel == 1 || im->blend_off || (flags & FONT_DONTBLEND);
    uint8_t* bitmap = nullptr;
    int32_t w = 0, h = 0;
    if (!FontRenderTextASCII(handle, text->text, text->length, monochrome ? 1 : 0, &bitmap, &w, &h) || !bitmap)
        return;
    int32_t rows = fh < h ? fh : h;  // never past the rendered rows
    draw_font_bitmap(
        im, bitmap, w, rows, monochrome, x, y, [im](double px, double py, bool set) { put_by_mode(im, px, py, set); },
        [im](double px, double py, uint32_t colour) { put(im, px, py, colour); });
    free(bitmap);
}

void print_on_graphics(img_struct* im, float x, float y, zvs* text, bool step) {
    img_graphics_state& g = im->graphics;
    if (step) {
        g.x += x;
        g.y += y;
    } else {
        g.x = x;
        g.y = y;
    }
    if (im->font >= first_loaded_font)
        draw_loaded(im, x, y, text);
    else
        draw_builtin(im, x, y, text);
}

// At column x, row y; the cursor and its hold come back as they were.
void print_on_text(img_struct* im, float x, float y, zvs* text) {
    int32_t column = truncate_float_to_int32(x), row = truncate_float_to_int32(y);
    if (im->console) {
        int32_t was_row = console_row(), was_column = console_column();
        zvg_sub_locate(row, column, 0, 0, 0, 1 | 2);
        if (new_error_is_set()) return;
        print_core(text, 0);
        console_locate(was_row, was_column);
        return;
    }
    int32_t was_x = cursor_x(im), was_y = cursor_y(im), was_held = cursor_held(im);
    zvg_sub_locate(row, column, 0, 0, 0, 1 | 2);
    if (new_error_is_set()) return;
    print_core(text, 0);
    // LOCATE's 80 x 50 switch may have rebuilt the page.
    im = write_page();
    set_cursor_x(im, was_x);
    set_cursor_y(im, was_y);
    set_cursor_held(im, was_held);
}

}  // namespace

void sub__printstring(float x, float y, zvs* text, int32_t handle, int32_t passed) {
    if (new_error_is_set()) return;
    // Only another image is switched to and back: LOCATE's 80 x 50 switch may
    // rebuild the write page itself, which must then stay the write image.
    std::optional<write_image_switch> switched;
    if (passed & given_handle) {
        int32_t index = image_index_of(handle);
        if (!index) return;
        if (index != write_page_index()) switched.emplace(index);
    }
    if (text->length == 0) return;
    img_struct* im = write_page();
    if (im->text)
        print_on_text(im, x, y, text);
    else
        print_on_graphics(im, x, y, text, passed & given_step);
}
