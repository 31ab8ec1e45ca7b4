// SCREEN: the legacy mode of the screen pages, the active (write and read) page and
// the visual (display) page; the screen-state words of the program thread.
#pragma once
#include <cstdint>

// Text geometry WIDTH asks of the next SCREEN 0 (-1 = none); each is reset to -1
// when used.
extern int32_t sub_screen_width_in_characters;
extern int32_t sub_screen_height_in_characters;
extern int32_t sub_screen_font;
// 1 while page 0 is a program image adopted by SCREEN with an image handle.
extern int32_t sub_screen_keep_page0;
// Set by start-up, read by LOCATE; cleared by every SCREEN but a plain SCREEN 0,
// and by WIDTH.
extern int32_t width8050switch;

// SCREEN [mode][, colour switch][, active page][, visual page]; passed bits 1 mode,
// 2 colour switch (ignored), 4 active page, 8 visual page; extra is not read. A
// negative mode is an image handle that becomes page 0. SCREEN 0 makes the text pages
// that conventional memory holds (page 0 always) and leaves the others of its eight to
// their first use; a text geometry above img_max_text_cells cells is error 7, and the
// old screen stays.
void zvg_screen(int32_t mode, int32_t colour_switch, int32_t active_page, int32_t visual_page, int32_t extra,
                int32_t passed);

// Start-up of a console program: the console image, an 80 x 25 text image.
void screen_console_image_init();

// The KEY line's part of a mode change (key_display_redraw = 1, then key_update).
// Registered by the KEY line; nothing until then.
void screen_set_key_line_redraw(void (*redraw)());

// Forgets the screen-state words (not the pages; see image_table_reset_for_tests).
void screen_reset_for_tests();
