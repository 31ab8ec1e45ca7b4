// The software screen in the window: pictures captured from the window equal the
// page pixel for pixel, scaled and letterboxed as the window and full-screen state
// ask; _DISPLAY holds the picture; a hardware image put on the screen shows until
// it is freed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "palette/palette.h"
#include "programs/patterns.h"
#include "support/child.h"
#include "support/x11_capture.h"
#include "support/x11_probe.h"

namespace {

// The 16 colours of SCREEN 12's default palette.
constexpr uint32_t vga16[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
                                0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};

using expected_picture = std::function<uint32_t(int32_t x, int32_t y)>;

uint32_t mode13_colour(int32_t x, int32_t y) {
    static bool ready = false;
    if (!ready) {
        palette_global_init();
        ready = true;
    }
    return palette_256[pattern_mode13(x, y)] & 0xFFFFFF;
}

// Pixels of the picture that differ from the expectation (all of them when the
// size differs).
int64_t differences(const x11_picture& p, int32_t width, int32_t height, const expected_picture& expected) {
    if (p.width != width || p.height != height) return int64_t{width} * height;
    int64_t n = 0;
    for (int32_t y = 0; y < height; y++)
        for (int32_t x = 0; x < width; x++) n += p.at(x, y) != expected(x, y);
    return n;
}

class Presenter : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/zv_present_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override {
        if (program.pid > 0) {
            x11_send_close(window);
            child_wait(program, 5000);
        }
        for (const char* f : {"ready1", "go1", "ready2", "go2"}) unlink((folder + "/" + f).c_str());
        rmdir(folder.c_str());
    }

    // Starts the scenario and waits for its window, moved to (0, 0).
    void start(const std::string& scenario) {
        program = child_start({ZV_E2E_PRESENT, scenario, folder});
        window = x11_wait_for_window("Untitled", 10000).id;
        ASSERT_NE(window, 0u) << "no window";
        ASSERT_TRUE(xdotool_move(window, 0, 0));
    }

    // Waits until the window shows the picture; the differing pixels of the last look.
    int64_t wait_for(int32_t width, int32_t height, const expected_picture& expected, int timeout_ms = 5000) {
        int64_t deadline = monotonic_ms() + timeout_ms;
        int64_t n;
        do {
            n = differences(x11_capture(window), width, height, expected);
            if (n == 0) return 0;
            usleep(30000);
        } while (monotonic_ms() < deadline);
        return n;
    }

    bool wait_for_size(int32_t width, int32_t height, int timeout_ms = 5000) {
        int64_t deadline = monotonic_ms() + timeout_ms;
        do {
            int32_t w = 0, h = 0;
            if (x11_window_size(window, &w, &h) && w == width && h == height) return true;
            usleep(10000);
        } while (monotonic_ms() < deadline);
        return false;
    }

    // The program's step handshake.
    bool reached(int32_t n, int timeout_ms = 10000) {
        std::string ready = folder + "/ready" + std::to_string(n);
        int64_t deadline = monotonic_ms() + timeout_ms;
        struct stat st;
        while (stat(ready.c_str(), &st) != 0) {
            if (monotonic_ms() > deadline) return false;
            usleep(10000);
        }
        return true;
    }
    void go(int32_t n) {
        if (FILE* f = fopen((folder + "/go" + std::to_string(n)).c_str(), "w")) fclose(f);
    }

    std::string folder;
    child_process program;
    unsigned long window = 0;
};

const expected_picture screen12 = [](int32_t x, int32_t y) { return vga16[pattern_mode12(x, y)]; };
const expected_picture screen13 = mode13_colour;

TEST_F(Presenter, Screen12PageFillsTheWindowPixelForPixel) {
    start("12");
    EXPECT_TRUE(wait_for_size(640, 480)) << "the window did not take the frame's size";
    EXPECT_EQ(wait_for(640, 480, screen12), 0);
}

TEST_F(Presenter, Screen13PageAtItsOwnSize) {
    start("13");
    EXPECT_TRUE(wait_for_size(320, 200));
    EXPECT_EQ(wait_for(320, 200, screen13), 0);
}

TEST_F(Presenter, ThirtyTwoBitPageIsCopiedExactly) {
    start("32");
    EXPECT_EQ(wait_for(640, 480, [](int32_t x, int32_t y) { return pattern_32bit(x, y) & 0xFFFFFF; }), 0);
}

// A program that sleeps with its picture on screen makes the window swap nothing.
TEST_F(Presenter, WhileTheProgramSleepsTheWindowIsNotRedrawn) {
    start("sleep");
    ASSERT_EQ(wait_for(640, 480, screen12), 0);
    ASSERT_TRUE(reached(1));
    go(1);
    ASSERT_TRUE(reached(2));
    auto swaps_in = [this](const char* name) {
        int swaps = -1;
        if (FILE* f = fopen((folder + "/" + name).c_str(), "r")) {
            if (fscanf(f, "%d", &swaps) != 1) swaps = -1;
            fclose(f);
        }
        unlink((folder + "/" + name).c_str());
        return swaps;
    };
    EXPECT_EQ(swaps_in("swaps_asleep"), 0) << "swaps during SLEEP 2 of an unchanged picture";
    EXPECT_GE(swaps_in("swaps_after_drawing"), 1);
    // The new picture is on screen.
    EXPECT_EQ(wait_for(640, 480, [](int32_t x, int32_t y) { return vga16[(pattern_mode12(x, y) + 3) % 16]; }), 0);
    go(2);
}

TEST_F(Presenter, DisplayHoldsThePictureUntilTheNextDisplay) {
    start("display");
    ASSERT_EQ(wait_for(640, 480, screen12), 0);
    ASSERT_TRUE(reached(1));
    // The page now holds the second picture, drawn without _DISPLAY.
    for (int i = 0; i < 8; i++) {
        usleep(80000);
        ASSERT_EQ(differences(x11_capture(window), 640, 480, screen12), 0) << "the window changed without _DISPLAY";
    }
    go(1);
    EXPECT_EQ(wait_for(640, 480, [](int32_t x, int32_t y) { return vga16[pattern_mode12_second(x, y)]; }), 0);
}

TEST_F(Presenter, HardwareImageShowsWhereItWasPutUntilFreed) {
    start("hardware");
    auto with_sprite = [](int32_t x, int32_t y) {
        if (x >= sprite_x && x < sprite_x + 64 && y >= sprite_y && y < sprite_y + 32)
            return pattern_sprite(x - sprite_x, y - sprite_y) & 0xFFFFFF;
        return vga16[pattern_mode12(x, y)];
    };
    ASSERT_EQ(wait_for(640, 480, screen12), 0);
    ASSERT_TRUE(reached(1));
    go(1);
    EXPECT_EQ(wait_for(640, 480, with_sprite), 0);
    ASSERT_TRUE(reached(2));
    go(2);
    EXPECT_EQ(wait_for(640, 480, screen12), 0);
}

TEST_F(Presenter, ResizedWindowSnapsBackToTheFrameSize) {
    start("12");
    ASSERT_EQ(wait_for(640, 480, screen12), 0);
    ASSERT_TRUE(xdotool_resize(window, 800, 600));
    ASSERT_TRUE(wait_for_size(800, 600, 2000)) << "the resize never arrived";
    int64_t resized = monotonic_ms();
    EXPECT_TRUE(wait_for_size(640, 480, 2000));
    EXPECT_LE(monotonic_ms() - resized, 300);
    EXPECT_EQ(wait_for(640, 480, screen12), 0);
}

TEST_F(Presenter, WithoutSnapBackTheFrameSitsUnscaledTopLeftOverBlack) {
    start("nosnap");
    ASSERT_EQ(wait_for(640, 480, screen12), 0);
    ASSERT_TRUE(xdotool_resize(window, 800, 600));
    EXPECT_EQ(wait_for(800, 600,
                       [](int32_t x, int32_t y) { return x < 640 && y < 480 ? vga16[pattern_mode12(x, y)] : 0u; }),
              0);
    usleep(300000);
    int32_t w = 0, h = 0;
    ASSERT_TRUE(x11_window_size(window, &w, &h));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
}

TEST_F(Presenter, AutoResizeStretchesTheFrameAndKeepsItsAspect) {
    start("13auto");
    ASSERT_EQ(wait_for(320, 200, screen13), 0);
    // The frame's own aspect: accepted and stretched, every pixel doubled.
    ASSERT_TRUE(xdotool_resize(window, 640, 400));
    EXPECT_EQ(wait_for(640, 400, [](int32_t x, int32_t y) { return mode13_colour(x / 2, y / 2); }), 0);
    // Another aspect: the width is kept and the height follows the frame's aspect.
    ASSERT_TRUE(xdotool_resize(window, 800, 400));
    EXPECT_TRUE(wait_for_size(800, 500));
}

// Pixels of a 320 x 200 frame drawn at scale s from window row y0: the inside of
// every 10 x 10 box (away from its edges, where a fractional scale may fall either
// way) must show the box's colour.
int64_t scaled_box_differences(const x11_picture& p, float s, int32_t y0) {
    int64_t n = 0;
    for (int32_t sy = 1; sy < 199; sy++)
        for (int32_t sx = 1; sx < 319; sx++) {
            if (sx % 10 < 2 || sx % 10 > 7 || sy % 10 < 2 || sy % 10 > 7) continue;
            int32_t wx = static_cast<int32_t>((static_cast<float>(sx) + 0.5f) * s);
            int32_t wy = y0 + static_cast<int32_t>((static_cast<float>(sy) + 0.5f) * s);
            n += p.at(wx, wy) != mode13_colour(sx, sy);
        }
    return n;
}

TEST_F(Presenter, SquarePixelFullScreenLetterboxesTopAndBottom) {
    start("13square");
    ASSERT_EQ(wait_for(320, 200, screen13), 0);
    ASSERT_TRUE(reached(1));
    go(1);
    // Without a window manager full screen is the whole X screen, 1024 x 768: the
    // 320 x 200 frame becomes 1024 x 640 from row 64, with black bars above and below.
    ASSERT_TRUE(wait_for_size(1024, 768));
    int64_t deadline = monotonic_ms() + 5000;
    int64_t bars = -1, inside = -1;
    do {
        usleep(50000);
        x11_picture p = x11_capture(window);
        if (p.width != 1024 || p.height != 768) continue;
        bars = 0;
        for (int32_t y = 0; y < 768; y++)
            if (y < 64 || y > 703)
                for (int32_t x = 0; x < 1024; x++) bars += p.at(x, y) != 0;
        inside = scaled_box_differences(p, 3.2f, 64);
    } while ((bars != 0 || inside != 0) && monotonic_ms() < deadline);
    EXPECT_EQ(bars, 0);
    EXPECT_EQ(inside, 0);
    // Leaving full screen ends at the frame size.
    go(2);
    EXPECT_TRUE(wait_for_size(320, 200));
    EXPECT_EQ(wait_for(320, 200, screen13), 0);
}

}  // namespace
