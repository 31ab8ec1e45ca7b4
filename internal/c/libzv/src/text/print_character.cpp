// printchr and chrwidth: one character drawn on a text, palette or 32-bit image.
#include "draw/pset.h"
#include "font/glyphs.h"
#include "image/image_table.h"
#include "text/print.h"
#include "text/text_image.h"

namespace {

// The glyph rows of a built-in font on graphics images; null for other fonts.
const uint8_t* builtin_glyph(int32_t font, uint32_t character, int32_t* rows) {
    uint32_t n = character & 255;
    switch (font) {
        case 8: *rows = 8; return charset8x8 + n * 64;
        case 14: *rows = 14; return charset8x16 + n * 128 + 8;
        case 16: *rows = 16; return charset8x16 + n * 128;
        default: return nullptr;
    }
}

}  // namespace

void printchr(int32_t character) {
    img_struct* im = write_page();
    int32_t x = cursor_x(im), y = cursor_y(im);
    uint32_t c = im->color, b = im->background_color;
    if (im->text) {
        if (x < 1 || x > im->width || y < 1 || y > im->height) return;
        write_cell(im, y, x, static_cast<text_cell>((character & 255) | text_attribute(c, b) << 8));
        return;
    }
    int32_t fw = text_font_width(im->font), fh = text_font_height(im->font);
    int32_t rows = 0;
    const uint8_t* glyph = builtin_glyph(im->font, static_cast<uint32_t>(character), &rows);
    if (!glyph) return;  // loaded fonts: the font back end renders nothing
    int64_t left = fw ? static_cast<int64_t>(x - 1) * fw : x - 1;
    int64_t top = static_cast<int64_t>(y - 1) * fh;
    uint8_t mode = im->print_mode;
    // A cell can reach past an image smaller than one cell: those pixels are skipped.
    for (int32_t r = 0; r < rows; r++) {
        int64_t py = top + r;
        if (py < 0 || py >= im->height) continue;
        for (int32_t col = 0; col < 8; col++) {
            int64_t px = left + col;
            if (px < 0 || px >= im->width) continue;
            bool set = glyph[r * 8 + col] != 0;
            if (set && (mode == 1 || mode == 3))
                pset_on(im, static_cast<int32_t>(px), static_cast<int32_t>(py), c);
            else if (!set && (mode == 2 || mode == 3))
                pset_on(im, static_cast<int32_t>(px), static_cast<int32_t>(py), b);
        }
    }
}

int32_t chrwidth(uint32_t character) {
    (void)character;
    return text_font_width(write_page()->font);
}
