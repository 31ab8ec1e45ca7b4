// The held-key set: every key code that is down now, with the OS key binding that
// was recorded with it. Lock states live in it too: Caps Lock (100301) and Num Lock
// (100300) are "held" while their lock is on, the Scroll Lock and Insert states are
// 200011 and 200012.
//
// Writers hold the keyboard mutex. Readers on any thread take no lock: a key stays
// in the same slot from its press to its release, so a reader never misses a key
// that is held throughout its look.
#pragma once
#include <cstdint>
#include <vector>

constexpr int32_t keyheld_size = 256;  // further keys are not recorded

// 1 when the code is held, or its keypad twin is (13 and Enter on the keypad, the
// arrows and their keypad forms, ...).
bool keyheld(int32_t code);
// Only the code itself.
bool keyheld_exact(int32_t code);
// Every held code (order of their slots).
std::vector<int32_t> keyheld_codes();

// Writers (keyboard mutex held). The binding recorded with the next added key; it is
// cleared by that add.
void keyheld_set_bindkey(int32_t binding);
// Adds the code unless it is held already (then its binding is kept).
void keyheld_add(int32_t code);
void keyheld_remove(int32_t code);
// The held code recorded with the binding, 0 when none.
int32_t keyheld_bound_code(int32_t binding);

void keyheld_reset_for_tests();
