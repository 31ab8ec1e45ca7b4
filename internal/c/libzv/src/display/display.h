// Software frame producer: turns the display page into 32-bit frames for the window.
#pragma once
#include <atomic>
#include <cstdint>

#include "display/display_frame.h"

// 1 automatic display (the housekeeping loop produces frames), 0 manual (_DISPLAY
// only), -1 a request of _DISPLAY that the next producer call turns into 0.
extern std::atomic<int32_t> autodisplay;
// Set to 1 at the end of every producer call that did not fail to find a slot.
extern std::atomic<int32_t> display_called;
// Makes the next palette or 32-bit frame count as changed (Alt+Enter, _FULLSCREEN).
extern std::atomic<int32_t> force_display_update;
// 1 once a frame was produced from the current screen contents; SCREEN, WIDTH and
// _FONT clear it so that the next frame is drawn whole.
extern std::atomic<int32_t> screen_last_valid;
// Size in pixels of the last frame the producer set up (read by the mouse).
extern std::atomic<int32_t> x_monitor;
extern std::atomic<int32_t> y_monitor;
// Position of the software layer in the presenter's display order; 0 when it is not
// shown (the producer then stops making frames of unchanged pages).
extern std::atomic<int32_t> displayorder_screen;

// Start-up: every slot free with order 0 and no buffer; the order words and the
// change-detection state at their start values.
void display_global_init();
// Frees the slot buffers and the producer's copies, then runs the start-up (tests).
void display_reset_for_tests();

// One producer call: on the housekeeping thread while autodisplay is non-zero, or on
// the program thread through _DISPLAY when it is 0 (never both at once).
void display();

// _DISPLAY: with automatic display on, asks the producer to turn it off and waits for
// that call; with it off, produces a frame on the calling thread.
void sub__display();
// _AUTODISPLAY, and the _AUTODISPLAY function (-1 on, 0 off).
void sub__autodisplay();
int32_t func__autodisplay();
// Returns once a whole producer call has run after this request (or runs one).
void display_now();

// Tests: a function run inside every producer call that holds a slot, after the
// conversion and before the slot is handed on; nullptr for none.
void display_set_test_hook(void (*hook)());
