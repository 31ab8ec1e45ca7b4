// A clean image table, palettes and port state for each test, and a stand-in for
// SCREEN that builds page 0 of a legacy mode and makes it the current image.
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "error/error.h"
#include "image/hardware_queue.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "memory/cmem.h"
#include "palette/palette.h"
#include "palette/vga_ports.h"

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        error_reset_for_tests();
        palette_global_init();
        image_table_reset_for_tests();
        hardware_images_reset_for_tests();
        vga_ports_reset_for_tests();
    }
    void TearDown() override {
        image_table_reset_for_tests();
        hardware_images_reset_for_tests();
        error_reset_for_tests();
    }

    // Page 0 (and for mode 0 the eight text pages in conventional memory) of a mode.
    static int32_t screen(int32_t mode) {
        int32_t index;
        if (mode == 0) {
            for (int64_t i = 0; i < 65536; i += 2) {
                cmem[0xB8000 + i] = 0x20;
                cmem[0xB8000 + i + 1] = 0x07;
            }
            index = 0;
            for (int32_t n = 0; n < 8; n++) {
                int32_t p = imgframe(cmem + 0xB8000 + 4096 * n, 80, 25, 0);
                img_get(p)->flags |= IMG_SCREEN;
                page_set(n, p);
                if (n == 0) index = p;
            }
        } else if (mode == 13) {
            memset(cmem + 0xA0000, 0, 64000);
            index = imgframe(cmem + 0xA0000, 320, 200, 13);
        } else {
            const legacy_mode_info* m = legacy_mode(mode);
            index = imgnew(m->page_width, m->page_height, mode);
        }
        img_get(index)->flags |= IMG_SCREEN;
        page_set(0, index);
        set_write_page(index);
        set_read_page(index);
        set_display_page(index);
        return index;
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
