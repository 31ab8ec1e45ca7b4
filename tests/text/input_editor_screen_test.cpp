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
#include "input/bios_keyboard.h"
#include "input/keyboard.h"
#include "number/type_word.h"
#include "text/input_editor.h"
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
