// zv_drop_files WINDOW-ID FILE...: drops files on a window as a file manager does,
// through the XDND protocol (version 5) with a text/uri-list of file:// URIs.
// Exit code 0 when the target accepted and finished the drop, 2 when it refused,
// 1 on any other failure (no display, no answer within 5 s).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

Display* display;
Window source, target;
Atom XdndAware, XdndEnter, XdndPosition, XdndStatus, XdndDrop, XdndFinished, XdndLeave, XdndSelection,
    XdndActionCopy, uri_list;

long now_ms() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

void send(Atom type, long l1, long l2, long l3, long l4) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(source);
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &e);
    XFlush(display);
}

// Percent-encodes what a path may not carry literally in a URI.
std::string uri_of(const std::string& path) {
    std::string uri = "file://";
    for (unsigned char c : path) {
        if (c == '/' || c == '-' || c == '_' || c == '.' || c == '~' || (c >= '0' && c <= '9') ||
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            uri += char(c);
        } else {
            char hex[4];
            snprintf(hex, sizeof hex, "%%%02X", c);
            uri += hex;
        }
    }
    return uri;
}

// The next event for the source window, at most until the deadline.
bool next_event(XEvent* e, long deadline) {
    while (now_ms() < deadline) {
        if (XPending(display)) {
            XNextEvent(display, e);
            return true;
        }
        pollfd p{ConnectionNumber(display), POLLIN, 0};
        poll(&p, 1, 20);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: zv_drop_files WINDOW-ID FILE...\n");
        return 1;
    }
    display = XOpenDisplay(nullptr);
    if (!display) return 1;
    target = Window(strtoul(argv[1], nullptr, 0));
    std::string list;
    for (int i = 2; i < argc; ++i) list += uri_of(argv[i]) + "\r\n";

    XdndAware = XInternAtom(display, "XdndAware", False);
    XdndEnter = XInternAtom(display, "XdndEnter", False);
    XdndPosition = XInternAtom(display, "XdndPosition", False);
    XdndStatus = XInternAtom(display, "XdndStatus", False);
    XdndDrop = XInternAtom(display, "XdndDrop", False);
    XdndFinished = XInternAtom(display, "XdndFinished", False);
    XdndLeave = XInternAtom(display, "XdndLeave", False);
    XdndSelection = XInternAtom(display, "XdndSelection", False);
    XdndActionCopy = XInternAtom(display, "XdndActionCopy", False);
    uri_list = XInternAtom(display, "text/uri-list", False);

    source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, XdndSelection, source, CurrentTime);

    send(XdndEnter, 5L << 24, long(uri_list), 0, 0);
    send(XdndPosition, 0, (10L << 16) | 10, CurrentTime, long(XdndActionCopy));
    long deadline = now_ms() + 5000;
    XEvent e;
    bool accepted = false, answered = false;
    while (!answered && next_event(&e, deadline))
        if (e.type == ClientMessage && e.xclient.message_type == XdndStatus) {
            answered = true;
            accepted = e.xclient.data.l[1] & 1;
        }
    if (!answered) return 1;
    if (!accepted) {
        send(XdndLeave, 0, 0, 0, 0);
        XSync(display, False);
        return 2;
    }
    send(XdndDrop, 0, CurrentTime, 0, 0);
    while (next_event(&e, deadline)) {
        if (e.type == SelectionRequest) {
            XSelectionRequestEvent& r = e.xselectionrequest;
            XEvent reply{};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = r.requestor;
            reply.xselection.selection = r.selection;
            reply.xselection.target = r.target;
            reply.xselection.time = r.time;
            reply.xselection.property = None;
            if (r.target == uri_list) {
                XChangeProperty(display, r.requestor, r.property, uri_list, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(list.data()), int(list.size()));
                reply.xselection.property = r.property;
            }
            XSendEvent(display, r.requestor, False, NoEventMask, &reply);
            XFlush(display);
        } else if (e.type == ClientMessage && e.xclient.message_type == XdndFinished) {
            return (e.xclient.data.l[1] & 1) ? 0 : 2;
        }
    }
    return 1;
}
