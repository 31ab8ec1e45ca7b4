// The 2D environment: where in the window the screen is drawn and at what scale.
// One mapping turns screen coordinates into window coordinates for the presenter,
// the renderer and the mouse. The presenter writes it on the window thread; other
// threads read it.
#pragma once
#include <atomic>
#include <cstdint>

// Window size used by all drawing of the current display callback.
extern std::atomic<int32_t> environment__window_width;
extern std::atomic<int32_t> environment__window_height;
// Size in pixels of the frame being shown.
extern std::atomic<int32_t> environment_2d__screen_width;
extern std::atomic<int32_t> environment_2d__screen_height;
// The window rectangle (inclusive, y downward) the screen occupies, its size and
// the window pixels per screen pixel.
extern std::atomic<int32_t> environment_2d__screen_x1;
extern std::atomic<int32_t> environment_2d__screen_y1;
extern std::atomic<int32_t> environment_2d__screen_x2;
extern std::atomic<int32_t> environment_2d__screen_y2;
extern std::atomic<int32_t> environment_2d__screen_scaled_width;
extern std::atomic<int32_t> environment_2d__screen_scaled_height;
extern std::atomic<float> environment_2d__screen_x_scale;
extern std::atomic<float> environment_2d__screen_y_scale;
// Draw the screen with linear filtering.
extern std::atomic<int32_t> environment_2d__screen_smooth;
// 0 none, 1 bars left and right, 2 bars top and bottom.
extern std::atomic<int32_t> environment_2d__letterbox;

struct environment_2d {
    int32_t x1, y1, x2, y2;
    int32_t scaled_width, scaled_height;
    float x_scale, y_scale;
    int32_t smooth;
    int32_t letterbox;
};

// Where a frame goes in a window: full_screen 0 windowed, 1 stretched, 2 square
// pixels; resize_auto 0 off, 1 stretch, 2 stretch smoothly (windowed only).
environment_2d prepare_environment_2d(int32_t window_width, int32_t window_height, int32_t frame_width,
                                      int32_t frame_height, int32_t full_screen, int32_t fullscreen_smooth,
                                      int32_t resize_auto);
// Makes an environment the current one.
void environment_2d_publish(const environment_2d& environment);
// Start values (a 640 x 400 screen at scale 1).
void environment_2d_reset();

// Window coordinate of the first and of the last window pixel of screen pixel x (y).
int32_t environment_2d__get_window_x1_coord(int32_t x);
int32_t environment_2d__get_window_x2_coord(int32_t x);
int32_t environment_2d__get_window_y1_coord(int32_t y);
int32_t environment_2d__get_window_y2_coord(int32_t y);

struct window_rect {
    int32_t left, top, right, bottom;  // inclusive
};
// The window rectangle covered by the screen rectangle (x1, y1)-(x2, y2).
window_rect environment_2d__screen_to_window_rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
