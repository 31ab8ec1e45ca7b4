// _SCREENPRINT: text typed into the system's input, key by key.
#pragma once
#include <cstdint>

#include "platform/x11_desktop.h"

struct zvs;

// _SCREENPRINT text: Tab, Backspace and Enter for 9, 8 and 13; Ctrl + the letter
// for the other codes 1-26; the character's key (with Shift when the key needs it)
// for 32-126; CHR$(0) + code for Shift+Tab (15) and the cursor and editing keys;
// nothing for the rest.
void sub__screenprint(zvs* text);

// Where the keys go; tests record them. nullptr: the desktop through XTest.
struct screen_print_ops {
    uint32_t (*named_keycode)(x11_named_key key);
    x11_character_key (*character_key)(uint8_t c);
    void (*key)(uint32_t keycode, bool press);
};
void screen_print_set_ops(const screen_print_ops* ops);
