// _CONSOLE, _CONSOLE ON/OFF, _CONSOLETITLE, _CONSOLEFONT, the console cursor, _CINP.
#include "text/console_controls.h"

#include "clock/clock.h"
#include "core/program.h"
#include "error/error.h"
#include "image/image_table.h"
#include "platform/console_controls.h"
#include "string/zvs.h"
#include "text/console_input.h"

std::atomic<int32_t> console_active{1};

namespace {
// A terminal's cursor cannot be read back: the last one written stands for it.
struct cursor_record {
    bool visible = true;
    int32_t size = 25;
} cursor;
bool font_called = false;
}  // namespace

void console_controls_reset_for_tests() {
    console_active.store(1);
    cursor = {};
    font_called = false;
}

int32_t func__console() {
    if (new_error_is_set()) return -1;
    return console_image();
}

void sub__console(int32_t mode) {
    if (new_error_is_set()) return;
    if (!libzv_program().console) return;
    // A terminal window can be neither shown nor hidden by its program: only the
    // state changes, as for a console shared with other processes.
    if (mode == 1) {
        if (!console_active.load()) console_active.store(1);
    } else if (console_active.load()) {
        console_active.store(0);
    }
}

void sub__consoletitle(zvs* text) {
    if (new_error_is_set()) return;
    if (!libzv_program().console || !console_active.load()) return;
    console_terminal_set_title(text->text, size_t(text->length > 0 ? text->length : 0));
    libzv_sleep_ms(40);
}

void sub__consolefont(zvs*, int32_t) {
    if (new_error_is_set()) return;
    if (!font_called) {
        font_called = true;
        libzv_sleep_ms(500);
    }
}

void sub__console_cursor(int32_t mode, int32_t size, int32_t passed) {
    if (new_error_is_set()) return;
    if (passed & 1) {
        if (mode == 1) cursor.visible = true;
        if (mode == 2) cursor.visible = false;
    }
    if ((passed & 2) && size >= 0 && size <= 100) cursor.size = size;
    console_terminal_set_cursor(cursor.visible, cursor.size);
}

int32_t func__cinp(int32_t n, int32_t passed) {
    if (new_error_is_set()) return 0;
    int32_t code = console_last_scancode;
    console_last_scancode = 0;
    if ((passed & 1) && n == 0 && code < 0) return 128 - code;
    return code;
}
