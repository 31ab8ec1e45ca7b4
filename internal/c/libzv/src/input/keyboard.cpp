// keydown and keyup: the keyboard pipeline from a key code to the buffers.
#include "input/keyboard.h"

#include <cstring>

#include "core/runtime_flags.h"
#include "core/statement_flags.h"
#include "font/glyphs.h"
#include "input/bios_keyboard.h"
#include "input/key_code.h"
#include "input/key_held.h"
#include "input/key_hit.h"
#include "input/key_table.h"
#include "input/keyboard_links.h"
#include "input/keyboard_lock.h"
#include "input/port60h.h"
#include "window/fullscreen.h"
#include "window/window_words.h"

namespace {

constexpr int32_t onkey_slot_count = 32;
constexpr int32_t soft_key_max = 15;

// Releases swallowed because their press was trapped or expanded (0: free entry).
int32_t keyup_mask[256];
int32_t keyup_mask_last = -1;
// The glyph of the key keydown_unicode passes on; keydown takes it.
int32_t keydown_glyph = 0;
// Above 0 while soft-key characters are re-sent: no traps for them.
int32_t resending = 0;

struct soft_key {
    uint8_t text[soft_key_max];
    int32_t length;
};
soft_key soft_keys[onkey_slot_count];

bool ctrl_held() { return keyheld(key::left_ctrl) || keyheld(key::right_ctrl); }
bool alt_held() { return keyheld(key::left_alt) || keyheld(key::right_alt); }
bool shift_held() { return keyheld(key::left_shift) || keyheld(key::right_shift); }

void mask_release(int32_t code) {
    int32_t free = -1;
    for (int32_t i = 0; i <= keyup_mask_last; ++i) {
        // A trapped key that repeats must not pile up entries that would swallow
        // later releases.
        if (keyup_mask[i] == code) return;
        if (free < 0 && keyup_mask[i] == 0) free = i;
    }
    if (free >= 0)
        keyup_mask[free] = code;
    else if (keyup_mask_last < 255)
        keyup_mask[++keyup_mask_last] = code;
}

bool unmask_release(int32_t code) {
    for (int32_t i = 0; i <= keyup_mask_last; ++i)
        if (keyup_mask[i] == code) {
            keyup_mask[i] = 0;
            return true;
        }
    return false;
}

struct translated {
    int32_t kc, keypad;
};

// Keypad codes become the characters or extended codes they stand for.
translated translate(int32_t code) {
    static constexpr int32_t numlock_chars[16] = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                  '8', '9', '.', '/', '*', '-', '+', 13};
    static constexpr int32_t plain_codes[11] = {key::insert, key::end,   key::down, key::page_down,
                                                key::left,   key::centre, key::right, key::home,
                                                key::up,     key::page_up, key::del};
    if (key::is_keypad_numlock(code)) return {numlock_chars[code - key::keypad_numlock_first], 1};
    if (key::is_keypad_plain(code)) return {plain_codes[code - key::keypad_plain_first], 1};
    return {code, 0};
}

// The table row of a character, keypad or extended code; -1 for other codes.
int32_t row_of(int32_t code) {
    if (code >= 0 && code <= 255) return code;
    if (key::is_keypad(code)) return key_table_keypad_row + key::keypad_index(code);
    if (code <= 0xFFFF) return (code >> 8) + 256;
    return -1;
}

struct modifier_key {
    int32_t scancode, mask;
};

// The fixed scancode and own modifier mask of the lock and modifier keys.
modifier_key modifier_of(int32_t code) {
    switch (code) {
    case key::left_shift: return {0x2A, 3};
    case key::right_shift: return {0x36, 3};
    case key::left_alt:
    case key::right_alt: return {0x38, 8};
    case key::left_ctrl:
    case key::right_ctrl: return {0x1D, 4};
    case key::num_lock: return {0x45, 0x20};
    case key::caps_lock: return {0x3A, 0x40};
    case key::scroll_lock: return {0x46, 0};
    default: return {0, 0};
    }
}

bool is_modifier_or_lock(int32_t code) { return modifier_of(code).scancode != 0; }

bool is_extended(int32_t code) {
    switch (code) {
    case key::up:
    case key::down:
    case key::left:
    case key::right:
    case key::home:
    case key::end:
    case key::page_up:
    case key::page_down:
    case key::insert:
    case key::del:
    case 100267:  // keypad '/'
    case 100271:  // keypad Enter
    case key::right_ctrl:
    case key::right_alt: return true;
    default: return false;
    }
}

// The scancode by which user-defined ON KEY keys match.
int32_t trap_scancode(int32_t code) {
    if (code >= 0 && code <= 255) return key_table(code, KT_SCANCODE);
    if (key::is_keypad(code) || code <= 0xFFFF) {
        int32_t row = row_of(code);
        return key_table(row, KT_PLAIN) ? key_table(row, KT_SCANCODE) : 0;
    }
    return modifier_of(code).scancode;
}

// The shift flags of a user-defined key against the held set; the key's own
// modifiers are not checked.
bool shift_flags_match(int32_t flags, int32_t own_mask, bool extended) {
    if (!(own_mask & 3) && shift_held() != ((flags & 3) != 0)) return false;
    if (!(own_mask & 4) && ctrl_held() != ((flags & 4) != 0)) return false;
    if (!(own_mask & 8) && alt_held() != ((flags & 8) != 0)) return false;
    if ((flags & 0x20) && !(own_mask & 0x20) && !keyheld(key::num_lock)) return false;
    if ((flags & 0x40) && !(own_mask & 0x40) && !keyheld(key::caps_lock)) return false;
    return ((flags & 0x80) != 0) == extended;
}

// ON KEY: by scancode for user-defined keys, then by key code. True when trapped.
bool trap(int32_t code, int32_t kc) {
    if (resending) return false;
    int32_t sc = trap_scancode(code);
    int32_t slot = -1;
    if (sc) {
        int32_t own_mask = modifier_of(code).mask;
        bool extended = is_extended(code);
        for (int32_t i = 0; i < onkey_slot_count && slot < 0; ++i) {
            onkey_slot_view s = keyboard_onkey_slot(i);
            if (s.armed && s.scancode == sc && shift_flags_match(s.flags, own_mask, extended)) slot = i;
        }
    }
    for (int32_t i = 0; i < onkey_slot_count && slot < 0; ++i) {
        onkey_slot_view s = keyboard_onkey_slot(i);
        if (s.armed && (s.keycode == kc || s.keycode_alt == code)) slot = i;
    }
    if (slot < 0) return false;
    keyboard_onkey_trigger(slot);
    mask_release(code);
    return true;
}

// A soft key sends its text as if typed. True when the key has one.
bool expand_soft_key(int32_t code, int32_t kc) {
    for (int32_t i = 0; i < onkey_slot_count; ++i) {
        const soft_key& s = soft_keys[i];
        if (!s.length) continue;
        onkey_slot_view v = keyboard_onkey_slot(i);
        if (v.keycode != kc && v.keycode_alt != code) continue;
        mask_release(code);
        uint8_t text[soft_key_max];
        int32_t length = s.length;
        memcpy(text, s.text, size_t(length));
        ++resending;
        for (int32_t j = 0; j < length; ++j) {
            keydown_ascii(text[j]);
            keyup_ascii(text[j]);
        }
        --resending;
        return true;
    }
    return false;
}

void close_request(int32_t bit) {
    if (exit_blocked.load())
        exit_value.fetch_or(bit);
    else
        close_program.store(1);
}

// Column offset of the BIOS entry for the modifiers held (0 none, 1 Shift, 2 Ctrl, 3 Alt).
int32_t modifier_column() { return alt_held() ? 3 : ctrl_held() ? 2 : shift_held() ? 1 : 0; }

void queue_character(int32_t code, bool glyph) {
    int32_t scan = key_table(code, KT_SCANCODE);
    if (!scan) {
        bios_keyboard_queue(uint8_t(code), 0);
        return;
    }
    scancodedown(uint8_t(scan));
    int32_t column = modifier_column();
    bool alt_gr = keyheld(key::left_ctrl) && keyheld(key::right_alt) && !keyheld(key::right_ctrl) &&
                  !keyheld(key::left_alt);
    if (glyph && alt_gr) column = 0;
    int32_t entry = key_table(code, KT_PLAIN + column);
    if (!entry) return;
    int32_t ascii = code;
    if (entry & 0xFF00) {
        ascii = 0;
        scan = entry >> 8;
    } else {
        ascii = entry;
    }
    bios_keyboard_queue(uint8_t(ascii), uint8_t(scan));
}

void queue_extended(int32_t code, bool insert_was_held) {
    bool keypad_digit = false;
    if (key::is_keypad(code)) {
        int32_t index = key::keypad_index(code);
        keypad_digit = key::is_keypad_numlock(code) && index <= 10;
        code = (key_table_keypad_row + index - 256) * 256;
    }
    int32_t row = (code >> 8) + 256;
    int32_t ascii = 0, scan = code >> 8;
    if (key_table(row, KT_PLAIN)) {
        int32_t row_scan = key_table(row, KT_SCANCODE);
        scancodedown(uint8_t(row_scan));
        bool shift = shift_held(), ctrl = ctrl_held(), alt = alt_held();
        if (code == key::insert && !insert_was_held && !shift && !ctrl && !alt) {
            if (keyheld_exact(key::insert_state))
                keyheld_remove(key::insert_state);
            else
                keyheld_add(key::insert_state);
            update_shift_state();
        }
        int32_t column = alt ? KT_ALT
                         : ctrl ? KT_CTRL
                         : keypad_digit && shift ? KT_NUMLOCK_SHIFT
                         : keypad_digit ? KT_NUMLOCK
                         : shift ? KT_SHIFT
                                 : KT_PLAIN;
        int32_t entry = key_table(row, column);
        if (!entry) return;
        if (entry & 0xFF00) {
            scan = entry >> 8;
        } else {
            ascii = entry;
            scan = row_scan;
        }
    }
    bios_keyboard_queue(uint8_t(ascii), uint8_t(scan));
}

void press_modifier(int32_t code, bool scroll_was_held) {
    if (!is_modifier_or_lock(code)) return;  // Unicode, Pause, SysReq: nothing here
    scancodedown(uint8_t(modifier_of(code).scancode));
    if (code == key::scroll_lock && !scroll_was_held && !ctrl_held()) {
        if (keyheld_exact(key::scroll_lock_state))
            keyheld_remove(key::scroll_lock_state);
        else
            keyheld_add(key::scroll_lock_state);
    }
    update_shift_state();
}

// Steps 2 onwards of a press; the code is already in the held set.
void press(int32_t code, int32_t glyph, bool insert_was_held, bool scroll_was_held) {
    bool ctrl = ctrl_held();
    if (code == key::brk || ((code == key::scroll_lock || code == key::ctrl_break_alt) && ctrl)) {
        close_request(2);
        return;
    }
    if (code == key::f4 && alt_held()) {
        close_request(1);
        return;
    }
    if (code == key::pause || (code == key::num_lock && ctrl)) {
        suspend_program.fetch_or(1);
        zvevent_raise();
        return;
    }
    if (suspend_program.load() & 1) {
        suspend_program.fetch_and(uint8_t(~1));
        return;
    }
    if (code == 13 && alt_held() && fullscreen_allowedmode.load() >= 0) {
        fullscreen_alt_enter();
        return;
    }
    translated t = translate(code);
    if (trap(code, t.kc)) return;
    if (expand_soft_key(code, t.kc)) return;
    keyhit_append(t.kc, t.keypad);

    if (code == key::code_zero) code = 0;
    if (code >= 0 && code <= 255)
        queue_character(code, glyph != 0);
    else if (key::is_keypad(code) || code <= 0xFFFF)
        queue_extended(code, insert_was_held);
    else
        press_modifier(code, scroll_was_held);
}

// The code a character key is let go as: X names the release after the modifiers
// held then, so a key that went down as 'A' may come up as 'a' when Shift was let
// go first. A character that is not held releases the held character of the same
// key (same scancode) instead, so that no key stays held.
int32_t released_code(int32_t code) {
    if (code < 1 || code > 255 || keyheld_exact(code)) return code;
    int32_t scan = key_table(code, KT_SCANCODE);
    if (!scan) return code;
    for (int32_t held : keyheld_codes())
        if (held >= 1 && held <= 255 && key_table(held, KT_SCANCODE) == scan) return held;
    return code;
}

}  // namespace

void keydown(int32_t code) {
    {
        keyboard_guard hold(keyboard_mutex());
        if (code == 0) code = key::code_zero;
        int32_t glyph = keydown_glyph;
        keydown_glyph = 0;
        bool insert_was_held = keyheld_exact(key::insert);
        bool scroll_was_held = keyheld_exact(key::scroll_lock);
        keyheld_add(code);
        press(code, glyph, insert_was_held, scroll_was_held);
    }
    keyboard_wake_sleep();
}

void keyup(int32_t code) {
    keyboard_guard hold(keyboard_mutex());
    if (code == 0) code = key::code_zero;
    code = released_code(code);
    keyheld_remove(code);
    translated t = translate(code);
    if (unmask_release(code)) return;
    keyhit_append(-t.kc, t.keypad);
    if (code >= 0 && code <= 255) {
        if (key_table(code, KT_PLAIN)) scancodeup(uint8_t(key_table(code, KT_SCANCODE)));
    } else if (key::is_keypad(code) || code <= 0xFFFF) {
        int32_t row = row_of(code);
        if (key_table(row, KT_PLAIN)) scancodeup(uint8_t(key_table(row, KT_SCANCODE)));
        if (code == key::insert) update_shift_state();
    } else if (is_modifier_or_lock(code)) {
        scancodeup(uint8_t(modifier_of(code).scancode));
        update_shift_state();
    }
}

void keydown_ascii(int32_t c) { keydown(c); }
void keyup_ascii(int32_t c) { keyup(c); }
void keydown_vk(int32_t code) { keydown(code); }
void keyup_vk(int32_t code) { keyup(code); }

int32_t unicode_key_code(int32_t cp) {
    if (cp < 128) return cp;
    if (int32_t c = unicode_to_cp437(uint32_t(cp))) return c;
    if (cp >= 0xFF01 && cp <= 0xFF5E) return cp - 65248;
    if (cp == 0x3000) return 32;
    return key::unicode_base + cp;
}

void keydown_unicode(int32_t cp) {
    keyboard_guard hold(keyboard_mutex());
    keydown_glyph = cp;
    keydown(unicode_key_code(cp));
}

void keyup_unicode(int32_t cp) { keyup(unicode_key_code(cp)); }

void keyheld_unbind(int32_t binding) {
    keyboard_guard hold(keyboard_mutex());
    if (int32_t code = keyheld_bound_code(binding)) keyup(code);
}

void keyboard_release_held_keys() {
    keyboard_guard hold(keyboard_mutex());
    for (int32_t code : keyheld_codes()) {
        if (code == key::num_lock || code == key::caps_lock || code == key::scroll_lock_state ||
            code == key::insert_state)
            continue;
        keyup(code);
    }
}

void keyboard_set_soft_key(int32_t slot, const uint8_t* text, int32_t length) {
    if (slot < 0 || slot >= onkey_slot_count) return;
    if (length > soft_key_max) length = soft_key_max;
    if (length < 0) length = 0;
    keyboard_guard hold(keyboard_mutex());
    if (length) memcpy(soft_keys[slot].text, text, size_t(length));
    soft_keys[slot].length = length;
}

void keyboard_global_init() {
    keyboard_guard hold(keyboard_mutex());
    port60h_global_init();
    memset(keyup_mask, 0, sizeof keyup_mask);
    keyup_mask_last = -1;
    keydown_glyph = 0;
    resending = 0;
    memset(soft_keys, 0, sizeof soft_keys);
}

void keyboard_reset_for_tests() {
    keyboard_guard hold(keyboard_mutex());
    keyboard_global_init();
    keyheld_reset_for_tests();
    keyhit_reset_for_tests();
    bios_keyboard_empty();
}
