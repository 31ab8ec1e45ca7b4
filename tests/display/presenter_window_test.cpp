// The window following the frame: snap-back, auto-resize keeping the frame's aspect,
// resizes that are never reported, and full-screen transitions.
#include "display/presenter_fixture.h"

namespace {

using PresenterWindow = PresenterTest;
using size = std::pair<int32_t, int32_t>;

TEST_F(PresenterWindow, SnapBackAsksForTheFrameSize) {
    window_size(800, 600);
    produced(2, 1, 640, 480);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::reshapes, std::vector<size>{size(640, 480)});
    EXPECT_EQ(resize_pending.load(), 1);
    EXPECT_EQ(resize_snapback_x.load(), 640);
    EXPECT_FLOAT_EQ(resize_auto_ideal_aspect.load(), 640.0f / 480.0f);
}

TEST_F(PresenterWindow, WithoutSnapBackOnlyANewFrameSizeResizesTheWindow) {
    resize_snapback = 0;
    window_size(800, 600);
    produced(2, 1, 640, 400);  // the size the window was last matched to
    GLUT_DISPLAY_REQUEST();
    EXPECT_TRUE(fake_window::reshapes.empty());
    produced(1, 2, 320, 200);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::reshapes, std::vector<size>{size(320, 200)});
}

struct auto_case {
    size before, after;  // the last two reported window sizes
    size asked;          // {0, 0}: no request
};

TEST_F(PresenterWindow, AutoResizeKeepsTheDimensionThatChangedAndFollowsTheFramesAspect) {
    const auto_case cases[] = {
        {{640, 400}, {800, 400}, {800, 500}},    // width changed: height follows
        {{640, 400}, {640, 500}, {800, 500}},    // height changed: width follows
        {{640, 400}, {700, 600}, {960, 600}},    // both, the height more
        {{640, 400}, {1000, 450}, {1000, 625}},  // both, the width more
        {{640, 400}, {740, 500}, {800, 500}},    // both by as much: the height is kept
        {{640, 400}, {960, 600}, {0, 0}},        // the frame's own aspect is accepted
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.after.first << "x" << c.after.second);
        presenter_reset_for_tests();
        presenter_set_window_ops(&fake_window::ops);
        fake_window::reset();
        resize_auto = 1;
        resize_snapback = 0;
        resize_snapback_x = 320;
        resize_snapback_y = 200;
        window_size(c.before.first, c.before.second);
        window_size(c.after.first, c.after.second);
        produced(2, 1, 320, 200);
        GLUT_DISPLAY_REQUEST();
        if (c.asked.first == 0) {
            EXPECT_TRUE(fake_window::reshapes.empty());
        } else {
            EXPECT_EQ(fake_window::reshapes, std::vector<size>{c.asked});
            EXPECT_FLOAT_EQ(resize_auto_accept_aspect.load(), float(c.asked.first) / float(c.asked.second));
        }
        display_reset_for_tests();
        fake_gl::calls.clear();
    }
}

TEST_F(PresenterWindow, AskingForTheCurrentSizeLeavesNoResizePending) {
    resize_auto = 1;
    resize_snapback = 0;
    resize_snapback_x = 320;
    resize_snapback_y = 200;
    window_size(640, 400);
    window_size(801, 500);  // 801 / 1.6 = 500: the size it asks for is the size it has
    produced(2, 1, 320, 200);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::reshapes, std::vector<size>{size(801, 500)});
    EXPECT_EQ(resize_pending.load(), 0);
}

// X carries the window's size in 16 unsigned bits: a wider or taller frame asks for
// the largest window, and once the window has that size nothing stays pending.
TEST_F(PresenterWindow, AFrameBeyondSixteenBitsAsksForTheLargestWindow) {
    const struct {
        int32_t fw, fh;
        size asked;
    } cases[] = {
        {80000, 16, {65535, 16}},  // a SCREEN 0 row of 5,000 columns of 16-pixel glyphs
        {8, 65536, {8, 65535}},
        {65535, 8, {65535, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fw << "x" << c.fh);
        fake_window::reset();
        window_size(640, 400);
        produced(2, 1, c.fw, c.fh);
        GLUT_DISPLAY_REQUEST();
        EXPECT_EQ(fake_window::reshapes, std::vector<size>{c.asked});
        window_size(c.asked.first, c.asked.second);
        EXPECT_EQ(resize_pending.load(), 0);
        produced(1, 2, c.fw, c.fh);
        GLUT_DISPLAY_REQUEST();
        EXPECT_EQ(resize_pending.load(), 0) << "asking again for the size the window has";
        display_reset_for_tests();
        fake_gl::calls.clear();
    }
}

TEST_F(PresenterWindow, AutoResizeOfAVeryWideFrameAsksForTheWidestWindow) {
    resize_auto = 1;
    resize_snapback = 0;
    resize_snapback_x = 80000;
    resize_snapback_y = 16;
    window_size(640, 400);
    window_size(640, 500);  // the height changed: the width follows the frame's aspect of 5,000
    produced(2, 1, 80000, 16);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::reshapes, std::vector<size>{size(65535, 500)});
}

TEST_F(PresenterWindow, AResizeNeverReportedStopsBeingPendingAfterASecond) {
    window_size(800, 600);
    produced(2, 1, 640, 480);
    GLUT_DISPLAY_REQUEST();
    ASSERT_EQ(resize_pending.load(), 1);
    full_screen_set = 2;
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::full_screens, 0) << "full screen did not wait for the resize";
    clock.sleep(1001);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(resize_pending.load(), 0);
    EXPECT_EQ(fake_window::full_screens, 1);
}

TEST_F(PresenterWindow, FullScreenIsEnteredOnceAndLeftAtTheFrameSize) {
    window_size(320, 200);
    produced(2, 1, 320, 200);
    full_screen_set = 2;
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::full_screens, 1);
    EXPECT_EQ(full_screen.load(), 2);
    EXPECT_EQ(full_screen_set.load(), -1);

    // From one full-screen kind to the other: no new request to the library.
    full_screen_set = 1;
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::full_screens, 1);
    EXPECT_EQ(full_screen.load(), 1);

    window_size(1024, 768);
    GLUT_DISPLAY_REQUEST();
    EXPECT_TRUE(fake_window::reshapes.empty()) << "the window followed the frame in full screen";

    full_screen_set = 0;
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(full_screen.load(), 0);
    EXPECT_EQ(fake_window::reshapes, std::vector<size>{size(320, 200)});
    EXPECT_EQ(resize_pending.load(), 1);
    // The library restores the size from before full screen: the frame size is asked again.
    window_size(640, 400);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::reshapes.back(), size(320, 200));
}

TEST_F(PresenterWindow, FullScreenSquarePixelsLetterboxesAndScales) {
    window_size(320, 200);
    produced(2, 1, 320, 200);
    full_screen_set = 2;
    GLUT_DISPLAY_REQUEST();
    window_size(800, 400);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(environment_2d__screen_x1.load(), 80);
    EXPECT_EQ(environment_2d__screen_x2.load(), 719);
    EXPECT_EQ(environment_2d__screen_x_scale.load(), 2.0f);
    EXPECT_EQ(environment_2d__letterbox.load(), 1);
}

}  // namespace
