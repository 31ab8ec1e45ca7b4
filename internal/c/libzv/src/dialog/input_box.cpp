// The input box: ndlg_inputBox, its UTF-16 twin, and the graphic box itself.
#include <X11/keysym.h>

#include <algorithm>

#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"
#include "dialog/x11_backend.h"
#include "dialog/x11_dialog.h"

namespace {

// The answer of the UTF-8 operation and of its twin, kept until their next call
// (never destroyed: nothing runs at exit).
std::string& answer8() {
    static auto* s = new std::string;
    return *s;
}

std::u16string& answer16() {
    static auto* s = new std::u16string;
    return *s;
}

// Positions in dialog units: a unit is a quarter of the font's average character width
// across and an eighth of its line height down.
struct units {
    int32_t average, line;
    int32_t x(int32_t u) const { return u * average / 4; }
    int32_t y(int32_t u) const { return u * line / 8; }
};

struct input_layout {
    std::vector<std::string> lines;
    dx_button ok, cancel;
    int32_t label_x, label_y, line_height;
    int32_t field_x, field_y, field_width, field_height;
};

input_layout lay_out(dx_window* w, const std::string& message) {
    units u{std::max(1, dx_text_width(w, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52),
            dx_line_height(w)};
    input_layout l;
    l.line_height = dx_line_height(w);
    l.lines = dx_wrap(w, message, u.x(150));
    l.field_height = std::max(u.y(12), l.line_height + 6);
    // The label takes its 40 units, or more when the message needs them, up to the
    // screen's height (lines beyond are cut): the field stays on the screen.
    int32_t room = dx_screen_height(w) - u.y(5) - u.y(8) - l.field_height - u.y(5) - 40;
    size_t fit = size_t(std::max(1, room / std::max(l.line_height, 1)));
    if (l.lines.size() > fit) l.lines.resize(fit);
    int32_t label_height = std::max(u.y(40), int32_t(l.lines.size()) * l.line_height);
    int32_t bh = std::max(u.y(12), dx_button_height(w));
    int32_t bw = std::max({u.x(35), dx_button_width(w, "OK"), dx_button_width(w, "Cancel")});
    int32_t width = std::max(u.x(200), u.x(160) + bw + u.x(5));
    l.label_x = u.x(5);
    l.label_y = u.y(5);
    l.ok = {"OK", width - u.x(5) - bw, u.y(6), bw, bh};
    l.cancel = {"Cancel", l.ok.x, l.ok.y + bh + u.y(3), bw, bh};
    l.field_x = u.x(5);
    l.field_y = std::max(u.y(5) + label_height + u.y(8), l.cancel.y + bh + u.y(6));
    l.field_width = width - 2 * u.x(5);
    dx_resize(w, width, l.field_y + l.field_height + u.y(5));
    return l;
}

enum focus_on { on_field, on_ok, on_cancel };

void draw(dx_window* w, const input_layout& l, const dx_field& f, focus_on focus) {
    dx_begin(w);
    for (size_t i = 0; i < l.lines.size(); ++i)
        dx_text(w, l.label_x, l.label_y + int32_t(i) * l.line_height, l.lines[i], dx_ink);
    dx_draw_button(w, l.ok, focus == on_ok);
    dx_draw_button(w, l.cancel, focus == on_cancel);
    dx_draw_field(w, f, l.field_x, l.field_y, l.field_width, l.field_height, focus == on_field);
    dx_end(w);
}

}  // namespace

bool x11_input_box(const char* title, const char* message, const char* default_text, std::string* answer) {
    answer->clear();
    dx_window* w = dx_open("inputbox", title ? title : "", 300, 110);
    if (!w) return true;
    input_layout l = lay_out(w, message ? message : "");
    dx_field f;
    f.masked = default_text == nullptr;
    f.text = default_text ? default_text : "";
    f.cursor = f.text.size();
    focus_on focus = on_field;
    dx_show(w);
    draw(w, l, f, focus);
    bool ok = false;
    dx_button* pressed = nullptr;
    for (bool done = false; !done;) {
        dx_event e;
        dx_next_event(w, &e);
        switch (e.kind) {
        case dx_event::close: done = true; break;
        case dx_event::key:
            // Enter presses the focused button, and OK from the field.
            if (e.keysym == XK_Return || e.keysym == XK_KP_Enter) {
                ok = focus != on_cancel;
                done = true;
            } else if (e.keysym == XK_Escape) {
                done = true;
            } else if (e.keysym == XK_Tab || e.keysym == XK_ISO_Left_Tab) {
                bool back = e.keysym == XK_ISO_Left_Tab || (e.state & dx_shift);
                focus = focus_on((focus + (back ? 2 : 1)) % 3);
            } else if (focus != on_field && e.keysym == XK_space) {
                ok = focus == on_ok;
                done = true;
            } else if (focus == on_field) {
                dx_field_key(&f, e);
            }
            break;
        case dx_event::press:
            pressed = nullptr;
            if (e.button != 1) break;
            if (l.ok.contains(e.x, e.y)) pressed = &l.ok, focus = on_ok;
            if (l.cancel.contains(e.x, e.y)) pressed = &l.cancel, focus = on_cancel;
            if (e.x >= l.field_x && e.y >= l.field_y && e.x < l.field_x + l.field_width &&
                e.y < l.field_y + l.field_height) {
                focus = on_field;
                dx_field_click(w, &f, e.x - l.field_x);
            }
            break;
        case dx_event::release:
            if (e.button == 1 && pressed && pressed->contains(e.x, e.y)) {
                ok = pressed == &l.ok;
                done = true;
            }
            pressed = nullptr;
            break;
        default: break;
        }
        if (!done) draw(w, l, f, focus);
    }
    dx_close(w);
    if (ok) *answer = f.text;
    return true;
}

extern "C" const char* ndlg_inputBox(const char* title, const char* message, const char* default_text) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    answer8().clear();
    dialog_route route = dialog_choose_route();
    if (dialog_query(title, route)) return route == dialog_route::graphic ? dialog_query_text() : nullptr;
    std::string t, m, d;
    dialog_text_in(title ? title : "", &t, 511);
    dialog_text_in(message ? message : "", &m);
    bool has_default = dialog_text_in(default_text, &d, 1023);
    const dialog_backend& b = dialog_backend_of(route);
    std::string typed;
    if (!b.input_box || !b.input_box(t.c_str(), m.c_str(), has_default ? d.c_str() : nullptr, &typed))
        return route == dialog_route::graphic ? "" : nullptr;
    answer8() = dialog_text_out(typed, 1023);
    return answer8().c_str();
}

extern "C" const char16_t* ndlg_inputBoxW(const char16_t* title, const char16_t* message,
                                          const char16_t* default_text) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    answer16().clear();
    std::string t, m, d;
    if (title) utf16_to_utf8(title, &t);
    t.resize(utf8_cut_units(t, 511));
    if (t == "ndlg_query") {
        dialog_set_response("windows_wchar");
        return answer16().c_str();
    }
    if (message) utf16_to_utf8(message, &m);
    if (default_text) utf16_to_utf8(default_text, &d);
    d.resize(utf8_cut_units(d, 1023));
    const dialog_backend& b = dialog_backend_of(dialog_route::graphic);
    if (!b.input_box || (b.available && !b.available())) return nullptr;
    std::string typed;
    if (b.input_box(t.c_str(), m.c_str(), default_text ? d.c_str() : nullptr, &typed)) {
        typed.resize(utf8_cut_bytes(typed, 1023));
        utf8_to_utf16(typed.c_str(), &answer16());
    }
    return answer16().c_str();
}
