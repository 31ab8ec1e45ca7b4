// The printer-page words that the PRINT core keeps in step while LPRINT writes.
#include "image/printer_page.h"

#include "image/image_table.h"

namespace {
int32_t lprint_flag = 0;
int32_t lprint_image = 0;
int32_t buffered = 0;
int32_t printer_column = 1;
int32_t printer_width = 80;
void (*sender)() = nullptr;
int32_t (*maker)() = nullptr;
std::mutex page_lock;
}  // namespace

void set_lprint(int32_t on, int32_t page_index) {
    lprint_flag = on;
    lprint_image = page_index;
}
int32_t lprint_on() { return lprint_flag; }
int32_t lprint_page() { return lprint_image; }
bool printer_rules_apply() { return lprint_flag && lprint_image && write_page_index() == lprint_image; }

int32_t lprint_buffered() { return buffered; }
void set_lprint_buffered(int32_t value) { buffered = value; }
int32_t lpos() { return printer_column; }
void set_lpos(int32_t value) { printer_column = value; }
int32_t width_lprint() { return printer_width; }
void set_width_lprint(int32_t value) { printer_width = value; }

void printer_page_send() {
    if (sender) sender();
}
void set_printer_page_sender(void (*send)()) { sender = send; }

int32_t printer_page_ensure() { return maker ? maker() : 0; }
void set_printer_page_maker(int32_t (*make)()) { maker = make; }

std::unique_lock<std::mutex> printer_page_hold() { return std::unique_lock<std::mutex>(page_lock); }
std::unique_lock<std::mutex> printer_page_try_hold() { return std::unique_lock<std::mutex>(page_lock, std::try_to_lock); }

void printer_page_reset_for_tests() {
    lprint_flag = lprint_image = buffered = 0;
    printer_column = 1;
    printer_width = 80;
    sender = nullptr;
    maker = nullptr;
}
