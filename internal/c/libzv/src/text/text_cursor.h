// Placing and reading the text cursor: LOCATE, VIEW PRINT, CSRLIN, POS, TAB, SPC
// and the SCREEN function. On the console image of a console program they work on
// the terminal. Program thread only.
#pragma once
#include <cstdint>

#include "string/zvs.h"

// LOCATE [row][, column][, cursor][, start][, stop]; passed bits 1 row, 2 column,
// 4 cursor, 8 start, 16 stop.
void zvg_sub_locate(int32_t row, int32_t column, int32_t cursor, int32_t start, int32_t stop, int32_t passed);
// VIEW PRINT [top TO bottom]; passed bit 1 both rows.
void zvg_sub_view_print(int32_t top, int32_t bottom, int32_t passed);
int32_t func_csrlin();
int32_t func_pos(int32_t dummy);
// TAB(column) and SPC(count): temporary strings for PRINT to print.
zvs* func_tab(int32_t column);
zvs* func_spc(int32_t count);
// SCREEN(row, column[, colour flag]); passed bit 1 the flag. Reads the read image.
int32_t func_screen(int32_t row, int32_t column, int32_t colour_flag, int32_t passed);

// Set by translated code around TAB and SPC: 1 printing to the screen or printer,
// 2 printing to a file with PRINT # (a new line there is CR LF); the file number
// of that PRINT #; 1 while the items belong to an LPRINT.
extern int32_t tab_spc_cr_size;
extern int32_t tab_fileno;
extern int32_t tab_LPRINT;

// The print column of an open file for TAB in PRINT #: 1-based, or 0 when the
// number names no open file; *screen is set when the file is the screen device.
// Nothing is open until the file layer registers its answer.
void set_tab_file_column(int32_t (*column)(int32_t fileno, bool* screen));

// While width8050switch is set (the start-up 80 x 25 text screen), the first LOCATE
// to a row below the VIEW PRINT region switches page 0 to 80 x 50 through WIDTH:
// WIDTH columns, rows, as LOCATE runs it. Until one is registered the switch is
// not available and such a row raises error 5.
void set_locate_width(void (*width)(int32_t columns, int32_t rows));

void text_cursor_reset_for_tests();
