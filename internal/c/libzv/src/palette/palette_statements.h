// Statements that change palettes and colours: COLOR, PALETTE, PALETTE USING,
// _PALETTECOLOR and _COPYPALETTE.
#pragma once
#include <cstdint>

// COLOR [fg][, bg][, border]; passed bits 1, 2, 4.
void zvg_sub_color(uint32_t fg, uint32_t bg, uint32_t border, int32_t passed);
// PALETTE [attribute, colour]; passed 0 restores the mode's palette.
void zvg_palette(uint32_t attribute, uint32_t colour, int32_t passed);
// PALETTE USING array(start): the array's bytes from its start to its end, and the
// element width in bits (16 or 32).
void sub_paletteusing(const void* data, int64_t bytes, int32_t element_bits);
// _PALETTECOLOR(attribute[, handle]): the entry with alpha 255.
uint32_t func__palettecolor(int32_t attribute, int32_t handle, int32_t passed);
// _PALETTECOLOR attribute, colour[, handle]: the colour stored unchanged.
void sub__palettecolor(int32_t attribute, uint32_t colour, int32_t handle, int32_t passed);
// _COPYPALETTE [source[, destination]]; passed bits 1, 2.
void sub__copypalette(int32_t source, int32_t destination, int32_t passed);

// The SGR sequence for a console text attribute: ESC [ 0 ; fg ; bg m.
void console_attribute_sequence(uint32_t attribute, char* out, int32_t out_size);
