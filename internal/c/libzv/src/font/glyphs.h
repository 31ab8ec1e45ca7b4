// The built-in glyph sets: code page 437 in 8x8 and 8x16 cells, one byte per pixel
// (255 set, 0 clear), rows top to bottom; and the code page 437 to Unicode table.
#pragma once
#include <atomic>
#include <cstdint>

// Packed ROMs generated at build time: one bit per pixel, most significant bit left.
extern const unsigned char glyph_rom_8x8[256 * 8];
extern const unsigned char glyph_rom_8x16[256 * 16];

// Glyph n starts at byte n * 64 (8x8) or n * 128 (8x16).
extern uint8_t charset8x8[256 * 64];
extern uint8_t charset8x16[256 * 128];

// Fills the glyph sets from the ROMs.
void glyphs_global_init();

// Writable: _MAPUNICODE changes entries on the program thread while the keyboard
// pipeline reads them on the window thread.
extern std::atomic<uint16_t> codepage437_to_unicode16[256];
// Every entry back to the table a program starts with.
void codepage437_reset_for_tests();

// The lowest index whose Unicode entry equals the code point, else 0.
int32_t unicode_to_cp437(uint32_t code_point);
