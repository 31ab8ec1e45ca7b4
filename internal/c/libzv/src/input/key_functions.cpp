// INKEY$, _KEYHIT, _KEYDOWN and _KEYCLEAR.
#include "input/key_functions.h"

#include <termios.h>
#include <unistd.h>

#include "error/error.h"
#include "input/bios_keyboard.h"
#include "input/key_held.h"
#include "input/key_hit.h"
#include "input/keyboard_lock.h"
#include "input/port60h.h"
#include "string/zvs.h"

zvs* zvs_inkey() {
    if (new_error_is_set()) return zvs_new(0, 1);
    bios_keyboard_entry e = bios_keyboard_take();
    if (!e.present) return zvs_new(0, 1);
    if (e.ascii || !e.scancode) {
        zvs* s = zvs_new(1, 1);
        s->text[0] = e.ascii;
        return s;
    }
    zvs* s = zvs_new(2, 1);
    s->text[0] = 0;
    s->text[1] = e.scancode;
    return s;
}

int32_t func__keyhit() {
    if (new_error_is_set()) return 0;
    return keyhit_take().code;
}

int32_t func__keydown(int32_t code) {
    if (new_error_is_set()) return 0;
    if (code <= 0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return keyheld(code) ? -1 : 0;
}

void sub__keyclear(int32_t n, int32_t passed) {
    if (new_error_is_set()) return;
    bool all = !(passed & 1);
    if (!all && (n < 1 || n > 3)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
    } else {
        // The writers' indices change too: no key may land meanwhile.
        keyboard_guard hold(keyboard_mutex());
        if (all || n == 1) bios_keyboard_empty();
        if (all || n == 2) keyhit_clear();
        if (all || n == 3) port60h_clear();
    }
    if (isatty(STDIN_FILENO)) tcflush(STDIN_FILENO, TCIFLUSH);
}
