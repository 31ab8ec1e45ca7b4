// The runtime's own X connection, for threads other than the window thread: lock and
// modifier key state, the desktop size. Every call is serialised by one mutex; with
// no display every key reads as up and every lock as off.
#pragma once
#include <cstdint>

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

// The desktop's size in pixels; false without a display.
bool x11_desktop_size(int32_t* width, int32_t* height);
