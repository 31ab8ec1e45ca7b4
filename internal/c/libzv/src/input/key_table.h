// The key translation table: PC scancodes and the BIOS keyboard entries of every key.
#pragma once
#include <cstdint>

// Rows 0..255 by character code, 256..511 by extended scancode + 256, 512..527 the
// keypad keys (0-9, '.', '/', '*', '-', '+', Enter).
constexpr int32_t key_table_rows = 528;
constexpr int32_t key_table_keypad_row = 512;

// Columns. A BIOS entry below 256 is queued as (that ASCII code, the row's scancode);
// an entry with bits in 0xFF00 as (0, entry >> 8); 0 queues nothing.
enum key_table_column : int32_t {
    KT_CODE = 0,          // the row's own key code (not used by the pipeline)
    KT_SCANCODE = 1,      // PC scancode
    KT_PLAIN = 2,         // BIOS entry with no modifier
    KT_SHIFT = 3,
    KT_CTRL = 4,
    KT_ALT = 5,
    KT_NUMLOCK = 6,       // keypad with Num Lock
    KT_NUMLOCK_SHIFT = 9  // keypad with Num Lock and Shift
};

// key_translation_table[row][column]; rows outside the table read as 0.
int32_t key_table(int32_t row, int32_t column);
