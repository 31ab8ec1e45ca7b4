// ON KEY(n) GOSUB and KEY(n) ON / OFF / STOP.
#include "error/error.h"
#include "traps.h"
#include "trap_actions.h"

void onkey_setup(int32_t n, int32_t id, int64_t pass) {
    if (new_error_is_set()) return;
    if (n < 1 || n > 31) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    onkey_struct& k = onkey(n);
    k.count.store(0);
    k.pass.store(pass);
    k.id.store(id, std::memory_order_release);
}

void sub_key(int32_t n, int32_t action) {
    if (new_error_is_set()) return;
    if (n < 0 || n > 31) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (n == 0) {
        for (int32_t i = 0; i < onkey_slots; ++i) trap_apply_action(onkey(i), action);
    } else {
        trap_apply_action(onkey(n), action);
    }
}
