// INKEY$, _KEYHIT, _KEYDOWN, _KEYCLEAR and _MAPUNICODE: the program thread's side of
// the keyboard buffers. Each returns at once while an error is pending.
#pragma once
#include <cstdint>

struct zvs;

// INKEY$: the oldest BIOS buffer entry as one character, or CHR$(0) + scancode for
// an extended key; "" when the buffer is empty. A temporary.
zvs* zvs_inkey();
// _KEYHIT: the oldest key code of the _KEYHIT ring (negative for a release), 0 when
// it is empty.
int32_t func__keyhit();
// _KEYDOWN(code): -1 while the key (or its keypad twin) is held; code 0 or less is
// error 5.
int32_t func__keydown(int32_t code);
// _KEYCLEAR [n]: 1 the BIOS buffer, 2 the _KEYHIT ring, 3 the port 60h queue,
// omitted all three; other n error 5. Pending terminal input is always discarded.
// passed bit 0: n given.
void sub__keyclear(int32_t n, int32_t passed);

// _MAPUNICODE code point TO index, and _MAPUNICODE(index).
void sub__mapunicode(int32_t code_point, int32_t index);
int32_t func__mapunicode(int32_t index);
