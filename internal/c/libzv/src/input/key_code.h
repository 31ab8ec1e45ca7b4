// Key codes of the keyboard pipeline: the 32-bit numbers that _KEYHIT, _KEYDOWN and
// ON KEY speak.
//   1..255             code page 437 characters
//   scancode * 256     extended keys (F1 0x3B00, Left 0x4B00, ...)
//   100000 + n         lock, modifier and special keys
//   100256..100271     keypad keys with Num Lock (digits 0-9, '.', '/', '*', '-', '+', Enter)
//   200000..200010     keypad keys without Num Lock (Insert, End, Down, PgDn, Left,
//                      centre, Right, Home, Up, PgUp, Delete)
//   200011, 200012     the Scroll Lock and Insert states; 200013 stands for code 0
//   0x40000000 + cp    Unicode characters outside code page 437
#pragma once
#include <cstdint>

namespace key {

constexpr int32_t f1 = 0x3B00;
constexpr int32_t f4 = 0x3E00;
constexpr int32_t f10 = 0x4400;
constexpr int32_t f11 = 0x8500;
constexpr int32_t f12 = 0x8600;
constexpr int32_t home = 0x4700;
constexpr int32_t up = 0x4800;
constexpr int32_t page_up = 0x4900;
constexpr int32_t left = 0x4B00;
constexpr int32_t centre = 0x4C00;
constexpr int32_t right = 0x4D00;
constexpr int32_t end = 0x4F00;
constexpr int32_t down = 0x5000;
constexpr int32_t page_down = 0x5100;
constexpr int32_t insert = 0x5200;
constexpr int32_t del = 0x5300;

constexpr int32_t pause = 100019;
constexpr int32_t num_lock = 100300;
constexpr int32_t caps_lock = 100301;
constexpr int32_t scroll_lock = 100302;
constexpr int32_t right_shift = 100303;
constexpr int32_t left_shift = 100304;
constexpr int32_t right_ctrl = 100305;
constexpr int32_t left_ctrl = 100306;
constexpr int32_t right_alt = 100307;
constexpr int32_t left_alt = 100308;
constexpr int32_t sys_req = 100317;
constexpr int32_t brk = 100318;
// Named as a Break combination with Ctrl; no input path produces it.
constexpr int32_t ctrl_break_alt = 100296;

constexpr int32_t keypad_numlock_first = 100256;  // digit 0
constexpr int32_t keypad_numlock_last = 100271;   // Enter
constexpr int32_t keypad_plain_first = 200000;    // Insert (keypad 0)
constexpr int32_t keypad_plain_last = 200010;     // Delete (keypad '.')

constexpr int32_t scroll_lock_state = 200011;
constexpr int32_t insert_state = 200012;
constexpr int32_t code_zero = 200013;

constexpr int32_t unicode_base = 0x40000000;

constexpr bool is_keypad_numlock(int32_t code) { return code >= keypad_numlock_first && code <= keypad_numlock_last; }
constexpr bool is_keypad_plain(int32_t code) { return code >= keypad_plain_first && code <= keypad_plain_last; }
constexpr bool is_keypad(int32_t code) { return is_keypad_numlock(code) || is_keypad_plain(code); }
// Keypad row 0..15 of a keypad code (0-9, '.', '/', '*', '-', '+', Enter).
constexpr int32_t keypad_index(int32_t code) {
    return is_keypad_numlock(code) ? code - keypad_numlock_first : code - keypad_plain_first;
}

}  // namespace key
