// The KEY line: the function-key bar on the last text row of screen page 0.
// Program thread only.
#pragma once
#include <cstdint>


// 1 while the KEY line is on (KEY ON), 0 after KEY OFF.
extern int32_t key_display;
// The key_display value last drawn.
extern int32_t key_display_state;
// Set by SCREEN and CLS to ask key_update for a redraw.
extern int32_t key_display_redraw;

// The texts are the soft-key texts of KEY n: ON KEY slots 1-10 for F1-F10, 30 and
// 31 for F11 and F12.
// Redraws the KEY line when a redraw was asked for or KEY ON/OFF changed it; the
// write image, page 0's cursor, hold and colours are as before afterwards.
void key_update();
// A redraw asked for by SCREEN: key_display_redraw = 1, then key_update.
void key_line_redraw();

// Cells of the keys: key i (1-based) starts at start[i - 1] and its text stops
// before end[i - 1]; columns, or pixels for a proportional font.
struct key_line_layout {
    int32_t keys;  // how many keys are drawn (1-12)
    int32_t start[12];
    int32_t end[12];
    int32_t limit;
};
// The layout for a row of columns cells (fixed width), or of width pixels with a
// proportional font of the given height.
key_line_layout key_line_cells(int32_t columns_or_width, int32_t font_height, bool proportional);

void key_line_reset_for_tests();
