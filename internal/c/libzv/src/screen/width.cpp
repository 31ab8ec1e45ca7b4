// WIDTH: text geometry by screen mode (SCREEN 0 rebuilds, in-place font switches,
// resizes of 32-bit and 256-colour images) and WIDTH LPRINT.
#include "screen/width.h"

#include <cstdlib>

#include "draw/coordinates.h"
#include "error/error.h"
#include "font/font_tables.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "image/printer_page.h"
#include "memory/mem_lock.h"
#include "platform/console_terminal.h"
#include "screen/lock_display.h"
#include "screen/mode_defaults.h"
#include "screen/screen.h"

namespace {

constexpr int32_t given_columns = 1;
constexpr int32_t given_rows = 2;

int32_t font_height_of(int32_t f) {
    return f >= 0 && f < font_table_capacity ? fontheight[f].load(std::memory_order_relaxed) : 0;
}
int32_t font_width_of(int32_t f) {
    return f >= 0 && f < font_table_capacity ? fontwidth[f].load(std::memory_order_relaxed) : 0;
}

// SCREEN 0 with the given geometry pending (-1: not given).
void screen0_with(int32_t columns, int32_t rows, int32_t font) {
    sub_screen_width_in_characters = columns;
    sub_screen_height_in_characters = rows;
    sub_screen_font = font;
    zvg_screen(0, 0, 0, 0, 0, 1);
    // A SCREEN that changed nothing (the program is stopping) must not leave them.
    sub_screen_width_in_characters = sub_screen_height_in_characters = sub_screen_font = -1;
}

// Every screen page but page 0 goes; the current images that named one fall back
// to the display image (page 0 when it was one of them). Returns the write image.
int32_t free_other_pages() {
    int32_t p0 = page_index(0);
    for (auto [n, index] : page_entries()) {
        if (n == 0) continue;
        if (index == display_page_index()) set_display_page(p0);
        if (index == read_page_index()) set_read_page(display_page_index());
        if (index == write_page_index()) set_write_page(display_page_index());
        image_release(index);
        page_set(n, 0);
    }
    return write_page_index();
}

// The image's _MEMIMAGE blocks die with the buffer they point into.
void drop_mem_lock(img_struct* im) {
    if (im->lock_id) free_mem_lock(im->lock_pointer);
    im->lock_pointer = nullptr;
    im->lock_id = 0;
}

// Switches A (window_again false) and B: the write page back to its mode's state
// with another font, colours kept.
void switch_font(int32_t new_font, bool window_again) {
    display_pause pause = lock_display_pause();
    if (pause == display_pause::stopping) return;
    int32_t index = write_page_index();
    if (img_get(index)->flags & IMG_SCREEN) index = free_other_pages();
    img_struct* im = img_get(index);
    uint32_t fg = im->color, bg = im->background_color;
    img_graphics_state before = im->graphics;
    imgrevert(index);
    im->color = fg;
    im->background_color = bg;
    if (window_again) {
        // A degenerate rectangle is no window to apply again.
        if (before.window_x1 != before.window_x2 && before.window_y1 != before.window_y2)
            zvg_sub_window(before.window_x1, before.window_y1, before.window_x2, before.window_y2, 1 | 2);
        im->graphics.clipping_or_scaling = 0;
    }
    selectfont(new_font, im);
    lock_display_resume(pause);
}

// 32-bit and 256-colour images: a whole number of character cells.
void resize(int32_t columns, int32_t rows, int32_t passed) {
    img_struct* im = write_page();
    if (((passed & given_columns) && columns < 1) || ((passed & given_rows) && rows < 1)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    int32_t fw = font_width_of(im->font), fh = font_height_of(im->font);
    if (fw == 0) fw = 1;
    int64_t width = passed & given_columns ? static_cast<int64_t>(columns) * fw : im->width;
    int64_t height = passed & given_rows ? static_cast<int64_t>(rows) * fh : im->height;
    if (width == im->width && height == im->height) return;
    if (width < 1 || height < 1 || width > img_max_side || height > img_max_side) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    int64_t bytes = width * height * im->bytes_per_pixel;
    uint8_t* pixels = bytes <= img_max_bytes ? static_cast<uint8_t*>(calloc(static_cast<size_t>(bytes), 1)) : nullptr;
    if (!pixels) {
        error(ERR_OUT_OF_MEMORY);
        return;
    }
    display_pause pause = display_pause::not_needed;
    int32_t index = write_page_index();
    if (im->flags & IMG_SCREEN) {
        pause = lock_display_pause();
        if (pause == display_pause::stopping) {
            free(pixels);
            return;
        }
        index = free_other_pages();
        im = img_get(index);
    }
    uint32_t fg = im->color, bg = im->background_color;
    int32_t old_font = im->font;
    im->width = static_cast<uint16_t>(width);
    im->height = static_cast<uint16_t>(height);
    if (im->flags & IMG_FREEMEM) free(im->pixels);
    im->pixels = pixels;
    im->flags |= IMG_FREEMEM;
    drop_mem_lock(im);
    imgrevert(index);
    im->color = fg;
    im->background_color = bg;
    selectfont(old_font, im);
    lock_display_resume(pause);
}

bool text_rows_known(int32_t r) { return r == 25 || r == 43 || r == 50; }
bool text_columns_known(int32_t c) { return c == 40 || c == 80; }

// The legacy graphics modes' last column: a text screen with the given values.
void no_font_fits(int32_t c, int32_t r, int32_t passed) {
    if (passed == given_rows) {
        if (!text_rows_known(r)) return error(ERR_ILLEGAL_FUNCTION_CALL);
        return screen0_with(-1, r, -1);
    }
    if (passed == given_columns) {
        if (!text_columns_known(c)) return error(ERR_ILLEGAL_FUNCTION_CALL);
        return screen0_with(c, -1, -1);
    }
    if (!text_columns_known(c) || !text_rows_known(r)) return error(ERR_ILLEGAL_FUNCTION_CALL);
    screen0_with(c, r, text_font_for(c, r));
}

void width_text(const img_struct* im, int32_t c, int32_t r, int32_t passed) {
    if (!(passed & given_columns)) c = im->width;
    if (!(passed & given_rows)) r = im->height;
    if (c > img_max_text_side || r > img_max_text_side) return error(ERR_ILLEGAL_FUNCTION_CALL);
    int32_t f = text_font_for(c, r);
    if (f == im->font && c == im->width && r == im->height) return;
    screen0_with(c, r, f);
}

// Modes 1-8 and 13: only font 8 fills them.
void width_cga(const img_struct* im, int32_t c, int32_t r, int32_t passed) {
    bool fits = (!(passed & given_columns) || im->width == 8LL * c) && (!(passed & given_rows) || im->height == 8LL * r);
    if (!fits) return no_font_fits(c, r, passed);
    if (im->font != 8) switch_font(8, false);
}

// Modes 9-12: the font whose height fills the rows (0: none).
int32_t font_by_height(const img_struct* im, int32_t r) {
    int32_t f = 0;
    int64_t h = im->height;
    if (im->legacy_mode == 9 || im->legacy_mode == 10) {
        if (h == 8LL * r) f = 8;
        if (h == 14LL * r) f = 14;
        if (r == 43 && h == 350) f = 8;
    } else {
        if (h == 8LL * r) f = 8;
        if (h == 16LL * r) f = 16;
    }
    return f;
}

void width_ega_vga(const img_struct* im, int32_t c, int32_t r, int32_t passed) {
    bool ega = im->legacy_mode == 9 || im->legacy_mode == 10;
    if ((passed & given_columns) && im->width != 8LL * c) return no_font_fits(c, r, passed);
    int32_t f;
    if (passed & given_rows) {
        f = font_by_height(im, r);
    } else {
        f = font_height_of(im->font) > 8 ? (ega ? 14 : 16) : 8;
    }
    if (!f) return no_font_fits(c, r, passed);
    // Only the single-value cells of modes 9 and 10 keep a page that already has the font.
    if (ega && passed != (given_columns | given_rows) && im->font == f) return;
    switch_font(f, true);
}

// The console image: the terminal's size; values below 1 keep the current one. A
// terminal has no separate buffer, so the buffer sizes ask for nothing.
void width_console(int32_t c, int32_t r, int32_t passed) {
    if (!(passed & given_columns) || c < 1) c = console_columns();
    if (!(passed & given_rows) || r < 1) r = console_rows();
    if (c > img_max_text_side || r > img_max_text_side) return error(ERR_ILLEGAL_FUNCTION_CALL);
    console_resize(c, r);
}

void width_screen(int32_t c, int32_t r, int32_t passed) {
    width8050switch = 0;
    const img_struct* im = write_page();
    if (im->console) return width_console(c, r, passed);
    passed &= given_columns | given_rows;
    if (!passed) return error(ERR_ILLEGAL_FUNCTION_CALL);
    if (im->legacy_mode == 32 || im->legacy_mode == 256) return resize(c, r, passed);
    if (((passed & given_columns) && c < 1) || ((passed & given_rows) && r < 1)) return error(ERR_ILLEGAL_FUNCTION_CALL);
    switch (im->legacy_mode) {
        case 0: return width_text(im, c, r, passed);
        case 9: case 10: case 11: case 12: return width_ega_vga(im, c, r, passed);
        default: return width_cga(im, c, r, passed);
    }
}

}  // namespace

void zvsub_width(int32_t device, int32_t columns, int32_t rows, int32_t, int32_t, int32_t passed) {
    if (new_error_is_set()) return;
    if (device == 2) {
        if (passed != given_columns || columns < 1 || columns > 255) return error(ERR_ILLEGAL_FUNCTION_CALL);
        set_width_lprint(columns);
        return;
    }
    if (device != 0) return error(ERR_ILLEGAL_FUNCTION_CALL);
    width_screen(columns, rows, passed);
}

void width_columns_rows(int32_t columns, int32_t rows) { width_screen(columns, rows, given_columns | given_rows); }

void width_80_25() { width_columns_rows(80, 25); }
