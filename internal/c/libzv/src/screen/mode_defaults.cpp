// imgrevert, defaultcolors and the VIEW PRINT reset of SCREEN.
#include "screen/mode_defaults.h"

#include <atomic>
#include <cstring>

#include "font/font_tables.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "palette/palette.h"

void imgrevert(int32_t index) {
    img_struct* im = img_get(index);
    const legacy_mode_info* m = legacy_mode(im->legacy_mode);
    if (!m) return;
    im->bytes_per_pixel = m->bytes_per_pixel;
    im->bits_per_pixel = m->bits_per_pixel;
    im->pixel_mask = m->bits_per_pixel == 32 ? 0xFFFFFFFF : (1u << m->bits_per_pixel) - 1;
    im->color = m->color;
    im->background_color = m->background;
    im->draw_color = m->color;
    im->print_mode = 3;
    im->graphics.draw_angle = 0;
    im->graphics.draw_scale = 1;
    selectfont(im->text ? text_font_for(im->width, im->height) : m->font, im);
    if (im->palette) {
        restorepalette(im);
        im->clear_color = -1;
    }
    size_t cells = static_cast<size_t>(im->width) * im->height;
    if (im->text) {
        for (size_t i = 0; i < cells; i++) memcpy(im->pixels + i * 2, &blank_text_cell, 2);
        return;
    }
    img_graphics_state& g = im->graphics;
    g.x = static_cast<float>(im->width * 0.5);
    g.y = static_cast<float>(im->height / 2);
    g.view_x2 = im->width - 1;
    g.view_y2 = im->height - 1;
    g.scaling_x = 1;
    g.scaling_y = 1;
    g.window_x2 = static_cast<float>(im->width - 1);
    g.window_y2 = static_cast<float>(im->height - 1);
    memset(im->pixels, 0, cells * im->bytes_per_pixel);
}

void defaultcolors() {
    img_struct* im = write_page();
    const legacy_mode_info* m = legacy_mode(im->legacy_mode);
    if (!m) return;
    im->color = m->color;
    im->background_color = m->background;
    im->draw_color = im->color;
}

void reset_view_print(img_struct* im) {
    int32_t rows = im->height;
    if (!im->text) {
        int32_t fh = im->font >= 0 && im->font < font_table_capacity ? fontheight[im->font].load() : 0;
        if (fh) rows = im->height / fh;
    }
    im->top_row = 1;
    std::atomic_ref<int16_t> cursor_y(im->cursor_y);
    if (cursor_y.load(std::memory_order_relaxed) > rows) cursor_y.store(1, std::memory_order_relaxed);
    im->bottom_row = static_cast<int16_t>(rows - 1 > 0 ? rows - 1 : 1);
}
