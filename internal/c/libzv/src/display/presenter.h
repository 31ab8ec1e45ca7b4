// The presenter: the window callbacks that pace the window thread, show the newest
// software frame with the hardware layers in display order, follow window resizes
// and full-screen requests, and swap buffers. Window thread only; the words below
// are how other threads talk to it.
#pragma once
#include <atomic>
#include <cstdint>

// Client size reported by the last reshape, and the size before it.
extern std::atomic<int32_t> display_x;
extern std::atomic<int32_t> display_y;
extern std::atomic<int32_t> display_x_prev;
extern std::atomic<int32_t> display_y_prev;

// Layer positions 1 to 4 (0: not drawn) of the hardware layer, the GL-render position
// and the second hardware layer; the software screen's is displayorder_screen.
extern std::atomic<int32_t> displayorder_hardware;
extern std::atomic<int32_t> displayorder_glrender;
extern std::atomic<int32_t> displayorder_hardware1;

// Resizing: snap the window back to the frame size; the frame size last matched;
// 0 off, 1 stretch keeping the frame's aspect, 2 the same smoothed; the frame's
// aspect and the aspect last asked for; a size asked for and not yet reported; a
// reshape since the last display callback; the program's pending _RESIZE event.
extern std::atomic<int32_t> resize_snapback;
extern std::atomic<int32_t> resize_snapback_x;
extern std::atomic<int32_t> resize_snapback_y;
extern std::atomic<int32_t> resize_auto;
extern std::atomic<float> resize_auto_ideal_aspect;
extern std::atomic<float> resize_auto_accept_aspect;
extern std::atomic<int32_t> resize_pending;
extern std::atomic<int32_t> os_resize_event;
extern std::atomic<int32_t> resize_event;
extern std::atomic<int32_t> resize_event_x;
extern std::atomic<int32_t> resize_event_y;

// 0 windowed, 1 full screen stretched, 2 full screen with square pixels; the
// requested value (-1 none pending, reset by the presenter); smoothing in full screen.
extern std::atomic<int32_t> full_screen;
extern std::atomic<int32_t> full_screen_set;
extern std::atomic<int32_t> fullscreen_smooth;

// Frame-rate limit of the presenter.
extern std::atomic<double> max_fps;
// Hardware image handle drawn over everything, 0 none.
extern std::atomic<int32_t> requestedKeyboardOverlayImage;
// The hardware image (list index) holding the software frame shown; 0 none.
int32_t software_screen_hardware_frame();
// Window thread: the window system lost the window's contents; the next display
// callback draws the picture again.
void presenter_window_exposed();

// The windowing-library calls the presenter makes; tests record them.
struct presenter_window_ops {
    void (*reshape_window)(int32_t width, int32_t height);
    void (*post_redisplay)();
    void (*full_screen)();
    void (*swap_buffers)();
};
// The calls in use; nullptr restores freeglut.
const presenter_window_ops& presenter_window();
// Window thread: how many times the window was asked for a new size or for full
// screen so far (the window's position and frame may change after each).
int32_t presenter_window_geometry_requests();
void presenter_set_window_ops(const presenter_window_ops* ops);

// Every word at its start value (tests).
void presenter_reset_for_tests();

// The window callbacks.
void GLUT_DISPLAY_REQUEST();
// Idle: the pacing and the next redisplay; the window thread runs its request queue
// just before.
void GLUT_IDLEFUNC();
void GLUT_RESHAPE_FUNC(int width, int height);

// The idle callback's pacing: sleeps off what is left of the frame period (a backlog
// of at most one period is carried).
void presenter_pace();

// _DISPLAYORDER: layer codes by position (1 software screen, 2 hardware, 3 second
// hardware layer, 4 GL-render; 0 unused). _GLRENDER 1 behind, 2 on top, 3 only.
void sub__displayorder(int32_t first, int32_t second, int32_t third, int32_t fourth);
void sub__glrender(int32_t mode);
void requestKeyboardOverlayImage(int32_t handle);
