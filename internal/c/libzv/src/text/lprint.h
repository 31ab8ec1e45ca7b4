// LPRINT, LPOS, _PRINTIMAGE and the printer page: a 640 x 960 image of 60 lines of
// 80 characters, black on white, handed to the printer on a form feed, when printing
// passes its last line, after 10 idle seconds and at shutdown. No printer is
// connected here, so a handed-over page is simply cleared.
#pragma once
#include <cstdint>

#include "string/zvs.h"

// LPRINT of one item, called like zvs_print (after lprint_makefit). The printer
// page is the write image only while the item prints. Program thread.
void zvs_lprint(zvs* text, int32_t finish_line);
// The comma of an LPRINT statement: the next print zone of the printer page.
void lprint_tab();
// LPOS(port): the printer column for ports 0 to 3, else error 5 and 0.
int32_t func_lpos(int32_t port);
// _PRINTIMAGE handle: sends an image to the printer; there is none here.
void sub__printimage(int32_t handle);

// Housekeeping pass: a page with text left alone for 10 seconds (TIMER, either way
// round midnight) goes to the printer and is cleared. Skipped while LPRINT prints.
void lprint_idle();
// Shutdown: a page with unprinted text goes to the printer once more.
void lprint_shutdown();

// Start-up: TAB and SPC may make the page, the PRINT core hands it over, and the
// housekeeping loop gets the idle check and the shutdown hand-over.
void lprint_global_init();
// No printer page and no LPRINT yet (tests); the page's image is not freed.
void lprint_reset_for_tests();
