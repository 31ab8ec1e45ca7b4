// Keysyms to Unicode, for typing when no input method opens.
#pragma once
#include <cstdint>

// The character a keysym types, or 0 when it types none.
uint32_t x11_keysym_to_unicode(uint32_t keysym);
