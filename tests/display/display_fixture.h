// Frame producer tests: a clean image table, producer and flags, recorded alerts, a
// fake clock, a fake presenter, and expectations computed from the glyph ROMs and
// the VGA colour values rather than from the producer's own tables.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/runtime_flags.h"
#include "display/display.h"
#include "font/glyphs.h"
#include "glut/glut_setup.h"
#include "image/image_fixture.h"
#include "platform/alert.h"
#include "screen/lock_display.h"
#include "support/fake_clock.h"

// The 16 CGA/EGA colours of the default palette.
constexpr uint32_t vga16[16] = {0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA,
                                0xFFAA5500, 0xFFAAAAAA, 0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF,
                                0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF};

// Glyph pixel of the ROM (one bit per pixel, most significant bit left).
inline bool rom_ink(int32_t cell_height, uint8_t c, int32_t x, int32_t y) {
    // A 14-line cell shows rows 1 to 14 of the 8x16 glyph.
    const unsigned char* rom = cell_height == 8    ? glyph_rom_8x8 + c * 8
                               : cell_height == 14 ? glyph_rom_8x16 + c * 16 + 1
                                                   : glyph_rom_8x16 + c * 16;
    return (rom[y] >> (7 - x)) & 1;
}

class DisplayTest : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        runtime_flags_reset_for_tests();
        glyphs_global_init();
        display_reset_for_tests();
        lock_display_reset_for_tests();
        screen_hide.store(0);
        alerts().clear();
        gui_alert_set_backend(record_alert);
    }
    void TearDown() override {
        gui_alert_set_backend(nullptr);
        display_reset_for_tests();
        runtime_flags_reset_for_tests();
        ImageTest::TearDown();
    }

    static std::vector<std::string>& alerts() {
        static std::vector<std::string> list;
        return list;
    }
    static int32_t record_alert(const char* message, const char*, const char*) {
        alerts().push_back(message);
        return 1;
    }

    static display_frame_record* slot(int32_t i) { return display_frame_slot(i); }
    static void set_slot(int32_t i, int32_t state, int64_t order) {
        slot(i)->state.store(state);
        slot(i)->order.store(order);
    }
    static int32_t count_in(int32_t state) {
        int32_t n = 0;
        for (int32_t i = 0; i < display_frame_count; i++) n += slot(i)->state.load() == state;
        return n;
    }

    // The presenter's hand-over: the newest ready slot above the shown one becomes
    // shown, older ready or shown slots free. Returns the slot shown, or null.
    static display_frame_record* present() {
        display_frame_record* current = nullptr;
        for (int32_t i = 0; i < display_frame_count; i++)
            if (slot(i)->state.load() == FRAME_SHOWN) current = slot(i);
        int64_t floor = current ? current->order.load() : 0;
        display_frame_record* newest = nullptr;
        for (int32_t i = 0; i < display_frame_count; i++) {
            display_frame_record* s = slot(i);
            if (s->state.load() == FRAME_READY && s->order.load() > floor &&
                (!newest || s->order.load() > newest->order.load()))
                newest = s;
        }
        if (!newest) return current;
        for (int32_t i = 0; i < display_frame_count; i++) {
            display_frame_record* s = slot(i);
            if (s == newest || s->order.load() >= newest->order.load()) continue;
            if (!display_frame_transition(s, FRAME_READY, FRAME_FREE)) display_frame_transition(s, FRAME_SHOWN, FRAME_FREE);
        }
        display_frame_transition(newest, FRAME_READY, FRAME_SHOWN);
        return newest;
    }

    // One producer call; the slot it produced into, or null when it produced nothing.
    static display_frame_record* produce() {
        int64_t order = display_frame_order_next.load();
        display();
        for (int32_t i = 0; i < display_frame_count; i++)
            if (slot(i)->order.load() == order && slot(i)->state.load() == FRAME_READY) return slot(i);
        return nullptr;
    }

    static uint32_t at(const display_frame_record* f, int32_t x, int32_t y) {
        return f->pixels[static_cast<size_t>(y) * f->w + x];
    }
    static std::vector<uint32_t> pixels_of(const display_frame_record* f) {
        return {f->pixels, f->pixels + static_cast<size_t>(f->w) * f->h};
    }

    // SCREEN 0 in the text geometry WIDTH would ask for (font by geometry).
    static img_struct* text_page(int32_t cols, int32_t rows) {
        sub_screen_width_in_characters = cols;
        sub_screen_height_in_characters = rows;
        return img_get(screen(0));
    }
    // An image of a mode shown as the display page without SCREEN, so that the
    // producer's own change detection is what decides (SCREEN would redraw all).
    static img_struct* graphics_page(int32_t w, int32_t h, int32_t mode) {
        int32_t index = imgnew(w, h, mode);
        set_display_page(index);
        set_write_page(index);
        return img_get(index);
    }
    static void put_cell(img_struct* im, int32_t col, int32_t row, uint8_t c, uint8_t a) {
        size_t i = (static_cast<size_t>(row) * im->width + col) * 2;
        im->pixels[i] = c;
        im->pixels[i + 1] = a;
    }

    fake_clock clock;
};
