// The runtime's own X connection.
#include "platform/x11_desktop.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace {

std::mutex connection_lock;
Display* connection = nullptr;
// Whether the server lists monitors (RandR 1.5); -1 until asked, then kept as the
// connection is.
int randr_monitors_listed = -1;
std::atomic<uint8_t> scroll_lock{0};

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

bool x11_scroll_lock_state() { return scroll_lock.load() != 0; }

void x11_toggle_scroll_lock() { scroll_lock.fetch_xor(1); }

bool x11_toggle_lock(x11_lock_key key) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection) return false;
    int event_base, error_base, major, minor;
    if (!XTestQueryExtension(connection, &event_base, &error_base, &major, &minor)) return false;
    KeyCode code = XKeysymToKeycode(connection, key == x11_lock_key::caps_lock ? XK_Caps_Lock : XK_Num_Lock);
    if (!code) return false;
    XTestFakeKeyEvent(connection, code, True, CurrentTime);
    XTestFakeKeyEvent(connection, code, False, CurrentTime);
    XSync(connection, False);
    return true;
}

bool x11_window_iconic(unsigned long window) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection || !window) return false;
    Atom wm_state = XInternAtom(connection, "WM_STATE", True);
    if (wm_state == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    bool iconic = false;
    if (XGetWindowProperty(connection, window, wm_state, 0, 1, False, wm_state, &type, &format, &items, &after,
                           &data) == Success &&
        data) {
        iconic = format == 32 && items == 1 && *reinterpret_cast<long*>(data) == IconicState;
        XFree(data);
    }
    return iconic;
}

void x11_activate_window(unsigned long window) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection || !window) return;
    XRaiseWindow(connection, window);
    XSetInputFocus(connection, window, RevertToParent, CurrentTime);
    XFlush(connection);
}

x11_rect x11_choose_desktop(const std::vector<x11_monitor>& randr_monitors, const std::vector<x11_rect>& xinerama_heads,
                            const x11_rect& screen) {
    for (const x11_monitor& m : randr_monitors)
        if (m.primary) return m.area;
    for (const x11_monitor& m : randr_monitors) {
        const x11_rect& a = m.area;
        if (a.x <= 0 && a.y <= 0 && a.x + a.width > 0 && a.y + a.height > 0) return a;
    }
    if (!randr_monitors.empty()) return randr_monitors.front().area;
    if (!xinerama_heads.empty()) return xinerama_heads.front();
    return screen;
}

namespace {

// Asking an older server for its monitors would be a protocol error, which ends the process.
bool randr_lists_monitors() {
    if (randr_monitors_listed < 0) {
        int event_base, error_base, major = 0, minor = 0;
        randr_monitors_listed = XRRQueryExtension(connection, &event_base, &error_base) &&
                                XRRQueryVersion(connection, &major, &minor) &&
                                (major > 1 || (major == 1 && minor >= 5));
    }
    return randr_monitors_listed == 1;
}

std::vector<x11_monitor> randr_monitors() {
    std::vector<x11_monitor> found;
    if (!randr_lists_monitors()) return found;
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(connection, DefaultRootWindow(connection), True, &count);
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& m = monitors[i];
        found.push_back({{m.x, m.y, m.width, m.height}, m.primary != 0});
    }
    if (monitors) XRRFreeMonitors(monitors);
    return found;
}

std::vector<x11_rect> xinerama_heads() {
    std::vector<x11_rect> found;
    int event_base, error_base;
    if (!XineramaQueryExtension(connection, &event_base, &error_base) || !XineramaIsActive(connection)) return found;
    int count = 0;
    XineramaScreenInfo* heads = XineramaQueryScreens(connection, &count);
    for (int i = 0; i < count; ++i) found.push_back({heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height});
    if (heads) XFree(heads);
    return found;
}

}  // namespace

bool x11_desktop_area(x11_rect* area) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection) return false;
    Screen* screen = DefaultScreenOfDisplay(connection);
    std::vector<x11_monitor> monitors = randr_monitors();
    *area = x11_choose_desktop(monitors, monitors.empty() ? xinerama_heads() : std::vector<x11_rect>{},
                               {0, 0, WidthOfScreen(screen), HeightOfScreen(screen)});
    return true;
}

bool x11_desktop_size(int32_t* width, int32_t* height) {
    x11_rect area;
    if (!x11_desktop_area(&area)) return false;
    *width = area.width;
    *height = area.height;
    return true;
}

namespace {
bool xtest_ready() {
    int event_base, error_base, major, minor;
    return connection && XTestQueryExtension(connection, &event_base, &error_base, &major, &minor);
}

KeySym named_keysym(x11_named_key key) {
    switch (key) {
    case x11_named_key::tab: return XK_Tab;
    case x11_named_key::backspace: return XK_BackSpace;
    case x11_named_key::enter: return XK_Return;
    case x11_named_key::left: return XK_Left;
    case x11_named_key::right: return XK_Right;
    case x11_named_key::up: return XK_Up;
    case x11_named_key::down: return XK_Down;
    case x11_named_key::insert: return XK_Insert;
    case x11_named_key::home: return XK_Home;
    case x11_named_key::del: return XK_Delete;
    case x11_named_key::end: return XK_End;
    case x11_named_key::page_down: return XK_Next;
    case x11_named_key::page_up: return XK_Prior;
    case x11_named_key::shift: return XK_Shift_L;
    case x11_named_key::control: return XK_Control_L;
    }
    return NoSymbol;
}
}  // namespace

bool x11_fake_motion(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!xtest_ready()) return false;
    // The request carries 16-bit positions, which would wrap; the pointer stops at the
    // desktop's edges anyway, so a position past one is that edge.
    int screen = DefaultScreen(connection);
    x = std::clamp(x, 0, std::max(DisplayWidth(connection, screen) - 1, 0));
    y = std::clamp(y, 0, std::max(DisplayHeight(connection, screen) - 1, 0));
    XTestFakeMotionEvent(connection, -1, x, y, CurrentTime);
    XSync(connection, False);
    return true;
}

bool x11_fake_button(int32_t button, bool press) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!xtest_ready() || button < 1) return false;
    XTestFakeButtonEvent(connection, unsigned(button), press ? True : False, CurrentTime);
    XSync(connection, False);
    return true;
}

bool x11_fake_keycode(uint32_t keycode, bool press) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!xtest_ready() || keycode < 8 || keycode > 255) return false;
    XTestFakeKeyEvent(connection, keycode, press ? True : False, CurrentTime);
    XSync(connection, False);
    return true;
}

uint32_t x11_named_keycode(x11_named_key key) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection) return 0;
    return XKeysymToKeycode(connection, named_keysym(key));
}

x11_character_key x11_key_for_character(uint8_t c) {
    std::lock_guard<std::mutex> hold(connection_lock);
    if (!connection || c < 32 || c > 126) return {0, false};
    // Latin-1 keysyms are the characters themselves.
    KeyCode code = XKeysymToKeycode(connection, KeySym(c));
    if (!code) return {0, false};
    bool shift = XkbKeycodeToKeysym(connection, code, 0, 0) != KeySym(c) &&
                 XkbKeycodeToKeysym(connection, code, 0, 1) == KeySym(c);
    return {code, shift};
}
