// Where the screen goes in the window, and the one screen-to-window mapping.
#include <gtest/gtest.h>

#include "display/presenter_environment.h"

namespace {

struct environment_case {
    int32_t window_w, window_h, frame_w, frame_h, full_screen, resize_auto;
    int32_t x1, y1, x2, y2;
    float x_scale, y_scale;
    int32_t letterbox;
};

TEST(PresenterEnvironment, ScreenRectangleScaleAndBars) {
    const environment_case cases[] = {
        {640, 400, 320, 200, 2, 0, 0, 0, 639, 399, 2.0f, 2.0f, 0},    // square pixels, equal aspects
        {800, 400, 320, 200, 2, 0, 80, 0, 719, 399, 2.0f, 2.0f, 1},   // wider window: bars left and right
        {640, 480, 640, 400, 2, 0, 0, 40, 639, 439, 1.0f, 1.0f, 2},   // taller window: bars top and bottom
        {800, 600, 640, 480, 0, 0, 0, 0, 639, 479, 1.0f, 1.0f, 0},    // windowed: unscaled at the top left
        {1000, 500, 640, 480, 1, 0, 0, 0, 999, 499, 1.5625f, 500.0f / 480.0f, 0},  // stretched
        {800, 500, 320, 200, 0, 1, 0, 0, 799, 499, 2.5f, 2.5f, 0},    // windowed auto-resize stretches
        {640, 480, 640, 480, 2, 0, 0, 0, 639, 479, 1.0f, 1.0f, 0},    // window equals frame
    };
    for (const auto& c : cases) {
        environment_2d e = prepare_environment_2d(c.window_w, c.window_h, c.frame_w, c.frame_h, c.full_screen, 1,
                                                  c.resize_auto);
        SCOPED_TRACE(testing::Message() << c.window_w << "x" << c.window_h << " frame " << c.frame_w << "x"
                                        << c.frame_h << " full " << c.full_screen);
        EXPECT_EQ(e.x1, c.x1);
        EXPECT_EQ(e.y1, c.y1);
        EXPECT_EQ(e.x2, c.x2);
        EXPECT_EQ(e.y2, c.y2);
        EXPECT_EQ(e.scaled_width, c.x2 - c.x1 + 1);
        EXPECT_EQ(e.scaled_height, c.y2 - c.y1 + 1);
        EXPECT_EQ(e.x_scale, c.x_scale);
        EXPECT_EQ(e.y_scale, c.y_scale);
        EXPECT_EQ(e.letterbox, c.letterbox);
    }
}

TEST(PresenterEnvironment, SmoothingFollowsTheModeExceptAtTheFramesOwnSize) {
    EXPECT_EQ(prepare_environment_2d(800, 500, 320, 200, 1, 1, 0).smooth, 1);
    EXPECT_EQ(prepare_environment_2d(800, 500, 320, 200, 1, 0, 0).smooth, 0);
    EXPECT_EQ(prepare_environment_2d(800, 500, 320, 200, 0, 1, 2).smooth, 1);
    EXPECT_EQ(prepare_environment_2d(800, 500, 320, 200, 0, 1, 1).smooth, 0);
    EXPECT_EQ(prepare_environment_2d(320, 200, 320, 200, 1, 1, 0).smooth, 0);
}

TEST(PresenterEnvironment, DegenerateSizesGiveFiniteScales) {
    environment_2d e = prepare_environment_2d(0, 0, 0, 0, 2, 0, 0);
    EXPECT_EQ(e.x_scale, 1.0f);
    EXPECT_EQ(e.y_scale, 1.0f);
}

class PresenterMapping : public ::testing::Test {
protected:
    void SetUp() override { environment_2d_publish(prepare_environment_2d(800, 400, 320, 200, 2, 0, 0)); }
    void TearDown() override { environment_2d_reset(); }
};

TEST_F(PresenterMapping, ScreenRectangleBecomesTheWindowRectangle) {
    window_rect r = environment_2d__screen_to_window_rect(0, 0, 319, 199);
    EXPECT_EQ(r.left, 80);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 719);
    EXPECT_EQ(r.bottom, 399);
    // Corners given the other way round cover the same pixels.
    r = environment_2d__screen_to_window_rect(10, 5, 10, 5);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right, 101);
    EXPECT_EQ(r.bottom, 11);
}

TEST_F(PresenterMapping, FirstAndLastWindowPixelOfAScreenPixel) {
    EXPECT_EQ(environment_2d__get_window_x1_coord(10), 100);
    EXPECT_EQ(environment_2d__get_window_x2_coord(10), 101);
    EXPECT_EQ(environment_2d__get_window_y1_coord(10), 20);
    EXPECT_EQ(environment_2d__get_window_y2_coord(10), 21);
    // Ties round to even: 1.25 x 2.5 = 3.125 -> 3; 0.5 rounds to 0.
    environment_2d_publish({0, 0, 799, 499, 800, 500, 2.5f, 0.5f, 0, 0});
    EXPECT_EQ(environment_2d__get_window_x1_coord(1), 2);  // 2.5 -> 2
    EXPECT_EQ(environment_2d__get_window_x1_coord(3), 8);  // 7.5 -> 8
    EXPECT_EQ(environment_2d__get_window_y1_coord(1), 0);  // 0.5 -> 0
}

TEST_F(PresenterMapping, HugeCoordinatesWrapInsteadOfOverflowing) {
    window_rect r = environment_2d__screen_to_window_rect(2147483647, 0, 2147483647, 0);
    // Out of range after scaling: the rounding gives -2147483648, plus the offset 80.
    EXPECT_EQ(r.left, -2147483648 + 80);
}

}  // namespace
