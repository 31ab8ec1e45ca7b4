// Legacy modes and the defaults a new record receives; building records for a mode.
#pragma once
#include <cstdint>

#include "image/img_struct.h"

// One legacy mode (or the 8-bit and 32-bit image kinds 256 and 32).
struct legacy_mode_info {
    int32_t mode;
    int32_t page_width, page_height;  // size of a page SCREEN builds; 0 when given by the caller
    uint8_t bits_per_pixel;
    uint8_t bytes_per_pixel;
    int32_t font;           // 0: chosen by text geometry (mode 0)
    uint32_t color;         // default foreground
    uint32_t background;    // default background
    bool screen;            // SCREEN can select it by number (256 and 32 are images only)
};

// The defaults of a mode, or null for a mode that does not exist (3-6, above 13
// except 256 and 32, negative).
const legacy_mode_info* legacy_mode(int32_t mode);

// Font for a text geometry: 16 up to 42 rows, 14 for 43-49, 8 from 50; one more
// (double width) for 40 columns or fewer.
int32_t text_font_for(int32_t columns, int32_t rows);

// Gives a record a font: text cursor to row 1 column 1 (no longer held), VIEW PRINT
// rows 1 to rows - 1 (at least 1), rows being the height of a text record or the
// height in character cells of the font. Returns 1.
int32_t selectfont(int32_t font, img_struct* im);

// A new record for a mode over a buffer it does not own; 0 when width or height is
// not positive or beyond a record's limits, or when its palette cannot be had.
int32_t imgframe(uint8_t* pixels, int32_t width, int32_t height, int32_t mode);
// As imgframe with a palette the caller allocated (256 zeroed entries; null for a
// 32-bit mode), which the record then owns: only the slot can fail (0, and the
// palette is still the caller's).
int32_t imgframe_with_palette(uint8_t* pixels, uint32_t* palette, int32_t width, int32_t height, int32_t mode);
// A new record with its own zeroed buffer (text cells blank); 0 when the buffer
// cannot be had (above 2^31 - 1 bytes, or a text image above img_max_text_cells
// cells, counts as that). The first 32-bit image builds
// the blend tables.
int32_t imgnew(int32_t width, int32_t height, int32_t mode);
