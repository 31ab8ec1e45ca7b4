// _SCREENPRINT.
#include "input/screen_print.h"

#include <string>

#include "error/error.h"
#include "string/zvs.h"

namespace {

const screen_print_ops desktop_ops{x11_named_keycode, x11_key_for_character,
                                   [](uint32_t keycode, bool press) { x11_fake_keycode(keycode, press); }};
const screen_print_ops* ops = &desktop_ops;

// Down and up of one key, inside the given modifier (0: none).
void tap(uint32_t keycode, uint32_t modifier) {
    if (!keycode) return;
    if (modifier) ops->key(modifier, true);
    ops->key(keycode, true);
    ops->key(keycode, false);
    if (modifier) ops->key(modifier, false);
}

void tap_named(x11_named_key key, uint32_t modifier = 0) { tap(ops->named_keycode(key), modifier); }

// The second byte of a two-byte extended code.
bool extended_key(uint8_t code, x11_named_key* key) {
    switch (code) {
    case 75: *key = x11_named_key::left; return true;
    case 77: *key = x11_named_key::right; return true;
    case 72: *key = x11_named_key::up; return true;
    case 80: *key = x11_named_key::down; return true;
    case 82: *key = x11_named_key::insert; return true;
    case 71: *key = x11_named_key::home; return true;
    case 83: *key = x11_named_key::del; return true;
    case 79: *key = x11_named_key::end; return true;
    case 81: *key = x11_named_key::page_down; return true;
    case 73: *key = x11_named_key::page_up; return true;
    }
    return false;
}

void type_character(uint8_t c) {
    if (c == 9) return tap_named(x11_named_key::tab);
    if (c == 8) return tap_named(x11_named_key::backspace);
    if (c == 13) return tap_named(x11_named_key::enter);
    if (c >= 1 && c <= 26) {
        // Ctrl with the letter's own key: its lower-case form names the key.
        uint32_t control = ops->named_keycode(x11_named_key::control);
        if (control) tap(ops->character_key(uint8_t(c + 96)).keycode, control);
        return;
    }
    if (c >= 32 && c <= 126) {
        x11_character_key key = ops->character_key(c);
        tap(key.keycode, key.shift ? ops->named_keycode(x11_named_key::shift) : 0);
    }
}

}  // namespace

void screen_print_set_ops(const screen_print_ops* replacement) { ops = replacement ? replacement : &desktop_ops; }

void sub__screenprint(zvs* text) {
    if (new_error_is_set()) return;
    // A copy: the text must not move under the loop.
    std::string bytes(reinterpret_cast<const char*>(text->text), size_t(text->length > 0 ? text->length : 0));
    for (size_t i = 0; i < bytes.size(); i++) {
        uint8_t c = uint8_t(bytes[i]);
        if (c != 0) {
            type_character(c);
            continue;
        }
        if (i + 1 >= bytes.size()) break;
        uint8_t second = uint8_t(bytes[++i]);  // the pair is one item
        x11_named_key key;
        if (second == 15)
            tap_named(x11_named_key::tab, ops->named_keycode(x11_named_key::shift));
        else if (extended_key(second, &key))
            tap_named(key);
    }
}
