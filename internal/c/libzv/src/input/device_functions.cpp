// _DEVICES, _DEVICE$, _DEVICEINPUT, _BUTTON, _BUTTONCHANGE, _AXIS, _WHEEL and the
// _LASTBUTTON, _LASTAXIS, _LASTWHEEL counts.
#include "input/device_functions.h"

#include "error/error.h"
#include "input/device.h"
#include "string/zvs.h"

namespace {

bool valid_device(int32_t n) { return n >= 1 && n <= device_last.load(); }

// The device an omitted argument stands for, or error 5.
bool device_argument(int32_t& n, int32_t passed) {
    if (!(passed & 1)) n = device_selected;
    if (valid_device(n)) return true;
    error(ERR_ILLEGAL_FUNCTION_CALL);
    return false;
}

// The selected device and a 1-based item within count (default 1), or error 5.
bool selected_item(int32_t& item, int32_t passed, int32_t (*count)(int32_t)) {
    if (!(passed & 1)) item = 1;
    if (!valid_device(device_selected) || item < 1 || item > count(device_selected)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return false;
    }
    return true;
}

}  // namespace

int32_t func__devices() {
    if (new_error_is_set()) return 0;
    return device_last.load();
}

zvs* func__device(int32_t n, int32_t passed) {
    if (new_error_is_set() || !device_argument(n, passed)) return zvs_new_txt("");
    return zvs_new_txt(device_name(n));
}

int32_t func__deviceinput(int32_t n, int32_t passed) {
    if (new_error_is_set()) return 0;
    device_selected = -1;
    if (!(passed & 1)) {
        int32_t found = device_with_oldest_event();
        if (!found) return 0;
        device_selected = found;
        device_take_event(found);
        return found;
    }
    if (!valid_device(n)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    device_selected = n;
    return device_take_event(n) ? -1 : 0;
}

int32_t func__button(int32_t b, int32_t passed) {
    if (new_error_is_set() || !selected_item(b, passed, device_buttons)) return 0;
    std::lock_guard<std::mutex> hold(device_mutex(device_selected));
    return getDeviceEventButtonValue(device_selected, 1, b - 1) ? -1 : 0;
}

int32_t func__buttonchange(int32_t b, int32_t passed) {
    if (new_error_is_set() || !selected_item(b, passed, device_buttons)) return 0;
    std::lock_guard<std::mutex> hold(device_mutex(device_selected));
    uint8_t before = getDeviceEventButtonValue(device_selected, 0, b - 1);
    uint8_t now = getDeviceEventButtonValue(device_selected, 1, b - 1);
    if (before == now) return 0;
    return now ? -1 : 1;
}

float func__axis(int32_t a, int32_t passed) {
    if (new_error_is_set() || !selected_item(a, passed, device_axes)) return 0;
    std::lock_guard<std::mutex> hold(device_mutex(device_selected));
    return getDeviceEventAxisValue(device_selected, 1, a - 1);
}

float func__wheel(int32_t w, int32_t passed) {
    if (new_error_is_set() || !selected_item(w, passed, device_wheels)) return 0;
    std::lock_guard<std::mutex> hold(device_mutex(device_selected));
    return getDeviceEventWheelValue(device_selected, 1, w - 1);
}

int32_t func__lastbutton(int32_t n, int32_t passed) {
    if (new_error_is_set() || !device_argument(n, passed)) return 0;
    return device_buttons(n);
}

int32_t func__lastaxis(int32_t n, int32_t passed) {
    if (new_error_is_set() || !device_argument(n, passed)) return 0;
    return device_axes(n);
}

int32_t func__lastwheel(int32_t n, int32_t passed) {
    if (new_error_is_set() || !device_argument(n, passed)) return 0;
    return device_wheels(n);
}
