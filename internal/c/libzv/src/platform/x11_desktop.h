// The runtime's own X connection, for threads other than the window thread: lock and
// modifier key state, simulated lock-key presses and other simulated input, the
// desktop (the primary monitor), the minimised check. Every call is serialised by one
// mutex; with no display every key reads as up and every lock as off.
#pragma once
#include <cstdint>
#include <vector>

// Opens the connection when a display exists (start-up, before the window).
void x11_desktop_global_init();
bool x11_desktop_available();

struct x11_lock_state {
    bool caps_lock, num_lock;
};
x11_lock_state x11_read_lock_state();

enum class x11_modifier_key { left_shift, right_shift, left_ctrl, right_ctrl, left_alt, right_alt, scroll_lock };
// Whether the key is held down now.
bool x11_key_is_down(x11_modifier_key key);

// Scroll Lock's state: X keeps none, so this layer does. The window's Scroll Lock
// key and _SCROLLLOCK flip it; any thread.
bool x11_scroll_lock_state();
void x11_toggle_scroll_lock();

enum class x11_lock_key { caps_lock, num_lock };
// Presses and releases the lock key through XTest and waits until the server has
// handled both, so that a following read sees the new state. False without a display.
bool x11_toggle_lock(x11_lock_key key);

// The window is minimised: its WM_STATE is IconicState (without a window manager it
// never is).
bool x11_window_iconic(unsigned long window);
// Raises the window and gives it the keyboard focus.
void x11_activate_window(unsigned long window);

// A rectangle of the X screen, in its pixels.
struct x11_rect {
    int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const x11_rect&) const = default;
};
struct x11_monitor {
    x11_rect area;
    bool primary = false;
};
// The desktop among what the server reports, as programs expect it to be one monitor
// however many there are: RandR's primary monitor; else the RandR monitor that holds
// the screen's origin, or the first; else the first Xinerama head; else the screen.
x11_rect x11_choose_desktop(const std::vector<x11_monitor>& randr_monitors, const std::vector<x11_rect>& xinerama_heads,
                            const x11_rect& screen);
// The desktop in X screen coordinates, asked of the server at each call, so that it
// follows the monitors as they change; false without a display.
bool x11_desktop_area(x11_rect* area);
// The desktop's size in pixels; false without a display.
bool x11_desktop_size(int32_t* width, int32_t* height);

// Simulated input through XTest, one event per call, each handed to the server
// before the call returns. False without a display or XTest.
bool x11_fake_motion(int32_t x, int32_t y);   // absolute, desktop pixels, kept on the desktop
bool x11_fake_button(int32_t button, bool press);  // X numbering: 1 left, 2 middle, 3 right
bool x11_fake_keycode(uint32_t keycode, bool press);

enum class x11_named_key {
    tab, backspace, enter, left, right, up, down, insert, home, del, end, page_down, page_up, shift, control
};
// The keycode of a named key; 0 when the keymap has none (or no display).
uint32_t x11_named_keycode(x11_named_key key);
// The key that types character c (32-126) and whether Shift must be held: level 0
// of the key is not c and level 1 is. Keycode 0 when the keymap has no such key.
struct x11_character_key {
    uint32_t keycode;
    bool shift;
};
x11_character_key x11_key_for_character(uint8_t c);
