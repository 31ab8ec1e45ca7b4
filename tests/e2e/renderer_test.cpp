// The hardware renderer through the real GL: pixels of puts and 3D triangles read
// back from the window.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/child.h"
#include "support/x11_capture.h"
#include "support/x11_probe.h"

namespace {

constexpr uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF, black = 0;

class Renderer : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/zv_render_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        program = child_start({ZV_E2E_RENDER, folder});
        window = x11_wait_for_window("Untitled", 10000).id;
        ASSERT_NE(window, 0u);
        ASSERT_TRUE(xdotool_move(window, 0, 0));
        // The window settles at the frame size before the hardware frame is drawn.
        int64_t deadline = monotonic_ms() + 10000;
        int32_t w = 0, h = 0;
        while (!(x11_window_size(window, &w, &h) && w == 640 && h == 480) && monotonic_ms() < deadline) usleep(10000);
        struct stat st;
        while (stat((folder + "/ready1").c_str(), &st) != 0 && monotonic_ms() < deadline) usleep(10000);
        if (FILE* f = fopen((folder + "/go1").c_str(), "w")) fclose(f);
        // The picture is complete once the last command's pixel is green.
        do {
            picture = x11_capture(window);
            if (picture.width == 640 && picture.at(60, 400) == green) break;
            usleep(30000);
        } while (monotonic_ms() < deadline);
    }
    void TearDown() override {
        if (program.pid > 0) {
            x11_send_close(window);
            child_wait(program, 5000);
        }
        unlink((folder + "/ready1").c_str());
        unlink((folder + "/go1").c_str());
        rmdir(folder.c_str());
    }

    // Every pixel of the rectangle has the colour; the first one that differs is reported.
    ::testing::AssertionResult area(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
        if (picture.width != 640 || picture.height != 480) return ::testing::AssertionFailure() << "no picture";
        for (int32_t y = y1; y <= y2; y++)
            for (int32_t x = x1; x <= x2; x++)
                if (picture.at(x, y) != colour) {
                    char text[80];
                    snprintf(text, sizeof text, "pixel (%d, %d) is %06X, not %06X", x, y, picture.at(x, y), colour);
                    return ::testing::AssertionFailure() << text;
                }
        return ::testing::AssertionSuccess();
    }

    std::string folder;
    child_process program;
    unsigned long window = 0;
    x11_picture picture;
};

TEST_F(Renderer, PutsScaleMirrorSmoothAndBlend) {
    // A 2 x 2 source to 20 x 20: four exact quadrants.
    EXPECT_TRUE(area(10, 10, 19, 19, red));
    EXPECT_TRUE(area(20, 10, 29, 19, green));
    EXPECT_TRUE(area(10, 20, 19, 29, blue));
    EXPECT_TRUE(area(20, 20, 29, 29, white));
    EXPECT_TRUE(area(9, 9, 30, 9, black));
    // Mirrored left to right.
    EXPECT_TRUE(area(40, 10, 49, 19, green));
    EXPECT_TRUE(area(50, 10, 59, 19, red));
    // One pixel smoothed over 50 x 50 keeps its colour everywhere.
    EXPECT_TRUE(area(70, 10, 119, 59, green));
    // Alpha 128 over white: a half mix; without alpha: a plain copy.
    uint32_t mixed = picture.at(140, 20);
    EXPECT_EQ(mixed >> 16, 0xFFu);
    EXPECT_NEAR(double((mixed >> 8) & 0xFF), 127.5, 1.0);
    EXPECT_NEAR(double(mixed & 0xFF), 127.5, 1.0);
    EXPECT_TRUE(area(150, 10, 169, 29, red));
}

TEST_F(Renderer, PutOntoAHardwareImageIsReproducedFromIt) {
    EXPECT_TRUE(area(200, 10, 207, 17, red));
    EXPECT_TRUE(area(208, 10, 215, 17, green));
    EXPECT_TRUE(area(200, 18, 207, 25, blue));
    EXPECT_TRUE(area(208, 18, 215, 25, white));
}

TEST_F(Renderer, ThreeDTrianglesFollowTheirDepthAndCullModes) {
    EXPECT_TRUE(area(58, 298, 62, 302, red)) << "depth on, nearer drawn first";
    EXPECT_TRUE(area(158, 298, 162, 302, red)) << "depth on, nearer drawn last";
    EXPECT_TRUE(area(258, 298, 262, 302, green)) << "depth off: last drawn";
    EXPECT_TRUE(area(358, 298, 362, 302, green)) << "locked depth writes nothing";
    EXPECT_TRUE(area(458, 298, 462, 302, green)) << "kept by cull mode 1";
    EXPECT_TRUE(area(558, 298, 562, 302, black)) << "culled by cull mode 2";
    EXPECT_TRUE(area(58, 398, 62, 402, green)) << "a depth clear after locked triangles";
}

}  // namespace
