// zv_send_close WINDOW-ID: sends the window manager's close request
// (WM_PROTOCOLS / WM_DELETE_WINDOW) to a window, as a close button would.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: zv_send_close WINDOW-ID\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "zv_send_close: no display\n");
        return 1;
    }
    Window window = Window(strtoul(argv[1], nullptr, 0));
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
