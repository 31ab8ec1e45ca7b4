// X11 extras on freeglut's own display: close request, focus, destruction by another
// client and the native key stream, caught while Xlib converts wire events.
#include "platform/x11_window.h"

#include <atomic>
#include <deque>

#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xlibint.h>  // XESetWireToEvent
#include <X11/Xutil.h>
#include <X11/keysym.h>
#undef min
#undef max

#include "window/window_hooks.h"

namespace {

using wire_converter = Bool (*)(Display*, XEvent*, xEvent*);

Display* glut_display = nullptr;
std::atomic<unsigned long> window{0};
std::atomic<bool> destroyed{false};
Atom wm_protocols = None;
Atom wm_delete_window = None;
wire_converter next_converter[LASTEvent];
// Filled by the converters and drained by the window thread; both run there only.
std::deque<XEvent> pending;
XErrorHandler next_error_handler = nullptr;

constexpr int hooked_types[] = {KeyPress, KeyRelease, FocusIn, FocusOut, ClientMessage, DestroyNotify};

// Runs while Xlib converts a wire event, with the display locked: no Xlib call may
// be made here. Returning False drops the event before freeglut sees it.
Bool on_wire_event(Display* display, XEvent* event, xEvent* wire) {
    int type = wire->u.u.type & 0x7F;
    wire_converter next = type < LASTEvent ? next_converter[type] : nullptr;
    Bool keep = next ? next(display, event, wire) : True;
    unsigned long ours = window.load();
    if (!keep || !ours || event->xany.window != ours) return keep;
    switch (event->type) {
    case ClientMessage:
        // freeglut would destroy the window; the request goes to the program instead.
        if (event->xclient.message_type == wm_protocols && Atom(event->xclient.data.l[0]) == wm_delete_window) {
            pending.push_back(*event);
            return False;
        }
        return keep;
    case DestroyNotify:
        if (event->xdestroywindow.window != ours) return keep;
        destroyed.store(true);
        pending.push_back(*event);
        return keep;
    default:
        pending.push_back(*event);
        return keep;
    }
}

// Once another client destroyed the window, requests about it (drawing, freeglut's
// own destroy) fail; those failures must not end the process.
int on_x_error(Display* display, XErrorEvent* error) {
    if (destroyed.load() && error->resourceid == window.load()) return 0;
    return next_error_handler ? next_error_handler(display, error) : 0;
}

// Keys that freeglut reports through its special-key callback.
bool library_special(KeySym sym) {
    if (sym >= XK_F1 && sym <= XK_F12) return true;
    switch (sym) {
    case XK_Left: case XK_KP_Left: case XK_Up: case XK_KP_Up: case XK_Right: case XK_KP_Right:
    case XK_Down: case XK_KP_Down: case XK_Prior: case XK_KP_Prior: case XK_Next: case XK_KP_Next:
    case XK_Home: case XK_KP_Home: case XK_End: case XK_KP_End: case XK_Insert: case XK_KP_Insert:
    case XK_Num_Lock: case XK_KP_Begin: case XK_Delete: case XK_KP_Delete:
    case XK_Shift_L: case XK_Shift_R: case XK_Control_L: case XK_Control_R: case XK_Alt_L: case XK_Alt_R:
    case XK_Super_L: case XK_Super_R:
        return true;
    default:
        return false;
    }
}

native_key_kind kind_of(KeySym sym, unsigned int state) {
    if (sym == XK_Break || (sym == XK_Pause && (state & ControlMask))) return native_key_kind::brk;
    if (sym == XK_Pause) return native_key_kind::pause;
    if (sym == XK_Scroll_Lock) return native_key_kind::scroll_lock;
    return native_key_kind::other;
}

bool initially_focused(Display* display, Window ours) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == ours) return true;
    if (focus != PointerRoot) return false;
    // Keys go to the window under the pointer.
    Window root, child;
    int rx, ry, wx, wy;
    unsigned int mask;
    return XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rx, &ry, &wx, &wy, &mask) &&
           child == ours;
}

// Without a resizable build the window manager offers no resizing or maximising.
void set_fixed_size_hints(Display* display, Window ours) {
    if (ORVO_Resizable()) return;
    Atom hints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    long value[5] = {1 /* functions */, 4 | 8 | 32 /* move, minimise, close */, 0, 0, 0};
    XChangeProperty(display, ours, hints, hints, 32, PropModeReplace, reinterpret_cast<unsigned char*>(value), 5);
}

}  // namespace

void x11_window_attach() {
    glut_display = glXGetCurrentDisplay();
    Window ours = glXGetCurrentDrawable();
    if (!glut_display || !ours) return;
    ORVO_Window_Handle(intptr_t(ours));
    XLockDisplay(glut_display);
    wm_protocols = XInternAtom(glut_display, "WM_PROTOCOLS", False);
    wm_delete_window = XInternAtom(glut_display, "WM_DELETE_WINDOW", False);
    for (int type : hooked_types) next_converter[type] = XESetWireToEvent(glut_display, type, on_wire_event);
    XUnlockDisplay(glut_display);
    window.store(ours);
    next_error_handler = XSetErrorHandler(on_x_error);

    // Held keys repeat as presses alone, as the program expects, not as release and
    // press pairs.
    XkbSetDetectableAutoRepeat(glut_display, True, nullptr);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(glut_display, ours, &attributes))
        XSelectInput(glut_display, ours, attributes.your_event_mask | FocusChangeMask);
    set_fixed_size_hints(glut_display, ours);
    window_focus_changed(initially_focused(glut_display, ours));
}

unsigned long x11_window_id() { return window.load(); }

bool x11_window_destroyed() { return destroyed.load(); }

x11_key_event x11_window_drain_events(bool through_key) {
    while (!pending.empty()) {
        XEvent event = pending.front();
        pending.pop_front();
        switch (event.type) {
        case ClientMessage:
            orvo_custom_event(1, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr);
            break;
        case DestroyNotify:
            window_destroyed();
            break;
        case FocusIn:
        case FocusOut:
            if (event.xfocus.detail != NotifyInferior) window_focus_changed(event.type == FocusIn);
            break;
        case KeyPress:
        case KeyRelease: {
            char text[8];
            KeySym sym = NoSymbol;
            int length = XLookupString(&event.xkey, text, sizeof text, &sym, nullptr);
            bool down = event.type == KeyPress;
            window_native_key(int32_t(event.xkey.keycode) - 8, down, kind_of(sym, event.xkey.state));
            if (through_key && (length > 0 || library_special(sym)))
                return {true, event.xkey.keycode, sym == XK_Return || sym == XK_KP_Enter};
            break;
        }
        default:
            break;
        }
    }
    return {false, 0, false};
}
