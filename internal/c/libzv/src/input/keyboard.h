// The keyboard pipeline: every key press and release that reaches the program. It
// keeps the held-key set, acts on the keys the runtime owns (Break, Alt+F4, Pause,
// Alt+Enter), hands ON KEY traps to the event system, expands soft-key texts, and
// feeds the _KEYHIT ring, the BIOS keyboard buffer and the port 60h queue.
//
// Writers: the window thread (callbacks and hooks), start-up and the housekeeping
// loop's lock-key re-sync; each call holds the keyboard mutex for its whole run.
#pragma once
#include <cstdint>

void keydown(int32_t code);
void keyup(int32_t code);

void keydown_ascii(int32_t c);
void keyup_ascii(int32_t c);
void keydown_vk(int32_t code);
void keyup_vk(int32_t code);
// A character by its code point: code page 437 when it has one, full-width forms
// as their ASCII twins, else 0x40000000 + the code point.
void keydown_unicode(int32_t code_point);
void keyup_unicode(int32_t code_point);

// Releases (through keyup) the held key recorded with the binding.
void keyheld_unbind(int32_t binding);
// The window lost the focus: every held key but the lock states is released, since
// their releases will go to another window.
void keyboard_release_held_keys();

// KEY n's soft-key text of ON KEY slot 0..31 as the pipeline expands it (at most
// 15 bytes; empty for none).
void keyboard_set_soft_key(int32_t slot, const uint8_t* text, int32_t length);

// The key code a code point arrives as.
int32_t unicode_key_code(int32_t code_point);

// Start-up: the port 60h queue and the release mask.
void keyboard_global_init();
// Every keyboard structure as at start-up, the BIOS buffer empty (tests).
void keyboard_reset_for_tests();
