// The mouse message ring: the window thread's mouse callbacks append, the program
// thread steps through it with _MOUSEINPUT.
#pragma once
#include <atomic>
#include <cstdint>

// One message. Fields are relaxed atomics: one writer, one reader; a message torn
// by a full ring is allowed.
struct mouse_message {
    std::atomic<int16_t> x, y;  // window client pixels
    std::atomic<uint32_t> buttons;  // bit 0 left, 1 middle, 2 right, 3 wheel up, 4 wheel down
    std::atomic<int16_t> movement_x, movement_y;  // raw relative motion
};

constexpr int32_t mouse_message_last = 65535;

// The message the program is looking at.
const mouse_message& mouse_current_message();
// The last message written, whether or not the program has reached it.
const mouse_message& mouse_newest_message();
// 0 when no message is unread; otherwise moves to the next one and returns -1.
int32_t mouse_ring_advance();

// Window-thread callbacks (also driven directly by tests).
extern "C" {
void GLUT_MOUSE_FUNC(int glut_button, int state, int x, int y);
void GLUT_MOUSEWHEEL_FUNC(int wheel, int direction, int x, int y);
void GLUT_MOTION_FUNC(int x, int y);
void GLUT_PASSIVEMOTION_FUNC(int x, int y);
}
void GLUT_MouseButton_Down(int32_t b, int32_t x, int32_t y);
void GLUT_MouseButton_Up(int32_t b, int32_t x, int32_t y);
void orvo_custom_event_relative_mouse_movement(int32_t dx, int32_t dy);

// Device axis value (-1 to 1) of window coordinate v on a frame of `size` pixels.
float mouse_device_axis(int32_t v, int32_t size);

// Start-up: allocates the zeroed ring and takes relative motion from the window hooks.
void mouse_global_init();
void mouse_reset_for_tests();
