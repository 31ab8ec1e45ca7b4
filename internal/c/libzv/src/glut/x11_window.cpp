// X11 extras on freeglut's own display: close request, focus, exposure, destruction
// by another client, the native key stream, dropped files (XDND, version 5) and the
// window's place in full screen, caught while Xlib converts wire events; raw mouse
// motion (XInput2).
#include "glut/x11_window.h"

#include <atomic>
#include <cmath>
#include <deque>
#include <string>

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xlibint.h>  // XESetWireToEvent
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#undef min
#undef max

#include "display/presenter.h"
#include "glut/glut_queue.h"
#include "glut/window_hooks.h"
#include "window/file_drop.h"

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
// Raw pointer motion comes on a connection of its own: freeglut fails on XInput2
// events in its queue. Window thread only.
Display* raw_display = nullptr;
int xi_opcode = -1;

constexpr int hooked_types[] = {KeyPress,        KeyRelease,    FocusIn,         FocusOut,       EnterNotify,
                                LeaveNotify,     MapNotify,     UnmapNotify,     ClientMessage,  DestroyNotify,
                                SelectionNotify, Expose,        ConfigureNotify, ReparentNotify, PropertyNotify};
// Set by a window manager on the window when its frame changes.
Atom net_frame_extents = None;
// A focus query may name a window that another client destroys meanwhile.
bool querying_focus = false;

// Where the window stands in full screen and when it leaves it. freeglut's full
// screen without a window manager moves the window by the wrong amount, so its
// place is checked after every change of geometry and set when it is wrong, a
// couple of times at most (a window manager may have its own idea of it).
struct place {
    int x = 0, y = 0;
};
struct placement_state {
    place windowed;        // the last place seen while windowed
    bool in_full = false;  // full screen seen at the last check
    bool leaving = false;  // back to the windowed place still to be checked
    int corrections = 0;
};
placement_state placement;

// A hidden window's place: its frame's outer corner.
struct hiding_state {
    bool hidden = false;
    place corner;
};
hiding_state hiding;

// Drag and drop: the atoms, and the drag over the window now.
Atom XdndAware, XdndEnter, XdndPosition, XdndStatus, XdndLeave, XdndDrop, XdndFinished, XdndSelection,
    XdndActionCopy, XdndTypeList, uri_list, drop_property;
struct drag_state {
    Window source = None;
    bool offers_files = false;
    bool accepted = false;
    bool converting = false;
};
drag_state drag;

// Raw motion of every pointer, selected on the root window (the only place XInput2
// delivers it).
void open_raw_motion(Display* display) {
    raw_display = XOpenDisplay(DisplayString(display));
    if (!raw_display) return;
    int event, error, major = 2, minor = 0;
    if (!XQueryExtension(raw_display, "XInputExtension", &xi_opcode, &event, &error) ||
        XIQueryVersion(raw_display, &major, &minor) != Success) {
        XCloseDisplay(raw_display);
        raw_display = nullptr;
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawMotion);
    XIEventMask mask{XIAllMasterDevices, int(sizeof bits), bits};
    XISelectEvents(raw_display, DefaultRootWindow(raw_display), &mask, 1);
    XFlush(raw_display);
}

void drain_raw_motion() {
    if (!raw_display) return;
    while (XPending(raw_display)) {
        XEvent event;
        XNextEvent(raw_display, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (event.type != GenericEvent || cookie->extension != xi_opcode || !XGetEventData(raw_display, cookie))
            continue;
        if (cookie->evtype == XI_RawMotion) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            double delta[2] = {0, 0};
            const double* value = raw->raw_values;
            for (int axis = 0; axis < raw->valuators.mask_len * 8; ++axis) {
                if (!XIMaskIsSet(raw->valuators.mask, axis)) continue;
                if (axis < 2) delta[axis] = *value;
                ++value;
            }
            int32_t dx = int32_t(std::lround(delta[0])), dy = int32_t(std::lround(delta[1]));
            if (dx || dy) window_relative_motion(dx, dy);
        }
        XFreeEventData(raw_display, cookie);
    }
}

bool is_xdnd(Atom type) {
    return type == XdndEnter || type == XdndPosition || type == XdndLeave || type == XdndDrop;
}

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
        if ((event->xclient.message_type == wm_protocols && Atom(event->xclient.data.l[0]) == wm_delete_window) ||
            is_xdnd(event->xclient.message_type)) {
            pending.push_back(*event);
            return False;
        }
        return keep;
    case SelectionNotify:
        if (event->xselection.selection != XdndSelection) return keep;
        pending.push_back(*event);
        return False;
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

void send_to_source(Atom type, long l1, long l2, long l3, long l4) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = drag.source;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(window.load());
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(glut_display, drag.source, False, NoEventMask, &e);
    XFlush(glut_display);
}

void finish_drag(bool dropped) {
    if (drag.source != None) send_to_source(XdndFinished, dropped ? 1 : 0, dropped ? long(XdndActionCopy) : 0, 0, 0);
    drag = drag_state{};
}

bool source_offers_files(const XClientMessageEvent& m) {
    if (!(m.data.l[1] & 1)) {
        for (int i = 2; i <= 4; ++i)
            if (Atom(m.data.l[i]) == uri_list) return true;
        return false;
    }
    // More than three types: the source lists them in a property.
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(glut_display, drag.source, XdndTypeList, 0, 1024, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success &&
        data) {
        const Atom* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && format == 32; ++i) found = found || atoms[i] == uri_list;
        XFree(data);
    }
    return found;
}

void drag_message(const XClientMessageEvent& m) {
    Window from = Window(m.data.l[0]);
    if (m.message_type == XdndEnter) {
        drag = drag_state{};
        drag.source = from;
        drag.offers_files = source_offers_files(m);
        return;
    }
    if (from != drag.source) return;
    if (m.message_type == XdndPosition) {
        drag.accepted = drag.offers_files && acceptFileDrop.load() == -1;
        send_to_source(XdndStatus, drag.accepted ? 1 : 0, 0, 0, drag.accepted ? long(XdndActionCopy) : 0);
    } else if (m.message_type == XdndLeave) {
        drag = drag_state{};
    } else if (m.message_type == XdndDrop) {
        if (!drag.accepted) {
            finish_drag(false);
            return;
        }
        XConvertSelection(glut_display, XdndSelection, uri_list, drop_property, window.load(), Time(m.data.l[2]));
        drag.converting = true;
    }
}

// The source's answer to the conversion: the dropped names become custom event 4.
void drop_data(const XSelectionEvent& e) {
    if (!drag.converting) return;
    if (e.property == None) {
        finish_drag(false);
        return;
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string list;
    if (XGetWindowProperty(glut_display, window.load(), drop_property, 0, 0x1000000, True, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
        if (format == 8) list.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    auto* dropped = new drop_list{file_paths_from_uri_list(list)};
    window_files_dropped(dropped);
    finish_drag(true);
}

// Once another client destroyed the window, requests about it (drawing, freeglut's
// own destroy) fail; those failures must not end the process.
int on_x_error(Display* display, XErrorEvent* error) {
    if (destroyed.load() && error->resourceid == window.load()) return 0;
    if (querying_focus && error->error_code == BadWindow) return 0;
    return next_error_handler ? next_error_handler(display, error) : 0;
}

// The special key freeglut reports for a key symbol without text, -1 for none.
int32_t library_special_key(KeySym sym) {
    if (sym >= XK_F1 && sym <= XK_F12) return GLUT_KEY_F1 + int32_t(sym - XK_F1);
    switch (sym) {
    case XK_Left: case XK_KP_Left: return GLUT_KEY_LEFT;
    case XK_Up: case XK_KP_Up: return GLUT_KEY_UP;
    case XK_Right: case XK_KP_Right: return GLUT_KEY_RIGHT;
    case XK_Down: case XK_KP_Down: return GLUT_KEY_DOWN;
    case XK_Prior: case XK_KP_Prior: return GLUT_KEY_PAGE_UP;
    case XK_Next: case XK_KP_Next: return GLUT_KEY_PAGE_DOWN;
    case XK_Home: case XK_KP_Home: return GLUT_KEY_HOME;
    case XK_End: case XK_KP_End: return GLUT_KEY_END;
    case XK_Insert: case XK_KP_Insert: return GLUT_KEY_INSERT;
    case XK_Num_Lock: return GLUT_KEY_NUM_LOCK;
    case XK_KP_Begin: return GLUT_KEY_BEGIN;
    case XK_Delete: case XK_KP_Delete: return GLUT_KEY_DELETE;
    case XK_Shift_L: return GLUT_KEY_SHIFT_L;
    case XK_Shift_R: return GLUT_KEY_SHIFT_R;
    case XK_Control_L: return GLUT_KEY_CTRL_L;
    case XK_Control_R: return GLUT_KEY_CTRL_R;
    case XK_Alt_L: return GLUT_KEY_ALT_L;
    case XK_Alt_R: return GLUT_KEY_ALT_R;
    case XK_Super_L: return GLUT_KEY_SUPER_L;
    case XK_Super_R: return GLUT_KEY_SUPER_R;
    default: return -1;
    }
}

// A key event as the library sees it: the character it passes to its keyboard
// callback, or else its special key (-1 for none).
struct library_key {
    KeySym sym;
    int32_t character, special;
    bool reported() const { return character >= 0 || special >= 0; }
};

library_key library_key_of(XEvent& event) {
    char text[8];
    KeySym sym = NoSymbol;
    int length = XLookupString(&event.xkey, text, sizeof text, &sym, nullptr);
    if (length > 0) return {sym, int32_t(static_cast<unsigned char>(text[0])), -1};
    return {sym, -1, library_special_key(sym)};
}

native_key_kind kind_of(const library_key& key, unsigned int state) {
    if (key.sym == XK_Break || (key.sym == XK_Pause && (state & ControlMask))) return native_key_kind::brk;
    if (key.sym == XK_Pause) return native_key_kind::pause;
    if (key.sym == XK_Scroll_Lock) return native_key_kind::scroll_lock;
    // X names the Tab key so while Shift is held; the library passes it over.
    if (key.sym == XK_ISO_Left_Tab) return native_key_kind::left_tab;
    return key.reported() ? native_key_kind::other : native_key_kind::unreported;
}

// A key event that no callback reports (passed over by the library, or met by the
// idle drain after the library was done with it).
void unreported_key(XEvent& event, const library_key& key) {
    native_key_kind kind = kind_of(key, event.xkey.state);
    if (kind == native_key_kind::other) kind = native_key_kind::unreported;
    window_native_key(int32_t(event.xkey.keycode) - 8, event.type == KeyPress, kind);
}

// Whether keys typed now reach the window: the focus is on it, or the focus follows
// the pointer (PointerRoot, or a window around ours) and the pointer is inside it.
// Focus events alone cannot tell: while the focus follows the pointer the server
// sends none as the pointer moves or windows open over it.
bool keys_reach(Display* display, Window ours) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == ours) return true;
    if (focus == None) return false;
    querying_focus = true;
    Window under = DefaultRootWindow(display);
    bool around = focus == PointerRoot || focus == under;
    bool found = false;
    // Down the windows under the pointer, from the root.
    for (int depth = 0; depth < 32 && !found; depth++) {
        Window root, child = None;
        int rx, ry, wx, wy;
        unsigned int mask;
        if (!XQueryPointer(display, under, &root, &child, &rx, &ry, &wx, &wy, &mask) || child == None) break;
        if (child == ours) found = around;
        around = around || child == focus;
        under = child;
    }
    querying_focus = false;
    return found;
}

void refresh_focus() {
    if (Window ours = window.load()) window_focus_changed(keys_reach(glut_display, ours));
}

bool position_of(Window ours, place* at) {
    Window child;
    return XTranslateCoordinates(glut_display, ours, DefaultRootWindow(glut_display), 0, 0, &at->x, &at->y, &child);
}

// A window manager that framed the window places it itself (its full screen included).
bool framed(Window ours) {
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(glut_display, ours, &root, &parent, &children, &count)) return true;
    if (children) XFree(children);
    return parent != root;
}

// The frame's outer corner: that of the top-level window holding ours (a window
// manager's frame), or, unframed, ours less the frame extents that a window manager
// may declare without a frame window of its own.
bool outer_corner(Window ours, place* at) {
    Window top = ours;
    for (int depth = 0; depth < 16; depth++) {
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(glut_display, top, &root, &parent, &children, &count)) return false;
        if (children) XFree(children);
        if (parent == root || parent == None) break;
        top = parent;
    }
    if (top != ours) {
        Window root;
        unsigned int width, height, border, depth;
        return XGetGeometry(glut_display, top, &root, &at->x, &at->y, &width, &height, &border, &depth);
    }
    if (!position_of(ours, at)) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(glut_display, ours, net_frame_extents, 0, 4, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        if (format == 32 && count == 4) {
            const long* extents = reinterpret_cast<const long*>(data);  // left, right, top, bottom
            at->x -= int(extents[0]);
            at->y -= int(extents[2]);
        }
        XFree(data);
    }
    return true;
}

// Moves the window to the place unless it is there; true when it is there.
bool put_at(Window ours, place target) {
    place now;
    if (!position_of(ours, &now)) return true;
    if (now.x == target.x && now.y == target.y) return true;
    if (placement.corrections >= 2 || framed(ours)) return true;
    placement.corrections++;
    XMoveWindow(glut_display, ours, target.x, target.y);
    glut_window_metrics_may_change();
    XFlush(glut_display);
    return false;
}

// After a change of the window's geometry: full screen covers the desktop from its
// corner, and leaving it gives back the place from before.
void check_placement() {
    Window ours = window.load();
    if (!ours) return;
    bool full = full_screen.load() > 0;
    if (full != placement.in_full) {
        placement.in_full = full;
        placement.leaving = !full;
        placement.corrections = 0;
    }
    if (full) {
        put_at(ours, place{});
    } else if (placement.leaving) {
        placement.leaving = !put_at(ours, placement.windowed);
    } else {
        position_of(ours, &placement.windowed);
    }
}

// Every queued event that is not a key event.
void handle_event(const XEvent& event) {
    switch (event.type) {
    case ClientMessage:
        if (is_xdnd(event.xclient.message_type))
            drag_message(event.xclient);
        else
            window_close_requested();
        break;
    case SelectionNotify:
        drop_data(event.xselection);
        break;
    case DestroyNotify:
        window_destroyed();
        break;
    case Expose:
        // The last of a series: the whole picture is drawn again once.
        if (event.xexpose.count == 0) window_exposed();
        break;
    case FocusIn:
    case FocusOut:
        if (event.xfocus.detail != NotifyInferior) refresh_focus();
        break;
    case MapNotify:
        glut_window_metrics_may_change();
        refresh_focus();
        break;
    case EnterNotify:
    case LeaveNotify:
    case UnmapNotify:
        refresh_focus();
        break;
    case ConfigureNotify:
        if (event.xconfigure.window != window.load()) break;
        glut_window_metrics_may_change();
        check_placement();
        break;
    case ReparentNotify:
        glut_window_metrics_may_change();
        break;
    case PropertyNotify:
        if (event.xproperty.atom == net_frame_extents) glut_window_metrics_may_change();
        break;
    default:
        break;
    }
}

bool is_key(const XEvent& event) { return event.type == KeyPress || event.type == KeyRelease; }

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
    // A close request that Xlib reads before the hooks stand would reach freeglut,
    // which destroys the window and calls exit() under the runtime's threads. The
    // atoms come in one round trip, and the hooks go in before any other request.
    static const char* names[] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "XdndAware", "XdndEnter", "XdndPosition",
                                  "XdndStatus", "XdndLeave", "XdndDrop", "XdndFinished", "XdndSelection",
                                  "XdndActionCopy", "XdndTypeList", "text/uri-list", "ZV_DROPPED_FILES",
                                  "_NET_FRAME_EXTENTS"};
    Atom* targets[] = {&wm_protocols, &wm_delete_window, &XdndAware, &XdndEnter, &XdndPosition,
                       &XdndStatus, &XdndLeave, &XdndDrop, &XdndFinished, &XdndSelection,
                       &XdndActionCopy, &XdndTypeList, &uri_list, &drop_property, &net_frame_extents};
    constexpr int count = sizeof names / sizeof names[0];
    Atom atoms[count];
    XLockDisplay(glut_display);
    window.store(ours);
    if (XInternAtoms(glut_display, const_cast<char**>(names), count, False, atoms))
        for (int i = 0; i < count; i++) *targets[i] = atoms[i];
    for (int type : hooked_types) next_converter[type] = XESetWireToEvent(glut_display, type, on_wire_event);
    XUnlockDisplay(glut_display);
    next_error_handler = XSetErrorHandler(on_x_error);

    // Held keys repeat as presses alone, as the program expects, not as release and
    // press pairs.
    XkbSetDetectableAutoRepeat(glut_display, True, nullptr);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(glut_display, ours, &attributes))
        XSelectInput(glut_display, ours,
                     attributes.your_event_mask | FocusChangeMask | EnterWindowMask | LeaveWindowMask |
                         StructureNotifyMask | PropertyChangeMask);
    set_fixed_size_hints(glut_display, ours);
    open_raw_motion(glut_display);
    // Files may be dropped on the window; _ACCEPTFILEDROP decides at each drag.
    long version = 5;
    XChangeProperty(glut_display, ours, XdndAware, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&version), 1);
    refresh_focus();
    position_of(ours, &placement.windowed);
}

unsigned long x11_window_id() { return window.load(); }

void x11_window_hiding() {
    Window ours = window.load();
    if (!ours || hiding.hidden) return;
    hiding.hidden = outer_corner(ours, &hiding.corner);
}

void x11_window_moving(int32_t x, int32_t y) {
    if (hiding.hidden) hiding.corner = place{x, y};
}

void x11_window_showing() {
    Window ours = window.load();
    if (!ours || !hiding.hidden) return;
    hiding.hidden = false;
    // Withdrawn, the window stands on the root window. A window manager that is told
    // the window has a place of its own puts the frame's corner where the window is
    // when it is mapped; without one, the window itself stands there.
    if (XSizeHints* hints = XAllocSizeHints()) {
        long supplied = 0;
        if (!XGetWMNormalHints(glut_display, ours, hints, &supplied)) hints->flags = 0;
        hints->flags |= USPosition | PPosition;
        hints->x = hiding.corner.x;
        hints->y = hiding.corner.y;
        XSetWMNormalHints(glut_display, ours, hints);
        XFree(hints);
    }
    XMoveWindow(glut_display, ours, hiding.corner.x, hiding.corner.y);
    glut_window_metrics_may_change();
    XFlush(glut_display);
}

bool x11_window_destroyed() { return destroyed.load(); }

void x11_window_drain_events() {
    drain_raw_motion();
    while (!pending.empty()) {
        XEvent event = pending.front();
        if (is_key(event)) {
            library_key key = library_key_of(event);
            // Events still in Xlib's queue have not reached the library yet: a key
            // it reports waits for its callback. Once that queue is empty, every
            // event here has been through the library.
            if (key.reported() && XEventsQueued(glut_display, QueuedAlready) > 0) return;
            pending.pop_front();
            unreported_key(event, key);
            continue;
        }
        pending.pop_front();
        handle_event(event);
    }
}

x11_key_event x11_window_key_reported(bool down, int32_t character, int32_t special) {
    drain_raw_motion();
    while (!pending.empty()) {
        XEvent event = pending.front();
        pending.pop_front();
        if (!is_key(event)) {
            handle_event(event);
            continue;
        }
        library_key key = library_key_of(event);
        bool pressed = event.type == KeyPress;
        if (pressed != down || key.character != character || key.special != special) {
            unreported_key(event, key);
            continue;
        }
        int32_t evdev_code = int32_t(event.xkey.keycode) - 8;
        window_native_key(evdev_code, pressed, native_key_kind::other);
        return {true, evdev_code, key.sym == XK_Return || key.sym == XK_KP_Enter};
    }
    return {false, 0, false};
}
