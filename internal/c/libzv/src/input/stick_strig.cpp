// STICK and STRIG.
#include "input/stick_strig.h"

#include <algorithm>
#include <cmath>

#include "error/error.h"
#include "input/device.h"

namespace {

// The device of the controller at 0-based position index, 0 when none.
int32_t controller_device(int64_t index) {
    int32_t last = device_last.load();
    for (int32_t i = 1; i <= last; ++i) {
        if (device_type_of(i) != DEVICE_CONTROLLER) continue;
        if (index-- == 0) return i;
    }
    return 0;
}

}  // namespace

int32_t func_stick(int32_t n, int32_t axis_set, int32_t passed) {
    if (new_error_is_set()) return 0;
    if (!(passed & 1)) axis_set = 1;
    if (n < 0 || n > 65535 || axis_set < 1 || axis_set > 65535) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    int32_t axis = (n & 1) + 2 * (axis_set - 1);
    int32_t device = controller_device(n >> 1);
    if (!device || device_axes(device) <= axis) return 128;
    float v;
    {
        std::lock_guard<std::mutex> hold(device_mutex(device));
        v = getDeviceEventAxisValue(device, device_queued(device) - 1, axis);
    }
    if (v > -0.01f && v <= 0.01f) v = 0;
    return std::clamp(int32_t(std::lrint(v * 127.0f)) + 127, 1, 254);
}

int32_t func_strig(int32_t n, int32_t controller, int32_t passed) {
    if (new_error_is_set()) return 0;
    if (n < 0 || n > 65535 || ((passed & 1) && (controller < 1 || controller > 65535))) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    if (!(passed & 1)) {
        controller = 1;
        if (n & 2) {
            controller = 2;
            n -= 2;
        }
    }
    int32_t button = n >> 2;  // 0-based
    int32_t device = controller_device(controller - 1);
    if (!device || button >= device_buttons(device)) return 0;
    std::lock_guard<std::mutex> hold(device_mutex(device));
    if (n & 1) return getDeviceEventButtonValue(device, device_queued(device) - 1, button) ? -1 : 0;
    return button < 256 && device_strig_latch_take(device, button) ? -1 : 0;
}
