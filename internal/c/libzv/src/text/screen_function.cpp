// The SCREEN function: a character or its colour read back from the read image.
#include <cstring>

#include "error/error.h"
#include "font/glyphs.h"
#include "image/image_table.h"
#include "platform/console_terminal.h"
#include "text/text_cursor.h"
#include "text/text_image.h"

namespace {

uint32_t pixel_at(const img_struct* im, int32_t x, int32_t y) {
    int64_t at = static_cast<int64_t>(y) * im->width + x;
    if (im->bytes_per_pixel == 1) return im->pixels[at];
    uint32_t v;
    memcpy(&v, im->pixels + at * 4, 4);
    return v;
}

// Glyph n of a readable font (8, 14, 16) as rows of 8 bytes.
const uint8_t* glyph_of(int32_t font, int32_t n) {
    if (font == 8) return charset8x8 + n * 64;
    if (font == 14) return charset8x16 + n * 128 + 8;
    return charset8x16 + n * 128;
}

}  // namespace

int32_t func_screen(int32_t row, int32_t column, int32_t colour_flag, int32_t passed) {
    img_struct* im = read_page();
    bool colour = (passed & 1) && colour_flag != 0;
    if (im->console) return console_cell(row, column, colour);
    if (!im->text && im->font != 8 && im->font != 14 && im->font != 16) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    if (row < 1 || row > text_rows(im) || column < 1 || column > text_columns(im)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    if (im->text) {
        text_cell cell = read_cell(im, row, column);
        return colour ? cell >> 8 : cell & 255;
    }
    // Every non-zero pixel is ink; the cell's shape is matched against the glyphs.
    int32_t fh = text_font_height(im->font);
    uint8_t mask[16 * 8];
    uint32_t first = 0;
    bool ink = false;
    for (int32_t r = 0; r < fh; r++) {
        for (int32_t c = 0; c < 8; c++) {
            uint32_t v = pixel_at(im, (column - 1) * 8 + c, (row - 1) * fh + r);
            mask[r * 8 + c] = v ? 255 : 0;
            if (v && !ink) {
                first = v;
                ink = true;
            }
        }
    }
    if (!ink) return colour ? 1 : 32;
    for (int32_t n = 0; n < 256; n++)
        if (memcmp(mask, glyph_of(im->font, n), static_cast<size_t>(fh) * 8) == 0)
            return colour ? static_cast<int32_t>(first) : n;
    return colour ? 0 : 32;
}
