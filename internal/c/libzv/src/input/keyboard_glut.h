// The windowing library's keyboard callbacks and the focus flag.
#pragma once
#include <cstdint>

// freeglut callbacks (window thread); the pointer position is not used.
void GLUT_KEYBOARD_FUNC(unsigned char character, int x, int y);
void GLUT_KEYBOARDUP_FUNC(unsigned char character, int x, int y);
void GLUT_SPECIAL_FUNC(int key, int x, int y);
void GLUT_SPECIALUP_FUNC(int key, int x, int y);

// A character from the library: with Ctrl held, 10 becomes 13 and 1 to 26 the
// letter (upper case with Shift); 127 is Delete.
void GLUT_key_ascii(int32_t character, int32_t down);
// A special key of the library; other keys are ignored. Without the focus only
// releases of held keys pass.
void GLUT_key_special(int32_t key, int32_t down);
// The key codes those two pass on; 0 for an ignored special key.
int32_t glut_ascii_key_code(int32_t character);
int32_t glut_special_key_code(int32_t key);

// A native key event that no callback reports (evdev code, window thread): Tab with
// Shift held (left_tab) is reported as Tab; the release of a key that went down
// through a callback releases the code it went down as.
void keyboard_unreported_key(int32_t evdev_code, bool down, bool left_tab);

// The window has the keyboard focus (_HASFOCUS). Set by the window layer.
bool keyboard_has_focus();
void keyboard_set_focus(bool focused);

void keyboard_glut_reset_for_tests();
