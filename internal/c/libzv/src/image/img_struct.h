// The image record: one screen page or one software image of the image table.
#pragma once
#include <cstdint>
#include <type_traits>

#include "memory/mem_lock.h"

// Ownership and kind bits of img_struct.flags.
constexpr uint32_t IMG_FREEPALETTE = 1;  // owns its palette
constexpr uint32_t IMG_SCREEN = 2;       // a screen page
constexpr uint32_t IMG_FREEMEM = 4;      // owns its pixel buffer

// A text cell: character in the low byte, attribute in the high byte.
using text_cell = uint16_t;
constexpr text_cell blank_text_cell = 0x0720;

// Limits of one record: the size fields are 16-bit, the text cursor and VIEW PRINT
// rows are int16, and a _MEM block's size must hold the pixel bytes.
constexpr int64_t img_max_side = 65535;
constexpr int64_t img_max_text_side = 32767;
constexpr int64_t img_max_bytes = 2147483647;
// Cells of one text page or text image: far above any real screen (4096 x 4096, or
// 16384 x 1024), and 32 MiB of cells. Beyond it a text screen is out of memory (error
// 7) at once, before anything is allocated or touched.
constexpr int64_t img_max_text_cells = int64_t(1) << 24;

// VIEW, WINDOW, graphics cursor and DRAW state: SCREEN copies exactly this range
// from the previous active page, so it is one block.
struct img_graphics_state {
    int32_t view_x1, view_y1, view_x2, view_y2;  // VIEW rectangle, inclusive
    int32_t view_offset_x, view_offset_y;
    float x, y;                                  // graphics cursor
    uint8_t clipping_or_scaling;                 // 0 none, 1 VIEW, 2 WINDOW
    float scaling_x, scaling_y, scaling_offset_x, scaling_offset_y;
    float window_x1, window_y1, window_x2, window_y2;
    double draw_angle, draw_scale;
};

struct img_struct {
    mem_lock* lock_pointer;  // lock of _MEMIMAGE blocks, null until the first one
    uint64_t lock_id;        // non-zero: a lock to release when the image is freed
    uint8_t valid;
    uint8_t text;     // cells instead of pixels
    uint8_t console;  // the console image
    uint16_t width;   // pixels, or columns of a text image
    uint16_t height;  // pixels, or rows of a text image
    uint8_t bytes_per_pixel;  // 1 palette, 2 text, 4 32-bit
    uint8_t bits_per_pixel;   // 1, 2, 4, 8, 16 (text) or 32
    uint32_t pixel_mask;
    uint16_t legacy_mode;  // 0-13, 256 (8-bit image) or 32
    uint32_t color;
    uint32_t background_color;
    uint32_t draw_color;
    int32_t font;
    int16_t top_row, bottom_row;  // VIEW PRINT rows, 1-based
    int16_t cursor_x, cursor_y;   // text cursor, 1-based
    uint8_t cursor_show;
    uint8_t cursor_firstvalue, cursor_lastvalue;
    uint8_t* pixels;  // rows top to bottom, no padding; text_cell values for text
    uint32_t flags;   // IMG_FREEPALETTE, IMG_SCREEN, IMG_FREEMEM
    uint32_t* palette;  // 256 entries 0xAARRGGBB; null for a 32-bit image
    int32_t clear_color;  // transparent index for blits, -1 none
    uint8_t blend_off;    // set by _DONTBLEND
    uint8_t cursor_held;  // PRINT holds the cursor at the right edge
    uint8_t print_mode;   // 1 keep background, 2 only background, 3 fill
    img_graphics_state graphics;
};

// Records are copied whole (_COPYIMAGE) and zeroed whole (freeimg).
static_assert(std::is_trivially_copyable_v<img_struct>);
