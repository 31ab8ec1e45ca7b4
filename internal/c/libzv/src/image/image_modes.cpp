// The legacy mode table and the record builders imgframe, imgnew and selectfont.
#include "image/image_modes.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "draw/blend.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "palette/palette.h"

namespace {

constexpr legacy_mode_info modes[] = {
    {0, 0, 0, 16, 2, 0, 7, 0, true},
    {1, 320, 200, 2, 1, 8, 3, 0, true},
    {2, 640, 200, 1, 1, 8, 1, 0, true},
    {7, 320, 200, 4, 1, 8, 15, 0, true},
    {8, 640, 200, 4, 1, 8, 15, 0, true},
    {9, 640, 350, 4, 1, 14, 15, 0, true},
    {10, 640, 350, 2, 1, 14, 3, 0, true},
    {11, 640, 480, 1, 1, 16, 1, 0, true},
    {12, 640, 480, 4, 1, 16, 15, 0, true},
    {13, 320, 200, 8, 1, 8, 15, 0, true},
    {256, 0, 0, 8, 1, 16, 15, 0, false},
    {32, 0, 0, 32, 4, 16, 0xFFFFFFFF, 0xFF000000, false},
};

}  // namespace

const legacy_mode_info* legacy_mode(int32_t mode) {
    for (const auto& m : modes)
        if (m.mode == mode) return &m;
    return nullptr;
}

int32_t text_font_for(int32_t columns, int32_t rows) {
    int32_t font = rows <= 42 ? 16 : rows <= 49 ? 14 : 8;
    return columns <= 40 ? font + 1 : font;
}

int32_t selectfont(int32_t font, img_struct* im) {
    im->font = font;
    // The frame producer reads the text cursor of the display page.
    std::atomic_ref<int16_t>(im->cursor_x).store(1, std::memory_order_relaxed);
    std::atomic_ref<int16_t>(im->cursor_y).store(1, std::memory_order_relaxed);
    // A held cursor would start the next PRINT on row 2.
    std::atomic_ref<uint8_t>(im->cursor_held).store(0, std::memory_order_relaxed);
    int32_t rows = im->height;
    if (im->legacy_mode != 0) {
        int32_t fh = font >= 0 && font < font_table_capacity ? fontheight[font].load() : 0;
        rows = fh ? im->height / fh : im->height;
    }
    im->top_row = 1;
    im->bottom_row = static_cast<int16_t>(rows - 1 > 0 ? rows - 1 : 1);
    return 1;
}

int32_t imgframe(uint8_t* pixels, int32_t width, int32_t height, int32_t mode) {
    const legacy_mode_info* m = legacy_mode(mode);
    if (!m || width <= 0 || height <= 0) return 0;
    int64_t side = mode == 0 ? img_max_text_side : img_max_side;
    if (width > side || height > side) return 0;

    uint32_t* palette = nullptr;
    if (m->bytes_per_pixel != 4) {
        // Zeroed first: the reset names only the entries of the mode.
        palette = static_cast<uint32_t*>(calloc(256, sizeof(uint32_t)));
        if (!palette) return 0;
    }
    int32_t index = imgframe_with_palette(pixels, palette, width, height, mode);
    if (!index) free(palette);
    return index;
}

int32_t imgframe_with_palette(uint8_t* pixels, uint32_t* palette, int32_t width, int32_t height, int32_t mode) {
    const legacy_mode_info* m = legacy_mode(mode);
    if (!m || width <= 0 || height <= 0) return 0;
    int64_t side = mode == 0 ? img_max_text_side : img_max_side;
    if (width > side || height > side) return 0;
    int32_t index = newimg();
    if (!index) return 0;
    img_struct* im = img_get(index);
    im->width = static_cast<uint16_t>(width);
    im->height = static_cast<uint16_t>(height);
    im->legacy_mode = static_cast<uint16_t>(mode);
    im->text = mode == 0;
    im->bits_per_pixel = m->bits_per_pixel;
    im->bytes_per_pixel = m->bytes_per_pixel;
    im->pixel_mask = m->bits_per_pixel == 32 ? 0xFFFFFFFF : (1u << m->bits_per_pixel) - 1;
    im->pixels = pixels;
    im->color = m->color;
    im->background_color = m->background;
    im->draw_color = m->color;
    im->print_mode = 3;
    im->graphics.draw_angle = 0;
    im->graphics.draw_scale = 1;
    if (palette) {
        im->palette = palette;
        im->flags |= IMG_FREEPALETTE;
        im->clear_color = -1;
        restorepalette(im);
    }
    selectfont(mode == 0 ? text_font_for(width, height) : m->font, im);
    if (mode == 0) {
        im->cursor_show = 0;
        im->cursor_firstvalue = 4;
        im->cursor_lastvalue = 4;
    } else {
        img_graphics_state& g = im->graphics;
        g.x = static_cast<float>(width * 0.5);
        g.y = static_cast<float>(height / 2);
        g.view_x2 = width - 1;
        g.view_y2 = height - 1;
        g.window_x2 = static_cast<float>(width - 1);
        g.window_y2 = static_cast<float>(height - 1);
        g.scaling_x = 1;
        g.scaling_y = 1;
    }
    return index;
}

int32_t imgnew(int32_t width, int32_t height, int32_t mode) {
    const legacy_mode_info* m = legacy_mode(mode);
    if (!m || width <= 0 || height <= 0) return 0;
    int64_t bytes = static_cast<int64_t>(width) * height * m->bytes_per_pixel;
    if (bytes > img_max_bytes) return 0;
    if (mode == 0 && static_cast<int64_t>(width) * height > img_max_text_cells) return 0;
    auto* pixels = static_cast<uint8_t*>(calloc(static_cast<size_t>(bytes), 1));
    if (!pixels) return 0;
    if (mode == 0) {
        for (int64_t i = 0; i < bytes; i += 2) memcpy(pixels + i, &blank_text_cell, 2);
    }
    int32_t index = imgframe(pixels, width, height, mode);
    if (!index) {
        free(pixels);
        return 0;
    }
    img_get(index)->flags |= IMG_FREEMEM;
    if (mode == 32) init_blend();
    return index;
}
