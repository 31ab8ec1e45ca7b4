// Start-up presses of the lock and modifier keys and their re-sync with the system.
#include "input/lock_keys.h"

#include <atomic>

#include "input/bios_keyboard.h"
#include "input/key_code.h"
#include "input/key_held.h"
#include "input/key_hit.h"
#include "input/keyboard.h"
#include "input/keyboard_lock.h"
#include "platform/x11_desktop.h"

namespace {

constexpr x11_modifier_key x11_keys[7] = {x11_modifier_key::scroll_lock, x11_modifier_key::left_shift,
                                          x11_modifier_key::right_shift, x11_modifier_key::left_ctrl,
                                          x11_modifier_key::right_ctrl,  x11_modifier_key::left_alt,
                                          x11_modifier_key::right_alt};

const lock_key_source system_source{
    [] { return x11_read_lock_state().caps_lock; },
    [] { return x11_read_lock_state().num_lock; },
    [] { return x11_scroll_lock_state(); },
    [](int index) { return x11_key_is_down(x11_keys[index]); },
    [](int lock) {
        if (lock == 2)
            x11_toggle_scroll_lock();
        else
            x11_toggle_lock(lock == 0 ? x11_lock_key::caps_lock : x11_lock_key::num_lock);
    },
};

std::atomic<const lock_key_source*> source{&system_source};

// The lock is on in the system but not in the held set, or the reverse: its key is
// pressed or released with the OS binding (code - 100000).
void follow(int32_t code, bool on) {
    if (on == keyheld_exact(code)) return;
    keyheld_set_bindkey(code - 100000);
    if (on)
        keydown_vk(code);
    else
        keyup_vk(code);
    update_shift_state();
}

}  // namespace

void lock_keys_set_source(const lock_key_source* s) { source.store(s ? s : &system_source); }

const lock_key_source& lock_keys_source() { return *source.load(); }

void startup_lock_keys() {
    static constexpr int32_t codes[7] = {key::scroll_lock, key::left_shift, key::right_shift, key::left_ctrl,
                                         key::right_ctrl,  key::left_alt,   key::right_alt};
    const lock_key_source& s = *source.load();
    keyboard_guard hold(keyboard_mutex());
    if (s.scroll_lock_on()) keyheld_add(key::scroll_lock_state);
    for (int i = 0; i < 7; ++i) {
        if (!s.key_down(i)) continue;
        keyheld_set_bindkey(codes[i] - 100000);
        keydown_vk(codes[i]);
    }
    if (s.caps_lock_on()) {
        keyheld_set_bindkey(key::caps_lock - 100000);
        keydown_vk(key::caps_lock);
    }
    if (s.num_lock_on()) {
        keyheld_set_bindkey(key::num_lock - 100000);
        keydown_vk(key::num_lock);
    }
    update_shift_state();
    keyhit_skip_all();
}

void resync_lock_keys() {
    // The system is asked before the keyboard is locked: the window thread's keys
    // never wait for a round trip to the X server.
    const lock_key_source& s = *source.load();
    bool scroll = s.scroll_lock_on(), caps = s.caps_lock_on(), num = s.num_lock_on();
    keyboard_guard hold(keyboard_mutex());
    if (scroll != keyheld_exact(key::scroll_lock_state)) {
        if (scroll)
            keyheld_add(key::scroll_lock_state);
        else
            keyheld_remove(key::scroll_lock_state);
        update_shift_state();
    }
    follow(key::caps_lock, caps);
    follow(key::num_lock, num);
}
