// printchr and chrwidth: one character drawn on a text, palette or 32-bit image.
#include <cstdlib>

#include "draw/pset.h"
#include "draw/rounding.h"
#include "font/font_backend.h"
#include "font/font_tables.h"
#include "font/glyphs.h"
#include "image/image_table.h"
#include "text/print.h"
#include "text/print_internal.h"
#include "text/text_image.h"

namespace {

// The glyph rows of a built-in font on graphics images; null for other fonts.
const uint8_t* builtin_glyph(int32_t font_number, uint32_t character, int32_t* rows) {
    uint32_t n = character & 255;
    switch (font_number) {
        case 8: *rows = 8; return charset8x8 + n * 64;
        case 14: *rows = 14; return charset8x16 + n * 128 + 8;
        case 16: *rows = 16; return charset8x16 + n * 128;
        default: return nullptr;
    }
}

// A pixel of the cell, skipped outside the image (images smaller than one cell).
void put(img_struct* im, int64_t x, int64_t y, uint32_t colour) {
    if (x < 0 || x >= im->width || y < 0 || y >= im->height) return;
    pset_on(im, static_cast<int32_t>(x), static_cast<int32_t>(y), colour);
}

// A set or clear pixel by the print mode: 1 ink only, 2 background only, 3 both.
void put_by_mode(img_struct* im, int64_t x, int64_t y, bool set) {
    uint8_t mode = im->print_mode;
    if (set && (mode == 1 || mode == 3))
        put(im, x, y, im->color);
    else if (!set && (mode == 2 || mode == 3))
        put(im, x, y, im->background_color);
}

// A loaded font: the back end renders the character's low byte.
void loaded_glyph(img_struct* im, uint32_t character, int64_t left, int64_t top) {
    int32_t handle = font[im->font].load(std::memory_order_relaxed);
    int32_t flags = text_font_flags(im->font), fh = text_font_height(im->font);
    bool monochrome = im->bytes_per_pixel == 1 || im->blend_off || (flags & FONT_DONTBLEND);
    uint8_t byte = static_cast<uint8_t>(character);
    uint8_t* bitmap = nullptr;
    int32_t w = 0, h = 0;
    if (!FontRenderTextASCII(handle, &byte, 1, monochrome ? 1 : 0, &bitmap, &w, &h) || !bitmap) return;
    int32_t rows = fh < h ? fh : h;  // never past the rendered rows
    draw_font_bitmap(
        im, bitmap, w, rows, monochrome, left, top,
        [im](int64_t x, int64_t y, bool set) { put_by_mode(im, x, y, set); },
        [im](int64_t x, int64_t y, uint32_t colour) { put(im, x, y, colour); });
    free(bitmap);
}

}  // namespace

void printchr(int32_t character) {
    img_struct* im = write_page();
    int32_t x = cursor_x(im), y = cursor_y(im);
    if (im->text) {
        if (x < 1 || x > im->width || y < 1 || y > im->height) return;
        write_cell(im, y, x,
                   static_cast<text_cell>((character & 255) | text_attribute(im->color, im->background_color) << 8));
        return;
    }
    int32_t fw = text_font_width(im->font), fh = text_font_height(im->font);
    int64_t left = fw ? static_cast<int64_t>(x - 1) * fw : x - 1;
    int64_t top = static_cast<int64_t>(y - 1) * fh;
    uint32_t c = static_cast<uint32_t>(character);
    if (!(text_font_flags(im->font) & FONT_UNICODE)) c &= 255;
    if (im->font >= first_loaded_font) {
        loaded_glyph(im, c, left, top);
        return;
    }
    int32_t rows = 0;
    const uint8_t* glyph = builtin_glyph(im->font, c, &rows);
    if (!glyph) return;  // double-width fonts exist only on text images
    for (int32_t r = 0; r < rows; r++)
        for (int32_t col = 0; col < 8; col++) put_by_mode(im, left + col, top + r, glyph[r * 8 + col] != 0);
}

int32_t chrwidth(uint32_t character) {
    img_struct* im = write_page();
    if (int32_t w = text_font_width(im->font)) return w;
    int32_t handle = im->font >= 0 && im->font < font_table_capacity ? font[im->font].load() : 0;
    if (text_font_flags(im->font) & FONT_UNICODE) return FontPrintWidthUTF32(handle, &character, 1);
    uint8_t byte = static_cast<uint8_t>(character);
    return FontPrintWidthASCII(handle, &byte, 1);
}
