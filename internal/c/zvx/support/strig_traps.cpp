// ON STRIG(n[, controller]) GOSUB and STRIG(n[, controller]) ON / OFF / STOP.
#include "error/error.h"
#include "trap_actions.h"
#include "traps.h"

strig_target strig_decode(int32_t n, int32_t controller, bool controller_given) {
    if (n < 0 || n > 65535) return {strig_target::invalid, 0};
    if (controller_given) {
        if (controller < 1 || controller > 65535) return {strig_target::invalid, 0};
    } else {
        controller = 1;
        if (n & 2) {
            controller = 2;
            n -= 2;
        }
    }
    if (n & 1) return {strig_target::invalid, 0};
    int32_t button = (n >> 2) + 1;
    if (controller > 256 || button > 256) return {strig_target::ignored, 0};
    return {strig_target::slot, (controller - 1) * 256 + (button - 1)};
}

void onstrig_setup(int32_t n, int32_t controller, int32_t passed, int32_t id, int64_t pass) {
    if (new_error_is_set()) return;
    strig_target t = strig_decode(n, controller, passed & 1);
    if (t.kind == strig_target::invalid) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (t.kind == strig_target::ignored) return;
    const trap_device_hooks& devices = traps_device_hooks();
    if (devices.device_last() == 0) devices.enumerate_devices();
    onstrig_struct& s = onstrig(t.index);
    s.count.store(0);
    s.pass.store(pass);
    s.id.store(id, std::memory_order_release);
}

void sub_strig(int32_t n, int32_t controller, int32_t action, int32_t passed) {
    if (new_error_is_set()) return;
    if (!(passed & 1)) {
        for (int32_t i = 0; i < onstrig_slots; ++i) trap_apply_action(onstrig(i), action);
        return;
    }
    strig_target t = strig_decode(n, controller, passed & 2);
    if (t.kind == strig_target::invalid) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (t.kind == strig_target::slot) trap_apply_action(onstrig(t.index), action);
}
