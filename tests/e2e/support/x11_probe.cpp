// Window probing through Xlib.
#include "support/x11_probe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include "support/child.h"

std::vector<x11_window_info> x11_named_windows() {
    std::vector<x11_window_info> found;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return found;
    Window root_return, parent_return;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root_return, &parent_return, &children, &count)) {
        for (unsigned int i = 0; i < count; i++) {
            char* name = nullptr;
            if (XFetchName(display, children[i], &name) && name) {
                XWindowAttributes attributes;
                XGetWindowAttributes(display, children[i], &attributes);
                found.push_back({children[i], name, attributes.width, attributes.height,
                                 attributes.map_state == IsViewable});
                XFree(name);
            }
        }
        if (children) XFree(children);
    }
    XCloseDisplay(display);
    return found;
}

x11_window_info x11_wait_for_window(const std::string& name, int timeout_ms) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    do {
        for (auto& w : x11_named_windows())
            if (w.name == name && w.mapped) return w;
        usleep(20000);
    } while (monotonic_ms() < deadline);
    return {0, "", 0, 0, false};
}

bool x11_set_focus(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XSetInputFocus(display, window ? Window(window) : None, RevertToNone, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

bool x11_destroy_window(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XDestroyWindow(display, window);
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

bool x11_window_position(unsigned long window, int* x, int* y) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    Window child;
    bool ok = XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, x, y, &child);
    XCloseDisplay(display);
    return ok;
}

unsigned long x11_wait_for_any_window(int timeout_ms) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    do {
        Display* display = XOpenDisplay(nullptr);
        if (!display) return 0;
        Window root_return, parent_return;
        Window* children = nullptr;
        unsigned int count = 0;
        unsigned long found = 0;
        if (XQueryTree(display, DefaultRootWindow(display), &root_return, &parent_return, &children, &count)) {
            for (unsigned int i = 0; i < count && !found; i++) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
                    found = children[i];
            }
            if (children) XFree(children);
        }
        XCloseDisplay(display);
        if (found) return found;
        usleep(20000);
    } while (monotonic_ms() < deadline);
    return 0;
}

bool x11_window_name(unsigned long window, std::string* name) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(display, window, XA_WM_NAME, 0, 1 << 20, False, AnyPropertyType, &type, &format,
                                    &count, &after, &data) == Success &&
                 type != None;
    if (found) name->assign(data ? reinterpret_cast<const char*>(data) : "", count);
    if (data) XFree(data);
    XCloseDisplay(display);
    return found;
}

bool x11_move_pointer(int x, int y) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

namespace {

unsigned long find_viewable(Display* display, Window under, const std::string& name) {
    Window root_return, parent_return;
    Window* children = nullptr;
    unsigned int count = 0;
    unsigned long found = 0;
    if (!XQueryTree(display, under, &root_return, &parent_return, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; i++) {
        char* text = nullptr;
        if (XFetchName(display, children[i], &text) && text) {
            XWindowAttributes attributes;
            if (name == text && XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                found = children[i];
            XFree(text);
        }
        if (!found) found = find_viewable(display, children[i], name);
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

unsigned long x11_wait_for_framed_window(const std::string& name, int timeout_ms) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    do {
        Display* display = XOpenDisplay(nullptr);
        if (!display) return 0;
        unsigned long found = find_viewable(display, DefaultRootWindow(display), name);
        XCloseDisplay(display);
        if (found) return found;
        usleep(20000);
    } while (monotonic_ms() < deadline);
    return 0;
}

bool x11_frame_position(unsigned long window, int* x, int* y) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    Window top = window;
    bool ok = true;
    for (;;) {
        Window root_return, parent_return;
        Window* children = nullptr;
        unsigned int count = 0;
        ok = XQueryTree(display, top, &root_return, &parent_return, &children, &count);
        if (children) XFree(children);
        if (!ok || parent_return == root_return) break;
        top = parent_return;
    }
    if (ok) {
        Window root;
        unsigned int width, height, border, depth;
        ok = XGetGeometry(display, top, &root, x, y, &width, &height, &border, &depth);
    }
    XCloseDisplay(display);
    return ok;
}

bool x11_window_viewable(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XWindowAttributes attributes;
    bool viewable = XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
    XCloseDisplay(display);
    return viewable;
}

bool x11_window_manager_running() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool running = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                      &format, &count, &after, &data) == Success &&
                   count == 1;
    if (data) XFree(data);
    XCloseDisplay(display);
    return running;
}
