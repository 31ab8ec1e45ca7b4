// The printer page's side of the PRINT core. LPRINT sets `lprint` while it writes
// to its page; the PRINT core then keeps the printer column and hands a full page
// to the printer instead of scrolling. Program thread only.
#pragma once
#include <cstdint>
#include <mutex>

// lprint on or off, with the table index of the printer page (0: none yet).
void set_lprint(int32_t on, int32_t page_index);
int32_t lprint_on();
int32_t lprint_page();
// The printer rules hold only while lprint is set and the write image is the
// printer page: nested PRINTs on other images (the KEY line) stay plain.
bool printer_rules_apply();

int32_t lprint_buffered();
void set_lprint_buffered(int32_t value);
int32_t lpos();  // the printer column, 1 at start
void set_lpos(int32_t value);
int32_t width_lprint();  // the printer line width, 80 at start
void set_width_lprint(int32_t value);

// Sends the page to the printer (_PRINTIMAGE); nothing until one is registered.
void printer_page_send();
void set_printer_page_sender(void (*send)());
// The printer page's index, made on demand (the LPRINT of an empty string); 0
// when there is no printer page to make. TAB and SPC inside LPRINT ask for it.
int32_t printer_page_ensure();
void set_printer_page_maker(int32_t (*make)());

// The hand-off between the program thread, which prints on the page (LPRINT, and
// TAB and SPC while they measure it), and the housekeeping thread, which hands an
// idle page to the printer: whoever holds this lock owns the page and its words.
std::unique_lock<std::mutex> printer_page_hold();
// The lock when it is free at once; not owned otherwise.
std::unique_lock<std::mutex> printer_page_try_hold();

void printer_page_reset_for_tests();
