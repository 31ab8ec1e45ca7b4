// What feeds the keyboard and mouse devices: the window's native key stream, the
// Shift check when the window gains the focus, and the mouse callbacks.
#pragma once
#include <cstdint>

constexpr int32_t device_keyboard = 1;
constexpr int32_t device_mouse = 2;

// The keyboard device's button (PC scancode, plus 256 for extended keys) of a
// native evdev key code; -1 for keys the device does not know. Pause is Break
// while Ctrl is held.
int32_t device_keyboard_button(int32_t evdev_code, bool ctrl_held);

// A native key went down or up while the window has the focus: the button's record
// is appended when its value changes (auto-repeat adds nothing). Window thread.
void device_keyboard_native_key(int32_t evdev_code, bool down);

// The window gained the focus: Shift keys pressed or released meanwhile are brought
// up to date (buttons 42 left, 54 right). The reader answers whether the right (true)
// or left Shift key is down now.
void device_keyboard_focus_in(bool (*shift_down)(bool right));
void device_keyboard_focus_in();

// Mouse callbacks (window thread); nothing before the devices exist. b is the
// callback's button 1..5 (4 and 5 the wheel); x, y window pixels on a frame of
// frame_width x frame_height.
void device_mouse_button(int32_t b, bool down);
void device_mouse_motion(int32_t x, int32_t y, int32_t frame_width, int32_t frame_height);
