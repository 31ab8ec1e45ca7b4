// The emulated BIOS keyboard buffer and flag bytes in conventional memory.
// Buffer: head word at 0x41A, tail word at 0x41C (low bytes used), 15 entries of
// (ASCII, scancode) at 0x41E..0x43D. The writer side holds the keyboard mutex; the
// reader (INKEY$) takes no lock.
#pragma once
#include <cstdint>

constexpr int32_t bios_keyboard_first = 0x1E;  // offsets from 0x400
constexpr int32_t bios_keyboard_last = 0x3C;

// Start-up and _KEYCLEAR: head and tail 0x1E, their high bytes 0.
void bios_keyboard_empty();
// Appends an entry; a full buffer drops it.
void bios_keyboard_queue(uint8_t ascii, uint8_t scancode);

struct bios_keyboard_entry {
    bool present;
    uint8_t ascii, scancode;
};
// Takes the oldest entry (INKEY$).
bios_keyboard_entry bios_keyboard_take();

// Rewrites the flag bytes 0x417, 0x418 and 0x496 from the held-key set.
void update_shift_state();
