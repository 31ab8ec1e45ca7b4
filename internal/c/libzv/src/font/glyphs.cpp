// Glyph sets expanded from the packed ROMs.
#include "font/glyphs.h"

uint8_t charset8x8[256 * 64];
uint8_t charset8x16[256 * 128];

namespace {

void expand(const unsigned char* rom, int rows, uint8_t* out) {
    for (int glyph = 0; glyph < 256; glyph++)
        for (int row = 0; row < rows; row++) {
            unsigned char bits = rom[glyph * rows + row];
            for (int x = 0; x < 8; x++) out[(glyph * rows + row) * 8 + x] = (bits & (0x80 >> x)) ? 255 : 0;
        }
}

}  // namespace

void glyphs_global_init() {
    expand(glyph_rom_8x8, 8, charset8x8);
    expand(glyph_rom_8x16, 16, charset8x16);
}
