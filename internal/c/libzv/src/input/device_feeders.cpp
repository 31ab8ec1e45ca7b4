// The keyboard and mouse devices: start-up and the feeders that append their records.
#include "input/device_feeders.h"

#include "core/traps.h"
#include "glut/window_hooks.h"
#include "input/device.h"
#include "input/device_functions.h"
#include "input/mouse_ring.h"
#include "platform/x11_desktop.h"

namespace {

constexpr int32_t left_shift = 42, right_shift = 54, left_ctrl = 0x1D, right_ctrl = 0x11D;
constexpr int32_t pause_button = 0x45, break_button = 0x146;
constexpr int32_t evdev_pause = 119;

int32_t controller_count() {
    int32_t n = 0, last = device_last.load();
    for (int32_t i = 1; i <= last; ++i)
        if (device_type_of(i) == DEVICE_CONTROLLER) ++n;
    return n;
}

const trap_device_hooks strig_hooks{[] { return device_last.load(); }, [] { func__devices(); }, controller_count};

bool keyboard_ready() { return device_last.load() >= device_keyboard && device_type_of(device_keyboard) == DEVICE_KEYBOARD; }
bool mouse_ready() { return device_last.load() >= device_mouse && device_type_of(device_mouse) == DEVICE_MOUSE; }

bool newest_button(int32_t device, int32_t button) {
    std::lock_guard<std::mutex> hold(device_mutex(device));
    return getDeviceEventButtonValue(device, device_queued(device) - 1, button) != 0;
}

}  // namespace

void devices_start() {
    devices_add({DEVICE_KEYBOARD, "[KEYBOARD][BUTTON]", 512, 0, 0, "Keyboard"});
    devices_add({DEVICE_MOUSE, "[MOUSE][BUTTON][AXIS][WHEEL]", 3, 2, 3, "Mouse"});
    window_set_device_key_sink(device_keyboard_native_key);
    traps_set_device_hooks(&strig_hooks);
}

int32_t device_keyboard_button(int32_t evdev_code, bool ctrl_held) {
    static constexpr int16_t navigation[] = {0x147, 0x148, 0x149, 0x14B, 0x14D, 0x14F, 0x150, 0x151, 0x152, 0x153};
    if (evdev_code == 69) return 0x145;  // Num Lock
    if (evdev_code >= 1 && evdev_code <= 88) return evdev_code;
    switch (evdev_code) {
    case 96: return 0x11C;   // keypad Enter
    case 97: return 0x11D;   // right Ctrl
    case 98: return 0x135;   // keypad /
    case 99: return 0x137;   // Print
    case 100: return 0x138;  // right Alt
    case evdev_pause: return ctrl_held ? break_button : pause_button;
    case 125: return 0x15B;  // left logo
    case 126: return 0x15C;  // right logo
    case 127: return 0x15D;  // Menu
    default: break;
    }
    if (evdev_code >= 102 && evdev_code <= 111) return navigation[evdev_code - 102];
    return -1;
}

void device_keyboard_native_key(int32_t evdev_code, bool down) {
    if (!keyboard_ready()) return;
    if (evdev_code == evdev_pause && !down) {
        // Ctrl may be let go first: release whichever form went down.
        device_post_button(device_keyboard, pause_button, 0, true);
        device_post_button(device_keyboard, break_button, 0, true);
        return;
    }
    bool ctrl = evdev_code == evdev_pause &&
                (newest_button(device_keyboard, left_ctrl) || newest_button(device_keyboard, right_ctrl));
    int32_t button = device_keyboard_button(evdev_code, ctrl);
    if (button < 0) return;
    device_post_button(device_keyboard, button, down ? 1 : 0, true);
}

void device_keyboard_focus_in(bool (*shift_down)(bool right)) {
    if (!keyboard_ready()) return;
    device_post_button(device_keyboard, right_shift, shift_down(true) ? 1 : 0, true);
    device_post_button(device_keyboard, left_shift, shift_down(false) ? 1 : 0, true);
}

void device_keyboard_focus_in() {
    device_keyboard_focus_in([](bool right) {
        return x11_key_is_down(right ? x11_modifier_key::right_shift : x11_modifier_key::left_shift);
    });
}

void device_mouse_button(int32_t b, bool down) {
    if (!mouse_ready()) return;
    if (b >= 1 && b <= 3) {
        device_post_button(device_mouse, b - 1, down ? 1 : 0, false);
    } else if ((b == 4 || b == 5) && down) {
        // The wheel clicks and comes back: two records on the third wheel.
        device_post_wheel(device_mouse, 2, b == 4 ? -1.0f : 1.0f);
        device_post_wheel(device_mouse, 2, 0.0f);
    }
}

void device_mouse_motion(int32_t x, int32_t y, int32_t frame_width, int32_t frame_height) {
    if (!mouse_ready()) return;
    const float axes[2] = {mouse_device_axis(x, frame_width), mouse_device_axis(y, frame_height)};
    device_post_axes(device_mouse, 0, axes, 2);
}
