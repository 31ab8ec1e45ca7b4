// The per-mode defaults every new record receives, and the text-font rule.
#include <vector>

#include "draw/blend.h"
#include "image/image_fixture.h"

using ModeDefaults = ImageTest;

namespace {

struct mode_row {
    int32_t mode, width, height;
    uint8_t bits, bytes;
    uint32_t mask;
    int32_t font;
    uint32_t color, background;
    int16_t bottom_row;
    std::vector<std::pair<int, uint32_t>> palette;  // spot entries
};

std::vector<std::pair<int, uint32_t>> first_of_256(int n) {
    std::vector<std::pair<int, uint32_t>> v;
    for (int i = 0; i < n; i++) v.emplace_back(i, palette_256[i]);
    return v;
}

}  // namespace

TEST_F(ModeDefaults, EveryModeGetsItsSizeDepthFontColoursAndPalette) {
    const mode_row rows[] = {
        {0, 80, 25, 16, 2, 0xFFFF, 16, 7, 0, 24, first_of_256(16)},
        {1, 320, 200, 2, 1, 3, 8, 3, 0, 24, {{0, 0xFF000000}, {1, 0xFF00AAAA}, {2, 0xFFAA00AA}, {3, 0xFFAAAAAA}, {4, 0}}},
        {2, 640, 200, 1, 1, 1, 8, 1, 0, 24, {{0, 0x00000000}, {1, 0x00FFFFFF}, {2, 0}}},
        {7, 320, 200, 4, 1, 15, 8, 15, 0, 24, first_of_256(16)},
        {8, 640, 200, 4, 1, 15, 8, 15, 0, 24, first_of_256(16)},
        {9, 640, 350, 4, 1, 15, 14, 15, 0, 24, {{0, 0xFF000000}, {6, 0xFFAA5500}, {8, 0xFF555555}, {15, 0xFFFFFFFF}}},
        {10, 640, 350, 2, 1, 3, 14, 3, 0, 24, {{0, 0}, {3, 0}, {4, 0}, {5, 4}, {6, 6}, {7, 8}}},
        {11, 640, 480, 1, 1, 1, 16, 1, 0, 29, {{0, 0x00000000}, {1, 0x00FFFFFF}}},
        {12, 640, 480, 4, 1, 15, 16, 15, 0, 29, first_of_256(16)},
        {13, 320, 200, 8, 1, 255, 8, 15, 0, 24, first_of_256(256)},
        {256, 100, 60, 8, 1, 255, 16, 15, 0, 2, first_of_256(256)},
        {32, 8, 8, 32, 4, 0xFFFFFFFF, 16, 0xFFFFFFFF, 0xFF000000, 1, {}},
    };
    for (const mode_row& r : rows) {
        const legacy_mode_info* info = legacy_mode(r.mode);
        ASSERT_NE(info, nullptr) << r.mode;
        int32_t w = info->page_width ? info->page_width : r.width;
        int32_t h = info->page_height ? info->page_height : r.height;
        ASSERT_EQ(w, r.width);
        ASSERT_EQ(h, r.height);
        int32_t index = imgnew(w, h, r.mode);
        ASSERT_NE(index, 0) << r.mode;
        const img_struct* im = img_get(index);
        SCOPED_TRACE(r.mode);
        EXPECT_EQ(im->legacy_mode, r.mode);
        EXPECT_EQ(im->width, r.width);
        EXPECT_EQ(im->height, r.height);
        EXPECT_EQ(im->bits_per_pixel, r.bits);
        EXPECT_EQ(im->bytes_per_pixel, r.bytes);
        EXPECT_EQ(im->pixel_mask, r.mask);
        EXPECT_EQ(im->font, r.font);
        EXPECT_EQ(info->font ? info->font : 16, r.font);
        EXPECT_EQ(im->color, r.color);
        EXPECT_EQ(im->draw_color, r.color);
        EXPECT_EQ(im->background_color, r.background);
        EXPECT_EQ(im->print_mode, 3);
        EXPECT_EQ(im->graphics.draw_angle, 0);
        EXPECT_EQ(im->graphics.draw_scale, 1);
        EXPECT_EQ(im->cursor_x, 1);
        EXPECT_EQ(im->cursor_y, 1);
        EXPECT_EQ(im->top_row, 1);
        EXPECT_EQ(im->bottom_row, r.bottom_row);
        EXPECT_EQ(im->flags, IMG_FREEMEM | (r.mode == 32 ? 0 : IMG_FREEPALETTE));
        if (r.mode == 32) {
            EXPECT_EQ(im->palette, nullptr);
            EXPECT_EQ(im->clear_color, 0);
        } else {
            ASSERT_NE(im->palette, nullptr);
            EXPECT_EQ(im->clear_color, -1);
            // Entries the mode does not name are zero, never left over.
            if (r.mode != 13 && r.mode != 256) {
                EXPECT_EQ(im->palette[200], 0u);
            }
        }
        for (auto [i, v] : r.palette) EXPECT_EQ(im->palette[i], v) << "entry " << i;
        if (r.mode == 0) {
            EXPECT_EQ(im->text, 1);
            EXPECT_EQ(im->cursor_show, 0);
            EXPECT_EQ(im->cursor_firstvalue, 4);
            EXPECT_EQ(im->cursor_lastvalue, 4);
            uint16_t cell;
            memcpy(&cell, im->pixels + 2 * (80 * 25 - 1), 2);
            EXPECT_EQ(cell, blank_text_cell);
        } else {
            const img_graphics_state& g = im->graphics;
            EXPECT_EQ(im->text, 0);
            EXPECT_EQ(g.x, r.width * 0.5f);
            EXPECT_EQ(g.y, static_cast<float>(r.height / 2));
            EXPECT_EQ(g.view_x1, 0);
            EXPECT_EQ(g.view_y1, 0);
            EXPECT_EQ(g.view_x2, r.width - 1);
            EXPECT_EQ(g.view_y2, r.height - 1);
            EXPECT_EQ(g.window_x2, r.width - 1);
            EXPECT_EQ(g.window_y2, r.height - 1);
            EXPECT_EQ(g.scaling_x, 1);
            EXPECT_EQ(g.scaling_y, 1);
            EXPECT_EQ(g.clipping_or_scaling, 0);
            EXPECT_EQ(im->pixels[static_cast<size_t>(r.width) * r.height * r.bytes - 1], 0);
        }
    }
}

TEST_F(ModeDefaults, ModesThatDoNotExist) {
    for (int32_t mode : {-1, 3, 4, 5, 6, 14, 31, 33, 255, 257}) {
        EXPECT_EQ(legacy_mode(mode), nullptr) << mode;
        EXPECT_EQ(imgnew(8, 8, mode), 0) << mode;
    }
    for (int32_t mode : {0, 1, 2, 7, 8, 9, 10, 11, 12, 13}) EXPECT_TRUE(legacy_mode(mode)->screen) << mode;
    EXPECT_FALSE(legacy_mode(256)->screen);
    EXPECT_FALSE(legacy_mode(32)->screen);
}

TEST_F(ModeDefaults, TextFontFollowsTheGeometry) {
    const struct {
        int32_t columns, rows, font;
    } rows[] = {{80, 25, 16}, {40, 25, 17}, {80, 42, 16}, {80, 43, 14}, {80, 49, 14}, {40, 43, 15},
                {80, 50, 8},  {40, 50, 9},  {41, 25, 16}, {1, 1, 17},   {120, 60, 8}};
    for (const auto& r : rows) {
        EXPECT_EQ(text_font_for(r.columns, r.rows), r.font) << r.columns << "x" << r.rows;
        int32_t index = imgnew(r.columns, r.rows, 0);
        EXPECT_EQ(img_get(index)->font, r.font);
        EXPECT_EQ(img_get(index)->bottom_row, r.rows > 1 ? r.rows - 1 : 1);
    }
}

TEST_F(ModeDefaults, OddHeightsAndLimits) {
    int32_t index = imgnew(11, 101, 12);
    EXPECT_EQ(img_get(index)->graphics.x, 5.5f);
    EXPECT_EQ(img_get(index)->graphics.y, 50.0f);
    EXPECT_EQ(imgframe(nullptr, 0, 10, 12), 0);
    EXPECT_EQ(imgframe(nullptr, 65536, 1, 12), 0);
    EXPECT_EQ(imgframe(nullptr, 32768, 1, 0), 0);
    int32_t before = image_table_next();
    EXPECT_EQ(imgnew(65535, 65535, 32), 0);  // beyond 2^31 - 1 bytes
    EXPECT_EQ(image_table_next(), before);
}

TEST_F(ModeDefaults, TheFirst32BitImageBuildsTheBlendTables) {
    blend_reset_for_tests();
    EXPECT_EQ(cblend[255 * 65536 + 200 * 256 + 3], 0);
    imgnew(1, 1, 32);
    EXPECT_EQ(cblend[255 * 65536 + 200 * 256 + 3], 200);
}
