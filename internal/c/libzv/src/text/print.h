// PRINT on the write image: drawing one character, the new line with scrolling,
// the PRINT core with its control characters, line fitting, the comma, _CONTROLCHR
// and _PRINTWIDTH. Program thread only.
//
// Translated code prints a statement item by item: makefit(item) then
// zvs_print(item, 0); tab() for a comma; zvs_print(empty, 1) when the statement
// does not end with ';' or ','. None of these consume their string argument.
//
// On the console image (console programs) text goes to the terminal unchanged,
// every byte included, and is flushed at once.
#pragma once
#include <cstdint>

#include "string/zvs.h"

// Draws one character at the write image's cursor; the cursor does not move.
// Pixels outside the image are skipped (images smaller than one cell).
void printchr(int32_t character);
// Width in pixels of one character in the write image's font.
int32_t chrwidth(uint32_t character);
// Cursor to column 1 of the next row; past the VIEW PRINT region the region
// scrolls up one row (on the printer page, the page goes to the printer instead).
void newline();

// The PRINT core; returns at once while an error is pending.
void zvs_print(zvs* text, int32_t finish_line);
// Starts a new line when the item would not fit on the rest of the row.
void makefit(zvs* text);
// LPRINT's line fitting: nothing.
void lprint_makefit(zvs* text);
// The PRINT comma: to the next 14-column zone (every 10th column on the console).
void tab();

// makefit and zvs_print of constant text (END's prompt, _ECHO): a read-only
// temporary wrapper, released with the statement's temporaries.
void print_text(const char* text, int32_t finish_line);

// _CONTROLCHR ON (1) / OFF (2); the function gives -1 while control characters are off.
void sub__controlchr(int32_t option);
int32_t func__controlchr();
// 1 while the KEY line prints its own labels: control characters print as glyphs.
extern int32_t no_control_characters;
// 1 after _CONTROLCHR OFF.
extern int32_t no_control_characters2;

// _PRINTWIDTH(text[, handle]); passed bit 1 handle.
int32_t func__printwidth(zvs* text, int32_t handle, int32_t passed);

// CHR$(7) on an image rings the bell through this call (BEEP); nothing until one
// is registered.
void set_print_beep(void (*beep)());

// Starting state of the PRINT words (tests).
void print_reset_for_tests();
