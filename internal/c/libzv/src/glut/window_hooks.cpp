// The windowing-layer hooks: window handle, resizable style, native messages and
// custom events.
#include "glut/window_hooks.h"

#include <atomic>

#include "core/runtime_flags.h"
#include "display/presenter.h"
#include "input/device_feeders.h"
#include "input/key_code.h"
#include "input/keyboard.h"
#include "input/keyboard_glut.h"
#include "platform/x11_desktop.h"
#include "window/file_drop.h"

intptr_t window_handle = 0;
intptr_t generic_window_handle = 0;
int32_t ScreenResize = 0;

namespace {

std::atomic<void (*)(int32_t, bool)> device_key_sink{nullptr};
std::atomic<void (*)(int32_t, int32_t)> relative_motion_sink{nullptr};
// The code each native key went down as (Pause or Break): its release sends the
// same code even when Ctrl was let go first.
int32_t special_press[256];

}  // namespace

extern "C" intptr_t ORVO_Window_Handle(intptr_t handle) {
    generic_window_handle = handle;
    window_handle = handle;
    return handle;
}

extern "C" int32_t ORVO_Resizable() { return ScreenResize; }

extern "C" int64_t orvo_os_event_windows(int32_t evdev_code, int32_t down, int32_t* info) {
    if (info && *info == 1) window_device_key(evdev_code, down != 0);
    return 0;
}

extern "C" int32_t orvo_custom_event(int32_t type, int32_t v1, int32_t v2, int32_t, int32_t, int32_t, int32_t,
                                     int32_t, int32_t, void* p1, void*) {
    switch (type) {
    case 1:
        window_close_requested();
        return 0;
    case 2:
        return window_pause_key(v1, v2 > 0) ? 0 : -1;
    case 3:
        window_relative_motion(v1, v2);
        return 0;
    case 4:
        window_files_dropped(static_cast<drop_list*>(p1));
        return 0;
    default:
        return -1;
    }
}

void window_device_key(int32_t evdev_code, bool down) {
    if (!keyboard_has_focus()) return;
    if (auto sink = device_key_sink.load()) sink(evdev_code, down);
}

void window_close_requested() { exit_value.fetch_or(1); }

bool window_pause_key(int32_t code, bool down) {
    if (code != key::pause && code != key::brk) return false;
    if (down)
        keydown_vk(code);
    else
        keyup_vk(code);
    return true;
}

void window_relative_motion(int32_t dx, int32_t dy) {
    if (auto sink = relative_motion_sink.load()) sink(dx, dy);
}

void window_files_dropped(drop_list* drop) { file_drop_receive(drop); }

void window_native_key(int32_t evdev_code, bool down, native_key_kind kind) {
    window_device_key(evdev_code, down);
    int32_t slot = evdev_code & 0xFF;
    if (down) {
        int32_t code = kind == native_key_kind::pause ? key::pause : kind == native_key_kind::brk ? key::brk : 0;
        if (code) {
            special_press[slot] = code;
            window_pause_key(code, true);
        }
        // X keeps no Scroll Lock state; the layer does.
        if (kind == native_key_kind::scroll_lock) x11_toggle_scroll_lock();
    } else if (int32_t code = special_press[slot]) {
        special_press[slot] = 0;
        window_pause_key(code, false);
    }
    if (kind != native_key_kind::other) keyboard_unreported_key(evdev_code, down, kind == native_key_kind::left_tab);
}

void window_focus_changed(bool focused) {
    bool was = keyboard_has_focus();
    keyboard_set_focus(focused);
    // Releases of keys held now will go to the window that has the focus.
    if (was && !focused) keyboard_release_held_keys();
    // Shift keys that changed while another window had the focus.
    if (focused && !was) device_keyboard_focus_in();
}

void window_destroyed() { window_close_requested(); }

void window_exposed() { presenter_window_exposed(); }

void window_set_device_key_sink(void (*sink)(int32_t, bool)) { device_key_sink.store(sink); }
void window_set_relative_motion_sink(void (*sink)(int32_t, int32_t)) { relative_motion_sink.store(sink); }

void window_hooks_reset_for_tests() {
    window_handle = 0;
    generic_window_handle = 0;
    device_key_sink.store(nullptr);
    relative_motion_sink.store(nullptr);
    for (auto& p : special_press) p = 0;
}
