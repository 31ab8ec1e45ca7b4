// X11 extras on freeglut's own display: the close request of the window manager.
#include "platform/x11_window.h"

#include <atomic>

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xlibint.h>  // XESetWireToEvent
#undef min
#undef max

#include "core/runtime_flags.h"

namespace {

Display* glut_display = nullptr;
std::atomic<unsigned long> window{0};
Atom wm_protocols = None;
Atom wm_delete_window = None;
Bool (*next_client_message)(Display*, XEvent*, xEvent*) = nullptr;

// Runs while Xlib converts a wire event; returning False drops the event before
// freeglut sees it (freeglut would destroy the window).
Bool on_client_message(Display* display, XEvent* event, xEvent* wire) {
    Bool keep = next_client_message ? next_client_message(display, event, wire) : True;
    if (keep && event->type == ClientMessage && event->xclient.window == window.load() &&
        event->xclient.message_type == wm_protocols && Atom(event->xclient.data.l[0]) == wm_delete_window) {
        exit_value.fetch_or(1);
        return False;
    }
    return keep;
}

}  // namespace

void x11_window_attach() {
    glut_display = glXGetCurrentDisplay();
    window.store(glXGetCurrentDrawable());
    if (!glut_display || !window.load()) return;
    XLockDisplay(glut_display);
    wm_protocols = XInternAtom(glut_display, "WM_PROTOCOLS", False);
    wm_delete_window = XInternAtom(glut_display, "WM_DELETE_WINDOW", False);
    next_client_message = XESetWireToEvent(glut_display, ClientMessage, on_client_message);
    XUnlockDisplay(glut_display);
}

unsigned long x11_window_id() { return window.load(); }
