// What the text statements share about an image: cursor fields the frame producer
// also reads, character cells, text geometry and the temporary switch of the write image.
#pragma once
#include <atomic>
#include <cstdint>

#include "image/image_table.h"
#include "image/img_struct.h"

// The text cursor fields are read by the frame producer while the program thread
// changes them: relaxed atomic access on both sides keeps the record plain.
template <typename T>
inline T text_field(const T& field) {
    return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
}
template <typename T, typename V>
inline void set_text_field(T& field, V value) {
    std::atomic_ref<T>(field).store(static_cast<T>(value), std::memory_order_relaxed);
}

inline int32_t cursor_x(const img_struct* im) { return text_field(im->cursor_x); }
inline int32_t cursor_y(const img_struct* im) { return text_field(im->cursor_y); }
inline int32_t cursor_held(const img_struct* im) { return text_field(im->cursor_held); }
inline void set_cursor_x(img_struct* im, int32_t x) { set_text_field(im->cursor_x, x); }
inline void set_cursor_y(img_struct* im, int32_t y) { set_text_field(im->cursor_y, y); }
inline void set_cursor_held(img_struct* im, int32_t held) { set_text_field(im->cursor_held, held); }

// Character cell of a font: width 0 marks a proportional font.
int32_t text_font_width(int32_t font);
int32_t text_font_height(int32_t font);
// Option bits of a font: 0x08 DONTBLEND, 0x10 MONOSPACE, 0x20 UNICODE, 0x40 AUTOMONO.
int32_t text_font_flags(int32_t font);

// Columns of an image: a text image's width, a graphics image's width in cells, or
// in pixels for a proportional font. Rows: height, or height in cells. Images
// smaller than one cell have 0 of them.
int32_t text_columns(const img_struct* im);
int32_t text_rows(const img_struct* im);

// The attribute that PRINT, the new line and CLS store for colours on a text image.
inline uint32_t text_attribute(uint32_t fg, uint32_t bg) {
    return (fg & 15) + ((bg & 7) << 4) + ((fg & 16) << 3);
}
inline text_cell blank_cell_of(uint32_t fg, uint32_t bg) {
    return static_cast<text_cell>(text_attribute(fg, bg) << 8 | 0x20);
}

// Cell access of a text image (row and column 1-based, inside the image).
text_cell read_cell(const img_struct* im, int32_t row, int32_t column);
void write_cell(img_struct* im, int32_t row, int32_t column, text_cell cell);
// Rows first..last of a text image set to one cell value (clipped to the image).
void fill_text_rows(img_struct* im, int32_t first, int32_t last, text_cell cell);
// Pixel rows first..last (0-based, clipped) of a graphics image set to a colour,
// without blending: palette images store its low byte, 32-bit images the value.
void fill_pixel_rows(img_struct* im, int32_t first, int32_t last, uint32_t colour);
// A box of a graphics image (inclusive, clipped) through the pixel rule.
void fill_box(img_struct* im, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);

// The write image made another for a while; the old one comes back on every path.
class write_image_switch {
public:
    explicit write_image_switch(int32_t index) : saved_(write_page_index()) { set_write_page(index); }
    ~write_image_switch() { set_write_page(saved_); }
    write_image_switch(const write_image_switch&) = delete;
    write_image_switch& operator=(const write_image_switch&) = delete;

private:
    int32_t saved_;
};
