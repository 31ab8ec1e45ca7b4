// Request and state words shared by the window statements, Alt+Enter and the
// presenter (which applies them on the window thread). One writer per transition.
#pragma once
#include <atomic>
#include <cstdint>

// 0 windowed, 1 full screen stretched, 2 full screen with square pixels.
extern std::atomic<int32_t> full_screen;
// -1 no change pending, else the requested full_screen value; the presenter resets
// it to -1 by compare-exchange once applied.
extern std::atomic<int32_t> full_screen_set;
// Linear filtering in full screen.
extern std::atomic<int32_t> fullscreen_smooth;
// Alt+Enter's limits: mode -1 no full screen, 0 any, 1 stretched only, 2 square
// pixels only; smooth -1 never, 0 either, 1 always.
extern std::atomic<int32_t> fullscreen_allowedmode;
extern std::atomic<int32_t> fullscreen_allowedsmooth;

// Resizing: snap-back on (1) sets the window back to the frame size; resize_auto 0
// none, 1 stretch, 2 stretch smooth.
extern std::atomic<int32_t> resize_snapback;
extern std::atomic<int32_t> resize_auto;
// The reshape the program has not yet seen (-1 pending) and its size.
extern std::atomic<int32_t> resize_event;
extern std::atomic<int32_t> resize_event_x;
extern std::atomic<int32_t> resize_event_y;
// The size at which the screen is drawn in the window.
extern std::atomic<int32_t> environment_2d__screen_scaled_width;
extern std::atomic<int32_t> environment_2d__screen_scaled_height;

// The frame-rate limit of the presenter's pacing.
extern std::atomic<double> max_fps;
// Written by _FPS _AUTO; nothing reads it.
extern std::atomic<int32_t> auto_fps;

void window_words_reset_for_tests();
