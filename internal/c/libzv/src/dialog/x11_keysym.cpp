// Keysyms to Unicode: Latin-1, the Unicode keysym range, the euro sign and the keypad.
#include "dialog/x11_keysym.h"

#include <X11/keysym.h>

uint32_t x11_keysym_to_unicode(uint32_t keysym) {
    if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) return keysym;
    if (keysym >= 0x01000100 && keysym <= 0x0110FFFF) return keysym - 0x01000000;
    if (keysym == XK_EuroSign) return 0x20AC;
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return '0' + (keysym - XK_KP_0);
    switch (keysym) {
    case XK_KP_Space: return ' ';
    case XK_KP_Multiply: return '*';
    case XK_KP_Add: return '+';
    case XK_KP_Separator: return ',';
    case XK_KP_Subtract: return '-';
    case XK_KP_Decimal: return '.';
    case XK_KP_Divide: return '/';
    case XK_KP_Equal: return '=';
    default: return 0;
    }
}
