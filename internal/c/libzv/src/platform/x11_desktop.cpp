// The runtime's own X connection.
#include "platform/x11_desktop.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <mutex>

namespace {

std::mutex connection_lock;
Display* connection = nullptr;

KeySym keysym_of(x11_modifier_key key) {
    switch (key) {
    case x11_modifier_key::left_shift: return XK_Shift_L;
    case x11_modifier_key::right_shift: return XK_Shift_R;
    case x11_modifier_key::left_ctrl: return XK_Control_L;
    case x11_modifier_key::right_ctrl: return XK_Control_R;
    case x11_modifier_key::left_alt: return XK_Alt_L;
    case x11_modifier_key::right_alt: return XK_Alt_R;
    case x11_modifier_key::scroll_lock: return XK_Scroll_Lock;
    }
    return NoSymbol;
}

bool indicator_on(const char* name) {
    Atom atom = XInternAtom(connection, name, True);
    Bool on = False;
    return atom != None && XkbGetNamedIndicator(connection, atom, nullptr, &on, nullptr, nullptr) && on;
}

}  // namespace

void x11_desktop_global_init() {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection) connection = XOpenDisplay(nullptr);
}

bool x11_desktop_available() {
    std::lock_guard<std::mutex> hold(connection_lock);
    return connection != nullptr;
}

x11_lock_state x11_read_lock_state() {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection) return {false, false};
    return {indicator_on("Caps Lock"), indicator_on("Num Lock")};
}

bool x11_key_is_down(x11_modifier_key key) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection) return false;
    KeyCode code = XKeysymToKeycode(connection, keysym_of(key));
    if (!code) return false;
    char keys[32];
    XQueryKeymap(connection, keys);
    return (keys[code / 8] >> (code % 8)) & 1;
}

bool x11_desktop_size(int32_t* width, int32_t* height) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection) return false;
    Screen* screen = DefaultScreenOfDisplay(connection);
    *width = WidthOfScreen(screen);
    *height = HeightOfScreen(screen);
    return true;
}
