// Window probing through Xlib.
#include "support/x11_probe.h"

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

