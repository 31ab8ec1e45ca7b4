// The graphic dialogs' window: connection, properties, placement, focus, events and drawing.
#include "dialog/x11_dialog.h"

#include <X11/Xatom.h>
#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <cstring>
#include <utility>

#include "dialog/dialog_layer.h"
#include "dialog/x11_keysym.h"
#include "glut/x11_window.h"
#include "platform/x11_desktop.h"

// A connection kept for the life of the process with its fonts, input method and
// colours: Xft and Xrender keep per-connection caches that go stale when a connection
// closes, so connections are never closed.
struct dx_connection {
    Display* display = nullptr;
    XftFont* font = nullptr;
    XftFont* bold = nullptr;
    XIM im = nullptr;
    std::vector<std::pair<uint32_t, XftColor>>* colours = nullptr;
};

struct dx_window {
    dx_connection* connection = nullptr;
    Display* display = nullptr;
    int screen = 0;
    Window window = 0;
    Pixmap back = 0;
    GC gc = nullptr;
    XftDraw* draw = nullptr;
    XftFont* font = nullptr;
    XftFont* bold = nullptr;
    Visual* visual = nullptr;
    Colormap colormap = 0;
    int depth = 0;
    XIM im = nullptr;
    XIC ic = nullptr;
    Atom wm_protocols = 0, wm_delete = 0;
    int32_t width = 0, height = 0;
    Window owner = 0;
    bool owner_had_focus = false;
    bool popup = false;
};

namespace {

// Xft's per-display bookkeeping is shared by all connections and has no lock of its own.
std::recursive_mutex& xft_lock() {
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

// The modal dialogs' connection (used under the dialog lock) and the notifier's.
dx_connection dialog_connection, notifier_connection;

uint64_t now_ms() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return uint64_t(t.tv_sec) * 1000 + uint64_t(t.tv_nsec) / 1000000;
}

XftColor* colour(dx_window* w, uint32_t rgb) {
    std::lock_guard<std::recursive_mutex> hold(xft_lock());
    auto& colours = *w->connection->colours;
    for (auto& [value, c] : colours)
        if (value == rgb) return &c;
    XRenderColor rc;
    rc.red = uint16_t(((rgb >> 16) & 255) * 257);
    rc.green = uint16_t(((rgb >> 8) & 255) * 257);
    rc.blue = uint16_t((rgb & 255) * 257);
    rc.alpha = 0xFFFF;
    XftColor c;
    if (!XftColorAllocValue(w->display, w->visual, w->colormap, &rc, &c)) c.pixel = 0, c.color = rc;
    colours.emplace_back(rgb, c);
    return &colours.back().second;
}

XftFont* open_font(Display* d, int screen, const char* name, const char* fallback) {
    XftFont* f = XftFontOpenName(d, screen, name);
    return f ? f : XftFontOpenName(d, screen, fallback);
}

// Opens the connection on first use (and again after a failed try).
bool connect(dx_connection* c) {
    if (c->display) return true;
    std::lock_guard<std::recursive_mutex> hold(xft_lock());
    Display* d = XOpenDisplay(dialog_env_display());
    if (!d) return false;
    int screen = DefaultScreen(d);
    c->font = open_font(d, screen, "Arial-9", "sans-9");
    c->bold = open_font(d, screen, "Arial-9:bold", "sans-9:bold");
    if (!c->font || !c->bold) return false;  // not closed: Xft may already keep state for it
    c->im = XOpenIM(d, nullptr, nullptr, nullptr);
    c->colours = new std::vector<std::pair<uint32_t, XftColor>>;
    c->display = d;
    return true;
}

void set_utf8_property(Display* d, Window win, const char* name, const std::string& text) {
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    XChangeProperty(d, win, XInternAtom(d, name, False), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
}

void set_atom_property(Display* d, Window win, const char* name, const char* value) {
    Atom a = XInternAtom(d, value, False);
    XChangeProperty(d, win, XInternAtom(d, name, False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&a), 1);
}

// The program's window while it is shown; 0 otherwise.
Window viewable_owner(Display* d) {
    Window owner = x11_window_id();
    if (!owner || x11_window_destroyed()) return 0;
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, owner, &a) || a.map_state != IsViewable) return 0;
    return owner;
}

// X carries window and pixmap sizes in 16 unsigned bits; the boxes cut their text to
// the screen, and this keeps any size from wrapping.
int32_t window_extent(int32_t v) { return std::clamp(v, 1, 65535); }

// A dialog with an owner stays on the screen; one without it, and the notification,
// belong to the desktop, the primary monitor (the whole screen when the runtime has
// no X connection of its own).
void place(dx_window* w, int32_t* x, int32_t* y) {
    const x11_rect screen{0, 0, DisplayWidth(w->display, w->screen), DisplayHeight(w->display, w->screen)};
    x11_rect area = screen;
    if (!w->owner && !x11_desktop_area(&area)) area = screen;
    if (w->popup) {
        *x = std::max(area.x, area.x + area.width - w->width - 16);
        *y = std::max(area.y, area.y + area.height - w->height - 48);
        return;
    }
    int32_t cx = area.x + area.width / 2, cy = area.y + area.height / 2;
    if (w->owner) {
        XWindowAttributes a;
        Window child;
        int ox = 0, oy = 0;
        if (XGetWindowAttributes(w->display, w->owner, &a) &&
            XTranslateCoordinates(w->display, w->owner, RootWindow(w->display, w->screen), 0, 0, &ox, &oy, &child)) {
            cx = ox + a.width / 2;
            cy = oy + a.height / 2;
        }
    }
    *x = std::max(area.x, std::min(cx - w->width / 2, area.x + area.width - w->width));
    *y = std::max(area.y, std::min(cy - w->height / 2, area.y + area.height - w->height));
}

void fix_size(dx_window* w) {
    XSizeHints* hints = XAllocSizeHints();
    if (!hints) return;
    int32_t x, y;
    place(w, &x, &y);
    hints->flags = PPosition | USPosition | PMinSize | PMaxSize;
    hints->x = x;
    hints->y = y;
    hints->min_width = hints->max_width = w->width;
    hints->min_height = hints->max_height = w->height;
    XSetWMNormalHints(w->display, w->window, hints);
    XFree(hints);
    XMoveResizeWindow(w->display, w->window, x, y, unsigned(w->width), unsigned(w->height));
}

void make_back_buffer(dx_window* w) {
    if (w->draw) XftDrawDestroy(w->draw);
    if (w->back) XFreePixmap(w->display, w->back);
    w->back = XCreatePixmap(w->display, w->window, unsigned(w->width), unsigned(w->height), unsigned(w->depth));
    w->draw = XftDrawCreate(w->display, w->back, w->visual, w->colormap);
}

void open_input_context(dx_window* w) {
    w->im = w->connection->im;
    if (!w->im) return;
    w->ic = XCreateIC(w->im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, w->window,
                      XNFocusWindow, w->window, nullptr);
    if (!w->ic) return;
    long filter = 0;
    XGetICValues(w->ic, XNFilterEvents, &filter, nullptr);
    XWindowAttributes a;
    XGetWindowAttributes(w->display, w->window, &a);
    XSelectInput(w->display, w->window, a.your_event_mask | filter);
    XSetICFocus(w->ic);
}

std::string typed_text(dx_window* w, XKeyEvent* key, KeySym* sym) {
    char buffer[64];
    if (w->ic) {
        Status status;
        int n = Xutf8LookupString(w->ic, key, buffer, sizeof buffer - 1, sym, &status);
        if (status == XLookupChars || status == XLookupBoth) return std::string(buffer, size_t(std::max(n, 0)));
        if (status == XLookupKeySym) return "";
        if (status != XBufferOverflow) return "";
    }
    XLookupString(key, buffer, sizeof buffer - 1, sym, nullptr);
    uint32_t code = x11_keysym_to_unicode(uint32_t(*sym));
    std::string text;
    if (code >= 0x20 && code != 0x7F) utf8_append(&text, code);
    return text;
}

}  // namespace

namespace {

dx_window* create(dx_connection* c, const char* instance, const char* window_class, const std::string& title,
                  int32_t width, int32_t height, bool popup) {
    if (!connect(c)) return nullptr;
    std::lock_guard<std::recursive_mutex> hold(xft_lock());
    Display* d = c->display;
    auto* w = new dx_window;
    w->connection = c;
    w->display = d;
    w->screen = DefaultScreen(d);
    w->visual = DefaultVisual(d, w->screen);
    w->colormap = DefaultColormap(d, w->screen);
    w->depth = DefaultDepth(d, w->screen);
    w->font = c->font;
    w->bold = c->bold;
    w->width = window_extent(width);
    w->height = window_extent(height);
    w->owner = popup ? 0 : viewable_owner(d);

    XSetWindowAttributes attributes;
    attributes.background_pixel = colour(w, dx_face)->pixel;
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            StructureNotifyMask | FocusChangeMask;
    attributes.override_redirect = popup ? True : False;
    w->window = XCreateWindow(d, RootWindow(d, w->screen), 0, 0, unsigned(w->width), unsigned(w->height), 0,
                              w->depth, InputOutput, w->visual, CWBackPixel | CWEventMask | CWOverrideRedirect,
                              &attributes);
    w->popup = popup;

    XClassHint* hint = XAllocClassHint();
    if (hint) {
        std::string name = instance, cls = window_class;
        hint->res_name = name.data();
        hint->res_class = cls.data();
        XSetClassHint(d, w->window, hint);
        XFree(hint);
    }
    set_utf8_property(d, w->window, "WM_NAME", title);
    set_utf8_property(d, w->window, "_NET_WM_NAME", title);
    set_atom_property(d, w->window, "_NET_WM_WINDOW_TYPE",
                      popup ? "_NET_WM_WINDOW_TYPE_NOTIFICATION" : "_NET_WM_WINDOW_TYPE_DIALOG");
    set_atom_property(d, w->window, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE");
    if (w->owner) XSetTransientForHint(d, w->window, w->owner);
    XWMHints* wm = XAllocWMHints();
    if (wm) {
        wm->flags = InputHint;
        wm->input = popup ? False : True;
        XSetWMHints(d, w->window, wm);
        XFree(wm);
    }
    w->wm_protocols = XInternAtom(d, "WM_PROTOCOLS", False);
    w->wm_delete = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, w->window, &w->wm_delete, 1);
    w->gc = XCreateGC(d, w->window, 0, nullptr);
    fix_size(w);
    make_back_buffer(w);
    if (!popup) open_input_context(w);
    return w;
}

}  // namespace

dx_window* dx_open(const char* instance, const std::string& title, int32_t width, int32_t height) {
    return create(&dialog_connection, instance, "ZvDialog", title, width, height, false);
}

dx_window* dx_open_notifier(const std::string& title, int32_t width, int32_t height) {
    return create(&notifier_connection, "notification", "ZvNotify", title, width, height, true);
}

void dx_show_unfocused(dx_window* w) {
    XMapRaised(w->display, w->window);
    XSync(w->display, False);
}


bool dx_display_opens() { return connect(&dialog_connection); }

bool dx_ring_bell(int32_t pitch, int32_t duration_ms) {
    if (!connect(&dialog_connection)) return false;
    Display* d = dialog_connection.display;
    XKeyboardState saved;
    XGetKeyboardControl(d, &saved);
    XKeyboardControl tone;
    tone.bell_pitch = pitch;
    tone.bell_duration = duration_ms;
    XChangeKeyboardControl(d, KBBellPitch | KBBellDuration, &tone);
    XBell(d, 0);
    // The server's own settings come back at once; the bell already rang with the tone's.
    XKeyboardControl back;
    back.bell_pitch = int(saved.bell_pitch);
    back.bell_duration = int(saved.bell_duration);
    XChangeKeyboardControl(d, KBBellPitch | KBBellDuration, &back);
    XSync(d, False);
    return true;
}

void dx_show(dx_window* w) {
    Display* d = w->display;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    w->owner_had_focus = w->owner && focus == w->owner;
    XMapRaised(d, w->window);
    XEvent e;
    XIfEvent(
        d, &e,
        [](Display*, XEvent* ev, XPointer arg) -> Bool {
            return ev->type == MapNotify && ev->xmap.window == *reinterpret_cast<Window*>(arg);
        },
        reinterpret_cast<XPointer>(&w->window));
    // Focus may be given only to a viewable window; a window manager may still be framing it.
    for (int i = 0; i < 200; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, w->window, &a) && a.map_state == IsViewable) {
            XSetInputFocus(d, w->window, RevertToParent, CurrentTime);
            break;
        }
        usleep(5000);
    }
    XSync(d, False);
}

void dx_close(dx_window* w) {
    if (!w) return;
    Display* d = w->display;
    XUnmapWindow(d, w->window);
    if (w->owner_had_focus && viewable_owner(d) == w->owner)
        XSetInputFocus(d, w->owner, RevertToParent, CurrentTime);
    std::lock_guard<std::recursive_mutex> hold(xft_lock());
    if (w->ic) XDestroyIC(w->ic);
    if (w->draw) XftDrawDestroy(w->draw);
    if (w->back) XFreePixmap(d, w->back);
    XFreeGC(d, w->gc);
    XDestroyWindow(d, w->window);
    XSync(d, False);
    delete w;
}

void dx_resize(dx_window* w, int32_t width, int32_t height) {
    std::lock_guard<std::recursive_mutex> hold(xft_lock());
    w->width = window_extent(width);
    w->height = window_extent(height);
    fix_size(w);
    make_back_buffer(w);
}

int32_t dx_width(const dx_window* w) { return w->width; }
int32_t dx_height(const dx_window* w) { return w->height; }
int32_t dx_screen_height(const dx_window* w) { return DisplayHeight(w->display, w->screen); }

void dx_next_event(dx_window* w, dx_event* out, int32_t timeout_ms) {
    Display* d = w->display;
    *out = dx_event{};
    uint64_t deadline = timeout_ms < 0 ? 0 : now_ms() + uint64_t(timeout_ms);
    for (;;) {
        if (!XEventsQueued(d, QueuedAfterFlush)) {
            int wait = -1;
            if (timeout_ms >= 0) {
                uint64_t now = now_ms();
                if (now >= deadline) return;
                wait = int(deadline - now);
            }
            pollfd p{ConnectionNumber(d), POLLIN, 0};
            poll(&p, 1, wait);
            if (!XEventsQueued(d, QueuedAfterReading)) continue;
        }
        XEvent e;
        XNextEvent(d, &e);
        if (XFilterEvent(&e, None)) continue;
        switch (e.type) {
        case MappingNotify:
            // Simulated typing remaps keycodes on the fly.
            XRefreshKeyboardMapping(&e.xmapping);
            continue;
        case Expose:
            if (e.xexpose.window != w->window || e.xexpose.count != 0) continue;
            out->kind = dx_event::expose;
            return;
        case KeyPress: {
            if (e.xkey.window != w->window) continue;
            KeySym sym = NoSymbol;
            out->text = typed_text(w, &e.xkey, &sym);
            if (sym == NoSymbol) sym = XLookupKeysym(&e.xkey, 0);
            out->kind = dx_event::key;
            out->keysym = uint32_t(sym);
            out->state = e.xkey.state;
            return;
        }
        case ButtonPress:
        case ButtonRelease:
            if (e.xbutton.window != w->window) continue;
            out->kind = e.type == ButtonPress ? dx_event::press : dx_event::release;
            out->x = e.xbutton.x;
            out->y = e.xbutton.y;
            out->button = int32_t(e.xbutton.button);
            out->state = e.xbutton.state;
            out->time_ms = e.xbutton.time;
            return;
        case MotionNotify:
            if (e.xmotion.window != w->window) continue;
            out->kind = dx_event::motion;
            out->x = e.xmotion.x;
            out->y = e.xmotion.y;
            out->state = e.xmotion.state;
            return;
        case ClientMessage:
            if (e.xclient.window == w->window && e.xclient.message_type == w->wm_protocols &&
                Atom(e.xclient.data.l[0]) == w->wm_delete) {
                out->kind = dx_event::close;
                return;
            }
            continue;
        default:
            continue;
        }
    }
}

int32_t dx_text_width(dx_window* w, const std::string& utf8, bool bold) {
    std::lock_guard<std::recursive_mutex> hold(xft_lock());
    // Xft's extents are 16-bit: a text is measured in pieces of at most 128 characters,
    // which stay far below 32,767 pixels, cut between characters.
    constexpr size_t piece = 128;
    int32_t width = 0;
    for (size_t at = 0; at < utf8.size();) {
        size_t end = std::min(utf8.size(), at + piece);
        while (end < utf8.size() && (uint8_t(utf8[end]) & 0xC0) == 0x80) ++end;
        XGlyphInfo info;
        XftTextExtentsUtf8(w->display, bold ? w->bold : w->font, reinterpret_cast<const FcChar8*>(utf8.data() + at),
                           int(end - at), &info);
        width += info.xOff;
        at = end;
    }
    return width;
}

int32_t dx_line_height(dx_window* w) { return std::max(w->font->ascent + w->font->descent, w->font->height) + 2; }

std::vector<std::string> dx_wrap(dx_window* w, const std::string& utf8, int32_t width) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = utf8.find('\n', start);
        std::string paragraph = utf8.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        std::string line;
        size_t at = 0;
        while (at < paragraph.size()) {
            size_t space = paragraph.find(' ', at);
            std::string word = paragraph.substr(at, space == std::string::npos ? std::string::npos : space - at + 1);
            at = space == std::string::npos ? paragraph.size() : space + 1;
            std::string joined = line + word;
            if (line.empty() || dx_text_width(w, joined) <= width) {
                line = joined;
            } else {
                lines.push_back(line);
                line = word;
            }
            // A word wider than the box is broken between characters.
            while (dx_text_width(w, line) > width && dx_char_count(line) > 1) {
                size_t cut = 0, next = 0;
                while (next < line.size()) {
                    size_t probe = next;
                    utf8_next(line, &probe);
                    if (cut && dx_text_width(w, line.substr(0, probe)) > width) break;
                    cut = next = probe;
                }
                lines.push_back(line.substr(0, cut));
                line = line.substr(cut);
            }
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

void dx_begin(dx_window* w) { dx_fill(w, 0, 0, w->width, w->height, dx_face); }

void dx_end(dx_window* w) {
    std::lock_guard<std::recursive_mutex> hold(xft_lock());
    XCopyArea(w->display, w->back, w->window, w->gc, 0, 0, unsigned(w->width), unsigned(w->height), 0, 0);
    XFlush(w->display);
}

void dx_fill(dx_window* w, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb) {
    std::lock_guard<std::recursive_mutex> hold(xft_lock());
    if (width <= 0 || height <= 0) return;
    XftDrawRect(w->draw, colour(w, rgb), x, y, unsigned(width), unsigned(height));
}

void dx_frame(dx_window* w, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb) {
    dx_fill(w, x, y, width, 1, rgb);
    dx_fill(w, x, y + height - 1, width, 1, rgb);
    dx_fill(w, x, y, 1, height, rgb);
    dx_fill(w, x + width - 1, y, 1, height, rgb);
}

void dx_text(dx_window* w, int32_t x, int32_t y, const std::string& utf8, uint32_t rgb, bool bold) {
    std::lock_guard<std::recursive_mutex> hold(xft_lock());
    if (utf8.empty()) return;
    XftFont* f = bold ? w->bold : w->font;
    XftDrawStringUtf8(w->draw, colour(w, rgb), f, x, y + 1 + f->ascent, reinterpret_cast<const FcChar8*>(utf8.data()),
                      int(utf8.size()));
}

void dx_fill_circle(dx_window* w, int32_t x, int32_t y, int32_t diameter, uint32_t rgb) {
    XSetForeground(w->display, w->gc, colour(w, rgb)->pixel);
    XFillArc(w->display, w->back, w->gc, x, y, unsigned(diameter), unsigned(diameter), 0, 360 * 64);
}

void dx_fill_triangle(dx_window* w, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                      uint32_t rgb) {
    XSetForeground(w->display, w->gc, colour(w, rgb)->pixel);
    XPoint p[3] = {{short(x1), short(y1)}, {short(x2), short(y2)}, {short(x3), short(y3)}};
    XFillPolygon(w->display, w->back, w->gc, p, 3, Convex, CoordModeOrigin);
}
