// freeglut's keyboard callbacks into the keyboard pipeline.
#include "input/keyboard_glut.h"

#include <GL/freeglut.h>

#include <atomic>

#include "glut/x11_window.h"
#include "input/key_code.h"
#include "input/key_held.h"
#include "input/keyboard.h"

namespace {

std::atomic<bool> focused{true};
// The key code each key (by evdev code) went down as: its release gives the same
// code whatever X and the library name the release (Shift let go first, Ctrl+Enter,
// Shift+Tab), so that every press has its own release. Window thread only.
int32_t pressed_as[256];

bool ctrl_held() { return keyheld(key::left_ctrl) || keyheld(key::right_ctrl); }
bool shift_held() { return keyheld(key::left_shift) || keyheld(key::right_shift); }

void pass(int32_t code, bool down, const x11_key_event& native) {
    int32_t slot = native.evdev_code & 0xFF;
    if (down) {
        if (native.found) pressed_as[slot] = code;
        keydown(code);
        return;
    }
    if (native.found && pressed_as[slot]) {
        code = pressed_as[slot];
        pressed_as[slot] = 0;
    }
    keyup(code);
}

void ascii_event(unsigned char character, bool down) {
    // Native events that came first (Pause, focus, the close request) go first.
    x11_key_event native = x11_window_key_reported(down, character, -1);
    int32_t c = character;
    // X gives Ctrl+Enter as 13, the same as Ctrl+M; the mapping below takes Ctrl+Enter
    // as 10 (and turns that into 13), so the Return key is told apart here.
    if (c == 13 && native.found && native.return_key && ctrl_held()) c = 10;
    pass(glut_ascii_key_code(c), down, native);
}

// Without the focus only releases of held keys pass.
bool special_passes(int32_t code, bool down) {
    return code && (focused.load() || (!down && keyheld_exact(code)));
}

void special_event(int key, bool down) {
    x11_key_event native = x11_window_key_reported(down, -1, key);
    int32_t code = glut_special_key_code(key);
    if (special_passes(code, down)) pass(code, down, native);
}

}  // namespace

int32_t glut_ascii_key_code(int32_t c) {
    // Modifiers from the held set: the library counts Caps Lock as Shift.
    if (ctrl_held()) {
        if (c == 10)
            c = 13;
        else if (c >= 1 && c <= 26)
            c += shift_held() ? 64 : 96;
    }
    return c == 127 ? key::del : c;
}

int32_t glut_special_key_code(int32_t k) {
    if (k >= GLUT_KEY_F1 && k <= GLUT_KEY_F10) return key::f1 + (k - GLUT_KEY_F1) * 0x100;
    switch (k) {
    case GLUT_KEY_F11: return key::f11;
    case GLUT_KEY_F12: return key::f12;
    case GLUT_KEY_LEFT: return key::left;
    case GLUT_KEY_UP: return key::up;
    case GLUT_KEY_RIGHT: return key::right;
    case GLUT_KEY_DOWN: return key::down;
    case GLUT_KEY_PAGE_UP: return key::page_up;
    case GLUT_KEY_PAGE_DOWN: return key::page_down;
    case GLUT_KEY_HOME: return key::home;
    case GLUT_KEY_END: return key::end;
    case GLUT_KEY_INSERT: return key::insert;
    // freeglut's Delete key; Delete as character 127 gives the same code above.
    case GLUT_KEY_DELETE: return key::del;
    case GLUT_KEY_SHIFT_L: return key::left_shift;
    case GLUT_KEY_SHIFT_R: return key::right_shift;
    case GLUT_KEY_CTRL_L: return key::left_ctrl;
    case GLUT_KEY_CTRL_R: return key::right_ctrl;
    case GLUT_KEY_ALT_L: return key::left_alt;
    case GLUT_KEY_ALT_R: return key::right_alt;
    default: return 0;
    }
}

void GLUT_key_ascii(int32_t character, int32_t down) {
    int32_t code = glut_ascii_key_code(character);
    if (down)
        keydown(code);
    else
        keyup(code);
}

void GLUT_key_special(int32_t k, int32_t down) {
    int32_t code = glut_special_key_code(k);
    if (!special_passes(code, down != 0)) return;
    if (down)
        keydown(code);
    else
        keyup(code);
}

void GLUT_KEYBOARD_FUNC(unsigned char character, int, int) { ascii_event(character, true); }
void GLUT_KEYBOARDUP_FUNC(unsigned char character, int, int) { ascii_event(character, false); }
void GLUT_SPECIAL_FUNC(int k, int, int) { special_event(k, true); }
void GLUT_SPECIALUP_FUNC(int k, int, int) { special_event(k, false); }

void keyboard_unreported_key(int32_t evdev_code, bool down, bool left_tab) {
    x11_key_event native{true, evdev_code, false};
    if (left_tab) {
        // Shift+Tab: the library reports nothing for X's name of it.
        pass(glut_ascii_key_code(9), down, native);
        return;
    }
    int32_t slot = evdev_code & 0xFF;
    if (!down && pressed_as[slot]) pass(pressed_as[slot], false, native);
}

bool keyboard_has_focus() { return focused.load(); }
void keyboard_set_focus(bool f) { focused.store(f); }

void keyboard_glut_reset_for_tests() {
    focused.store(true);
    for (auto& p : pressed_as) p = 0;
}
