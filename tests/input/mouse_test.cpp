// The mouse ring filled through the window callbacks, the mapping of window pixels
// to the display page, and the cursor statements against a fake windowing library.
#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "display/presenter_environment.h"
#include "glut/glut_backend.h"
#include "glut/glut_queue.h"
#include "glut/window_hooks.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"
#include "input/mouse_functions.h"
#include "input/mouse_ring.h"
#include "input/mouse_statements.h"
#include "string/zvs.h"
#include "support/mouse_fixture.h"

namespace {

class MouseTest : public MouseFixture {
protected:
    static int32_t drain() {
        int32_t n = 0;
        while (func__mouseinput()) ++n;
        return n;
    }
};

TEST_F(MouseTest, MotionAppendsTwoEqualMessagesThatAnInputLoopConsumes) {
    screen(12);
    EXPECT_EQ(func__mouseinput(), 0);
    GLUT_PASSIVEMOTION_FUNC(30, 40);
    EXPECT_EQ(func__mouseinput(), -1);
    EXPECT_EQ(func__mousex(), 30);
    EXPECT_EQ(func__mousey(), 40);
    EXPECT_EQ(func__mouseinput(), -1);
    EXPECT_EQ(func__mousex(), 30);
    EXPECT_EQ(func__mouseinput(), 0);
    GLUT_MOTION_FUNC(5, 6);
    EXPECT_EQ(drain(), 2);
    EXPECT_EQ(func__mousex(), 5);
}

TEST_F(MouseTest, ButtonsAccumulateAndMapToMouseButtonNumbers) {
    screen(12);
    GLUT_MOUSE_FUNC(2, 0, 1, 1);  // right down
    GLUT_MOUSE_FUNC(0, 0, 1, 1);  // left down while right is held
    drain();
    EXPECT_EQ(mouse_current_message().buttons.load(), 5u);
    EXPECT_EQ(func__mousebutton(1), -1);
    EXPECT_EQ(func__mousebutton(2), -1);
    EXPECT_EQ(func__mousebutton(3), 0);
    EXPECT_EQ(func__mousebutton(4), 0);
    GLUT_MOUSE_FUNC(2, 1, 1, 1);  // right up
    GLUT_MOUSE_FUNC(1, 0, 1, 1);  // middle down
    drain();
    EXPECT_EQ(mouse_current_message().buttons.load(), 3u);
    EXPECT_EQ(func__mousebutton(2), 0);
    EXPECT_EQ(func__mousebutton(3), -1);
    // Extra X buttons (8 arrives as 7) are ignored.
    GLUT_MOUSE_FUNC(7, 0, 1, 1);
    GLUT_MouseButton_Down(40, 1, 1);
    EXPECT_EQ(func__mouseinput(), 0);

    EXPECT_EQ(func__mousebutton(0), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func__mousebutton(-3), 0);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(MouseTest, WheelNotchGivesASetThenAClearedMessage) {
    screen(12);
    GLUT_MOUSEWHEEL_FUNC(0, 1, 9, 9);
    ASSERT_EQ(func__mouseinput(), -1);
    EXPECT_EQ(mouse_current_message().buttons.load(), 8u);
    EXPECT_EQ(func__mousewheel(), -1);
    ASSERT_EQ(func__mouseinput(), -1);
    EXPECT_EQ(func__mousewheel(), 0);
    EXPECT_EQ(func__mouseinput(), 0);
    GLUT_MOUSEWHEEL_FUNC(0, -1, 9, 9);
    ASSERT_EQ(func__mouseinput(), -1);
    EXPECT_EQ(func__mousewheel(), 1);
    EXPECT_EQ(drain(), 1);
}

TEST_F(MouseTest, RelativeMotionArrivesThroughTheWindowHookAtTheNewestPosition) {
    window_hooks_reset_for_tests();
    mouse_global_init();
    GLUT_MOUSE_FUNC(0, 0, 12, 34);
    orvo_custom_event(3, 5, -2, 0, 0, 0, 0, 0, 0, nullptr, nullptr);
    window_hooks_reset_for_tests();
    ASSERT_EQ(drain(), 3);
    EXPECT_EQ(func__mousemovementx(), 0);
    const mouse_message& last = mouse_current_message();
    EXPECT_EQ(last.x.load(), 12);
    EXPECT_EQ(last.y.load(), 34);
    EXPECT_EQ(last.buttons.load(), 1u);
    mouse_reset_for_tests();
    orvo_custom_event_relative_mouse_movement(5, -2);
    ASSERT_EQ(func__mouseinput(), -1);
    EXPECT_EQ(func__mousemovementx(), 5);
    EXPECT_EQ(func__mousemovementy(), -2);
    ASSERT_EQ(func__mouseinput(), -1);
    EXPECT_EQ(func__mousemovementx(), 0);
    EXPECT_EQ(func__mousemovementy(), 0);
}

TEST_F(MouseTest, RingHoldsOneLessThanItsSizeUnread) {
    for (int32_t i = 0; i < mouse_message_last; ++i) GLUT_MouseButton_Up(1, i & 0x7FFF, 0);
    EXPECT_EQ(drain(), mouse_message_last);
    // One more than that overwrites the message being looked at and reads as empty.
    mouse_reset_for_tests();
    for (int32_t i = 0; i <= mouse_message_last; ++i) GLUT_MouseButton_Up(1, 0, 0);
    EXPECT_EQ(func__mouseinput(), 0);
}

TEST_F(MouseTest, WindowPixelsMapToThePageCoordinates) {
    struct mapping_case {
        int32_t mode;
        float scale;
        int32_t frame_width;
        int32_t window_x;
        float expected;
    };
    const mapping_case cases[] = {
        {0, 1, 640, 0, 1},   {0, 1, 640, 7, 1},    {0, 1, 640, 8, 2},    {0, 1, 640, 639, 80},
        {0, 1, 640, 900, 80}, {12, 2, 640, 101, 50}, {12, 1, 640, 700, 639}, {12, 1, 640, -20, 0},
        {13, 1, 640, 500, 319},  // the frame is wider than the page
    };
    for (const mapping_case& c : cases) {
        mouse_reset_for_tests();
        screen(c.mode);
        map(0, 0, c.scale, c.frame_width, 480);
        GLUT_MOTION_FUNC(c.window_x, 0);
        drain();
        EXPECT_EQ(func__mousex(), c.expected) << "mode " << c.mode << " window x " << c.window_x;
    }
    // Offset origin, half scale, ties to even: (4 + 0.5) / 0.5 - 0.5 = 8.5 gives 8,
    // (1 + 0.5) / 0.5 - 0.5 = 2.5 gives 2.
    screen(12);
    map(10, 20, 0.5f, 640, 480);
    GLUT_MOTION_FUNC(14, 20 + 1);
    drain();
    EXPECT_EQ(func__mousex(), 8);
    EXPECT_EQ(func__mousey(), 2);
    // Text rows: a 16-pixel font, row 2 starts at y 16.
    screen(0);
    map(0, 0, 1, 640, 400);
    GLUT_MOTION_FUNC(0, 16);
    drain();
    EXPECT_EQ(func__mousey(), 2);
}

TEST_F(MouseTest, DeviceAxisStaysFiniteBeforeTheFirstFrame) {
    EXPECT_FLOAT_EQ(mouse_device_axis(0, 640), -1);
    EXPECT_FLOAT_EQ(mouse_device_axis(639, 640), 1);
    EXPECT_FLOAT_EQ(mouse_device_axis(2000, 640), 1);
    for (int32_t size : {0, 1, -5}) {
        float v = mouse_device_axis(30, size);
        EXPECT_TRUE(std::isfinite(v)) << size;
        EXPECT_FLOAT_EQ(v, -1) << size;
    }
}

TEST_F(MouseTest, HideAndShowPostCursorIdsOnlyWithAWindow) {
    sub__mousehide();
    sub__mouseshow(zvs_new_txt("link"), 1);
    EXPECT_EQ(func__mousehidden(), 0);
    EXPECT_EQ(mouse_cursor_style_now(), 1);

    libzv_glut_set_up_for_tests(true);
    sub__mousehide();
    EXPECT_EQ(func__mousehidden(), -1);
    sub__mouseshow(zvs_new_txt("link"), 1);
    EXPECT_EQ(func__mousehidden(), 0);
    EXPECT_EQ(mouse_cursor_style_now(), 2);
    sub__mousehide();
    sub__mouseshow(zvs_new_txt("hand"), 1);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func__mousehidden(), -1);
    EXPECT_EQ(mouse_cursor_style_now(), 2);
    sub__mouseshow(nullptr, 0);
    sub__mouseshow(zvs_new_txt("Move"), 1);
    sub__mouseshow(zvs_new_txt("topright_bottomleft"), 1);
    EXPECT_EQ(window_calls(), (std::vector<std::string>{"cursor 101", "cursor 2", "cursor 101", "cursor 2",
                                                         "cursor 5", "cursor 17"}));
}

TEST_F(MouseTest, MoveMapsPageCoordinatesToTheWindow) {
    screen(12);
    sub__mousemove(100, 50);
    EXPECT_EQ(take_error(), 5);  // no window

    libzv_glut_set_up_for_tests(true);
    map(10, 20, 2, 640, 480);
    sub__mousemove(100, 50);
    sub__mousemove(639.4f, 0);
    sub__mousemove(640, 0);
    EXPECT_EQ(take_error(), 5);
    sub__mousemove(-1, 0);
    EXPECT_EQ(take_error(), 5);
    sub__mousemove(NAN, 0);
    EXPECT_EQ(take_error(), 5);

    screen(0);  // 80 x 25, font 8 x 16
    map(0, 0, 1, 640, 400);
    sub__mousemove(1, 1);
    sub__mousemove(80.5f, 25.5f);
    sub__mousemove(0.4f, 1);
    EXPECT_EQ(take_error(), 5);
    sub__mousemove(1, 25.6f);
    EXPECT_EQ(take_error(), 5);
    sub__mousemove(1, NAN);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(window_calls(),
              (std::vector<std::string>{"warp 210,120", "warp 1288,20", "warp 4,8", "warp 639,399"}));
}

// X carries the pointer's place in the window in 16 signed bits: on a page wider than
// they reach, the pointer goes as far as they hold, never wrapped to the other side.
TEST_F(MouseTest, MoveKeepsTheWindowPositionInSixteenSignedBits) {
    screen(12);
    int32_t wide = func__newimage(40000, 4, 32, 1);
    zvg_screen(wide, 0, 0, 0, 0, 1);
    ASSERT_EQ(take_error(), 0);
    libzv_glut_set_up_for_tests(true);
    const struct {
        float x, y;
        int32_t x1, y1;
        float scale;
        const char* asked;
    } cases[] = {
        {39999, 3, 0, 0, 1, "warp 32767,3"},
        {20000, 1, 10, 20, 2, "warp 32767,22"},
        {32767, 0, 0, 0, 1, "warp 32767,0"},
        {100, 2, 0, 0, 1, "warp 100,2"},
    };
    for (const auto& c : cases) {
        fake_pointer::calls.clear();
        map(c.x1, c.y1, c.scale, 40000, 4);
        sub__mousemove(c.x, c.y);
        EXPECT_EQ(take_error(), 0);
        EXPECT_EQ(window_calls(), std::vector<std::string>{c.asked}) << c.x << "," << c.y;
    }
}

}  // namespace
