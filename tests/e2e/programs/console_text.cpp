// A console program with a hidden screen: PRINT, LOCATE, POS, the comma and SLEEP on
// the terminal. It waits for a key (SLEEP), then sleeps one second, then ends.
#include <cstdio>

#include "zv.h"

namespace {

void print_item(const char* text) {
    zvs* s = zvs_new_txt(text);
    makefit(s);
    zvs_print(s, 0);
}
void print_end() { zvs_print(zvs_new_txt(""), 1); }

void print_pos() {
    char number[16];
    snprintf(number, sizeof number, " %d ", func_pos(0));
    print_item(number);
    print_end();
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    sub__dest(console_image());
    sub__source(console_image());
    ZV_STATEMENT(1, print_text("ready", 1));
    ZV_STATEMENT(2, zvg_sub_locate(3, 5, 0, 0, 0, 3));
    ZV_STATEMENT(3, print_item("at"); print_pos());
    ZV_STATEMENT(4, print_item("a"); tab(); print_item("b"); print_end());
    ZV_STATEMENT(5, sub_sleep(0, 0));
    ZV_STATEMENT(6, print_text("woke", 1));
    ZV_STATEMENT(7, sub_sleep(1, 1));
    ZV_STATEMENT(8, print_text("done", 1));
}

void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}

}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
