// Text geometry of images, character cells and the row fills of PRINT and CLS.
#include "text/text_image.h"

#include <cstring>

#include "draw/pset.h"
#include "font/font_tables.h"

namespace {
bool in_tables(int32_t font) { return font >= 0 && font < font_table_capacity; }
}  // namespace

int32_t text_font_width(int32_t font) {
    return in_tables(font) ? fontwidth[font].load(std::memory_order_relaxed) : 0;
}
int32_t text_font_height(int32_t font) {
    return in_tables(font) ? fontheight[font].load(std::memory_order_relaxed) : 0;
}
int32_t text_font_flags(int32_t font) {
    return in_tables(font) ? fontflags[font].load(std::memory_order_relaxed) : 0;
}

int32_t text_columns(const img_struct* im) {
    if (im->text) return im->width;
    int32_t w = text_font_width(im->font);
    return w ? im->width / w : im->width;
}

int32_t text_rows(const img_struct* im) {
    if (im->text) return im->height;
    int32_t h = text_font_height(im->font);
    return h ? im->height / h : im->height;
}

text_cell read_cell(const img_struct* im, int32_t row, int32_t column) {
    text_cell c;
    memcpy(&c, im->pixels + (static_cast<int64_t>(row - 1) * im->width + column - 1) * 2, 2);
    return c;
}

void write_cell(img_struct* im, int32_t row, int32_t column, text_cell cell) {
    memcpy(im->pixels + (static_cast<int64_t>(row - 1) * im->width + column - 1) * 2, &cell, 2);
}

void fill_text_rows(img_struct* im, int32_t first, int32_t last, text_cell cell) {
    if (first < 1) first = 1;
    if (last > im->height) last = im->height;
    for (int32_t r = first; r <= last; r++)
        for (int32_t c = 1; c <= im->width; c++) write_cell(im, r, c, cell);
}

void fill_pixel_rows(img_struct* im, int32_t first, int32_t last, uint32_t colour) {
    if (first < 0) first = 0;
    if (last > im->height - 1) last = im->height - 1;
    if (first > last) return;
    int64_t count = static_cast<int64_t>(last - first + 1) * im->width;
    if (im->bytes_per_pixel == 1) {
        memset(im->pixels + static_cast<int64_t>(first) * im->width, static_cast<uint8_t>(colour), count);
        return;
    }
    uint8_t* p = im->pixels + static_cast<int64_t>(first) * im->width * 4;
    for (int64_t i = 0; i < count; i++) memcpy(p + i * 4, &colour, 4);
}

void fill_box(img_struct* im, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    if (x1 < 0) x1 = 0;
    if (y1 < 0) y1 = 0;
    if (x2 > im->width - 1) x2 = im->width - 1;
    if (y2 > im->height - 1) y2 = im->height - 1;
    for (int32_t y = y1; y <= y2; y++)
        for (int32_t x = x1; x <= x2; x++) pset_on(im, x, y, colour);
}
