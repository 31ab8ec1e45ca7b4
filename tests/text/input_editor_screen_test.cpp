// INPUT on screen images: keys from the BIOS keyboard buffer, the echoed line, and the page restored on Backspace.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <string>
#include <vector>

#include "core/runtime_flags.h"
#include "display/display.h"
#include "glut/glut_setup.h"
#include "image/image_statements.h"
#include "input/bios_keyboard.h"
#include "input/keyboard.h"
#include "number/type_word.h"
#include "text/input_editor.h"
#include "support/fake_clock.h"
#include "text/text_fixture.h"

namespace {

class ScreenInput : public TextTest {
  protected:
    void SetUp() override {
        TextTest::SetUp();
        keyboard_reset_for_tests();
        input_editor_reset_for_tests();
    }
    static void keys(const std::string& typed) {
        for (char c : typed) bios_keyboard_queue(static_cast<uint8_t>(c), 0);
    }
    static std::vector<uint8_t> page_bytes() {
        const img_struct* im = write_page();
        const size_t size = static_cast<size_t>(im->width) * im->height * im->bytes_per_pixel;
        return std::vector<uint8_t>(im->pixels, im->pixels + size);
    }
};

TEST_F(ScreenInput, BackspaceRestoresThePageExactly) {
    for (int32_t mode : {0, 12}) {
        if (mode) screen(mode);
        else text_page(80, 25);
        at(5, 1);
        print_line("under");
        at(5, 1);
        const std::vector<uint8_t> before = page_bytes();
        int16_t value = 9;
        zvs_input_target(1, 16, &value);
        keys("\b12\b\b\r");
        zvs_input(1, 0);
        EXPECT_EQ(page_bytes(), before) << "mode " << mode;
        EXPECT_EQ(value, 0) << "mode " << mode;
        EXPECT_EQ(x(), 1) << "mode " << mode;
    }
}

// While waiting, the graphics cursor is the cell at the text cursor XORed with the
// foreground colour (one pixel wide on 32-bit images, alpha flipped too); the page
// is exact again once the key arrives.
TEST_F(ScreenInput, GraphicsCursorIsDrawnWhileWaitingAndErasedExactly) {
    for (int32_t mode : {12, 32}) {
        if (mode == 12) {
            screen(12);
        } else {
            const int32_t handle = func__newimage(640, 480, 32, 1);
            set_write_page(-handle);
            set_read_page(-handle);
        }
        img_struct* im = write_page();
        im->color = mode == 12 ? 15u : 0xFF00FF00u;
        at(5, 3);
        const std::vector<uint8_t> before = page_bytes();
        const size_t bpp = im->bytes_per_pixel;
        const size_t first = (static_cast<size_t>(64) * im->width + 16) * bpp;  // row 5, column 3
        const size_t beside = first + bpp;
        std::atomic<uint32_t> seen_first{0}, seen_beside{0};
        std::thread typist([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            uint32_t a = 0, b = 0;
            std::memcpy(&a, im->pixels + first, bpp);
            std::memcpy(&b, im->pixels + beside, bpp);
            seen_first = a;
            seen_beside = b;
            keys("\r");
        });
        int16_t value = 0;
        zvs_input_target(1, 16, &value);
        zvs_input(1, 0);
        typist.join();
        if (mode == 12) {
            EXPECT_EQ(seen_first.load(), 15u);
            EXPECT_EQ(seen_beside.load(), 15u) << "a built-in font's cell is 8 pixels wide";
        } else if (seen_first.load()) {  // the 32-bit cursor blinks; when shown, it is one pixel wide
            EXPECT_EQ(seen_first.load(), 0xFF00FF00u) << "a new 32-bit image is 0, alpha included";
            EXPECT_EQ(seen_beside.load(), 0u);
        }
        EXPECT_EQ(page_bytes(), before) << "mode " << mode;
    }
}

// On a 32-bit image the cursor blinks with bit 0x200 of the millisecond clock.
TEST_F(ScreenInput, CursorBlinksWithTheClockOn32BitImages) {
    fake_clock clock;
    const int32_t handle = func__newimage(640, 480, 32, 1);
    set_write_page(-handle);
    set_read_page(-handle);
    img_struct* im = write_page();
    im->color = 0xFFFFFFFFu;
    std::atomic<int32_t> shown{0}, hidden{0};
    std::thread typist([&] {
        for (int32_t k = 0; k < 2000 && !(shown.load() > 0 && hidden.load() > 0); ++k) {
            uint32_t p = 0;
            std::memcpy(&p, im->pixels, sizeof p);
            (p ? shown : hidden).fetch_add(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        keys("\r");
    });
    int16_t value = 0;
    zvs_input_target(1, 16, &value);
    zvs_input(1, 0);
    typist.join();
    EXPECT_GT(shown.load(), 0);
    EXPECT_GT(hidden.load(), 0);
    uint32_t p = 1;
    std::memcpy(&p, im->pixels, sizeof p);
    EXPECT_EQ(p, 0u);
}

TEST_F(ScreenInput, RefusedKeyLeavesNoTraceAndTheValueIsStored) {
    text_page(80, 25);
    at(3, 1);
    int16_t value = 0;
    zvs_input_target(1, 16, &value);
    keys("32768\r");
    zvs_input(1, 1);
    EXPECT_EQ(value, 3276);
    EXPECT_EQ(row(3).substr(0, 6), "3276  ");
    EXPECT_EQ(y(), 4) << "finish_line moves to the next line";
}

TEST_F(ScreenInput, TabSpacesAreCheckedLikeTypedSpaces) {
    text_page(80, 25);
    zvs* s = zvs_new(0, 0);
    int16_t n = 0;
    zvs_input_target(1, type_word_string, s);
    zvs_input_target(2, 16, &n);
    keys("\t,\t7\r");
    zvs_input(2, 0);
    EXPECT_EQ(str(s), std::string(8, ' '));
    EXPECT_EQ(n, 7);
    EXPECT_EQ(row(1).substr(0, 11), std::string(8, ' ') + ",7 ");
}

// Manual display before the statement: one produced frame hands it back, a hidden
// screen switches back at once.
TEST_F(ScreenInput, ManualDisplayIsHandedBackAfterOneFrame) {
    text_page(80, 25);
    std::atomic<int32_t> frames{0};
    std::atomic<bool> done{false};
    std::thread producer([&] {
        while (!done.load()) {
            int32_t expected = -1;
            if (autodisplay.compare_exchange_strong(expected, 0)) frames.fetch_add(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    autodisplay.store(0);
    int16_t value = 0;
    zvs_input_target(1, 16, &value);
    keys("5\r");
    zvs_input(1, 0);
    done.store(true);
    producer.join();
    EXPECT_EQ(value, 5);
    EXPECT_EQ(frames.load(), 1);
    EXPECT_EQ(autodisplay.load(), 0);
    autodisplay.store(1);
}

TEST_F(ScreenInput, HiddenScreenSkipsTheHandBack) {
    text_page(80, 25);
    int16_t value = 0;
    zvs_input_target(1, 16, &value);
    screen_hide.store(1);
    autodisplay.store(0);
    keys("\r");
    zvs_input(1, 0);
    EXPECT_EQ(autodisplay.load(), 0);
    screen_hide.store(0);
    autodisplay.store(1);
}

TEST_F(ScreenInput, StopWhileWaitingForAKeyReturnsAtOnce) {
    text_page(80, 25);
    int16_t value = 0;
    zvs_input_target(1, 16, &value);
    std::thread stopper([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        stop_program.store(1);
    });
    zvs_input(1, 0);
    stopper.join();
    stop_program.store(0);
    EXPECT_EQ(value, 0);
}

}  // namespace
