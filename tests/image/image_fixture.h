// A clean image table, palettes, font metrics, screen state and port state for each
// test, and SCREEN without the frame producer (lock_display_required is 0).
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "error/error.h"
#include "font/font_tables.h"
#include "image/hardware_queue.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "memory/cmem.h"
#include "palette/palette.h"
#include "palette/vga_ports.h"
#include "screen/screen.h"

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        error_reset_for_tests();
        palette_global_init();
        font_tables_reset_for_tests();
        screen_reset_for_tests();
        image_table_reset_for_tests();
        hardware_images_reset_for_tests();
        vga_ports_reset_for_tests();
    }
    void TearDown() override {
        image_table_reset_for_tests();
        screen_reset_for_tests();
        hardware_images_reset_for_tests();
        error_reset_for_tests();
    }

    // SCREEN mode: page 0 (for mode 0 the eight text pages in conventional memory)
    // becomes the current image.
    static int32_t screen(int32_t mode) {
        zvg_screen(mode, 0, 0, 0, 0, 1);
        EXPECT_EQ(new_error, 0) << "SCREEN " << mode;
        return page_index(0);
    }

    static int32_t take_error() {
        int32_t e = new_error;
        error_reset_for_tests();
        return e;
    }

    static uint32_t pixel32(const img_struct* im, int32_t x, int32_t y) {
        uint32_t v;
        memcpy(&v, im->pixels + (static_cast<size_t>(y) * im->width + x) * 4, 4);
        return v;
    }
    static void set_pixel32(img_struct* im, int32_t x, int32_t y, uint32_t v) {
        memcpy(im->pixels + (static_cast<size_t>(y) * im->width + x) * 4, &v, 4);
    }
};
