// The notification popup: ndlg_notifyPopup, its UTF-16 twin, and the notifier thread
// that shows the popup at the bottom right of the desktop for ten seconds.
#include <condition_variable>
#include <mutex>
#include <thread>

#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"
#include "dialog/x11_backend.h"
#include "dialog/x11_dialog.h"
#include "dialog/x11_icons.h"

namespace {

struct notification {
    std::string title, message;
    dialog_icon icon = dialog_icon::info;
};

// Handed from the callers to the notifier thread. Never destroyed: the detached
// notifier may still wait on it while the process ends.
struct hand_over_state {
    std::mutex lock;
    std::condition_variable wake;
    notification pending;
    uint64_t generation = 0;
    bool notifier_started = false;
};

hand_over_state& state() {
    static auto* s = new hand_over_state;
    return *s;
}

std::atomic<int32_t> duration_ms{10000};

struct popup_layout {
    std::vector<std::string> lines;
    int32_t line_height;
};

popup_layout lay_out(dx_window* w, const notification& n) {
    const int32_t width = 320, margin = 12, icon = 32;
    popup_layout l{dx_wrap(w, n.message, width - 3 * margin - icon), dx_line_height(w)};
    if (l.lines.size() > 8) l.lines.resize(8);
    int32_t text = l.line_height * (1 + int32_t(l.lines.size()));
    dx_resize(w, width, 2 * margin + std::max(icon, text));
    return l;
}

void draw(dx_window* w, const notification& n, const popup_layout& l) {
    dx_begin(w);
    dx_fill(w, 0, 0, dx_width(w), dx_height(w), 0xFAFAFA);
    dx_frame(w, 0, 0, dx_width(w), dx_height(w), dx_shadow);
    dx_draw_icon(w, n.icon, 12, 12);
    dx_text(w, 56, 12, n.title, dx_ink, true);
    for (size_t i = 0; i < l.lines.size(); ++i) dx_text(w, 56, 12 + int32_t(i + 1) * l.line_height, l.lines[i], dx_ink);
    dx_end(w);
}

// Shows each notification handed over; a newer one replaces the one on screen.
[[noreturn]] void notifier() {
    uint64_t shown = 0;
    for (;;) {
        notification n;
        hand_over_state& h = state();
        {
            std::unique_lock<std::mutex> hold(h.lock);
            h.wake.wait(hold, [&] { return h.generation != shown; });
            n = h.pending;
            shown = h.generation;
        }
        dx_window* w = dx_open_notifier(n.title, 320, 80);
        if (!w) continue;
        popup_layout l = lay_out(w, n);
        dx_show_unfocused(w);
        draw(w, n, l);
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(duration_ms.load());
        for (;;) {
            {
                std::lock_guard<std::mutex> hold(h.lock);
                if (h.generation != shown) break;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            dx_event e;
            dx_next_event(w, &e, int32_t(std::min<int64_t>(left.count(), 50)));
            if (e.kind == dx_event::expose) draw(w, n, l);
        }
        dx_close(w);
    }
}

}  // namespace

void x11_notify_set_duration_for_tests(int32_t ms) { duration_ms.store(ms); }

int32_t x11_notify_popup(const char* title, const char* message, const char* icon) {
    hand_over_state& h = state();
    std::lock_guard<std::mutex> hold(h.lock);
    h.pending.title = title ? title : "";
    h.pending.message = message ? message : "";
    h.pending.icon = dialog_icon_named(icon ? icon : "");
    ++h.generation;
    if (!h.notifier_started) {
        h.notifier_started = true;
        std::thread(notifier).detach();
    }
    h.wake.notify_one();
    return 1;
}

extern "C" int32_t ndlg_notifyPopup(const char* title, const char* message, const char* icon) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    dialog_route route = dialog_choose_route();
    if (dialog_query(title, route)) return route == dialog_route::graphic ? 1 : 0;
    std::string t, m, ic;
    dialog_text_in(title ? title : "", &t, 127);
    dialog_text_in(message ? message : "", &m);
    dialog_text_in(icon ? icon : "", &ic, 15);
    // The popup's fields hold 63 and 255 units.
    t.resize(utf8_cut_units(t, 63));
    m.resize(utf8_cut_units(m, 255));
    const dialog_backend& b = dialog_backend_of(route);
    if (!b.notify_popup) return route == dialog_route::graphic ? 0 : 1;
    return b.notify_popup(t.c_str(), m.c_str(), ic.c_str());
}

extern "C" int32_t ndlg_notifyPopupW(const char16_t* title, const char16_t* message, const char16_t* icon) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    std::string t, m, ic;
    if (title) utf16_to_utf8(title, &t);
    if (t == "ndlg_query") {
        dialog_set_response("windows_wchar");
        return 1;
    }
    if (message) utf16_to_utf8(message, &m);
    if (icon) utf16_to_utf8(icon, &ic);
    t.resize(utf8_cut_units(t, 63));
    m.resize(utf8_cut_units(m, 255));
    ic.resize(utf8_cut_units(ic, 15));
    const dialog_backend& b = dialog_backend_of(dialog_route::graphic);
    if (!b.notify_popup || (b.available && !b.available())) return 0;
    return b.notify_popup(t.c_str(), m.c_str(), ic.c_str());
}
