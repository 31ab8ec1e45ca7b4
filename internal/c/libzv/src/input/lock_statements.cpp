// _CAPSLOCK, _NUMLOCK and _SCROLLLOCK.
#include "input/lock_statements.h"

#include "error/error.h"
#include "input/lock_keys.h"

namespace {

enum lock : int { caps = 0, num = 1, scroll = 2 };

bool is_on(int which) {
    const lock_key_source& s = lock_keys_source();
    return which == caps ? s.caps_lock_on() : which == num ? s.num_lock_on() : s.scroll_lock_on();
}

int32_t query(int which) {
    if (new_error_is_set()) return 0;
    return is_on(which) ? -1 : 0;
}

void set(int which, int32_t mode) {
    if (mode == 1 && is_on(which)) return;
    if (mode == 2 && !is_on(which)) return;
    lock_keys_source().toggle(which);
}

}  // namespace

int32_t func__capslock() { return query(caps); }
int32_t func__numlock() { return query(num); }
int32_t func__scrolllock() { return query(scroll); }
void sub__capslock(int32_t mode) { set(caps, mode); }
void sub__numlock(int32_t mode) { set(num, mode); }
void sub__scrolllock(int32_t mode) { set(scroll, mode); }
