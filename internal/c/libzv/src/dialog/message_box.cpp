// The message box: ndlg_messageBox, its UTF-16 twin, and the graphic box itself.
#include <X11/keysym.h>

#include <algorithm>

#include "dialog/dialog_layer.h"
#include "dialog/message_box_rules.h"
#include "dialog/ndlg.h"
#include "dialog/x11_backend.h"
#include "dialog/x11_dialog.h"
#include "dialog/x11_icons.h"

namespace {

struct message_box_layout {
    std::vector<std::string> lines;
    std::vector<dx_button> buttons;
    int32_t text_x = 0, text_y = 0, line_height = 0, visible_lines = 0;
};

message_box_layout lay_out(dx_window* w, const std::string& message, const message_box_rules& rules) {
    message_box_layout l;
    const int32_t margin = 14, icon = 32, max_text = 420;
    l.line_height = dx_line_height(w);
    l.lines = dx_wrap(w, message, max_text);
    int32_t text_width = 0;
    for (const std::string& line : l.lines) text_width = std::max(text_width, dx_text_width(w, line));
    int32_t bh = dx_button_height(w), bw = 0;
    for (const message_box_button& b : rules.buttons) bw = std::max(bw, dx_button_width(w, b.label));
    int32_t buttons_width = int32_t(rules.buttons.size()) * (bw + 8) - 8;
    int32_t width = std::max(margin + icon + margin + text_width + margin, buttons_width + 2 * margin);
    width = std::max(width, 220);
    // The box grows with its text up to the screen's height; lines beyond are cut.
    int32_t fixed = margin + margin + bh + margin;
    int32_t room = dx_screen_height(w) - fixed - 40;
    l.visible_lines = std::max(1, std::min(int32_t(l.lines.size()), room / std::max(l.line_height, 1)));
    int32_t text_height = std::max(icon, l.visible_lines * l.line_height);
    int32_t height = fixed + text_height;
    l.text_x = margin + icon + margin;
    l.text_y = margin + std::max(0, (icon - int32_t(l.lines.size()) * l.line_height) / 2);
    int32_t x = width - margin - buttons_width;
    for (const message_box_button& b : rules.buttons) {
        dx_button button;
        button.label = b.label;
        button.x = x;
        button.y = height - margin - bh;
        button.width = bw;
        button.height = bh;
        l.buttons.push_back(button);
        x += bw + 8;
    }
    dx_resize(w, width, height);
    return l;
}

void draw(dx_window* w, const message_box_layout& l, dialog_icon icon, size_t focused) {
    dx_begin(w);
    dx_fill(w, 0, dx_height(w) - 2 * 14 - dx_button_height(w) + 4, dx_width(w), 2 * 14 + dx_button_height(w), 0xE6E6E6);
    dx_draw_icon(w, icon, 14, 14);
    for (int32_t i = 0; i < l.visible_lines; ++i) dx_text(w, l.text_x, l.text_y + i * l.line_height, l.lines[size_t(i)], dx_ink);
    for (size_t i = 0; i < l.buttons.size(); ++i) dx_draw_button(w, l.buttons[i], i == focused);
    dx_end(w);
}

}  // namespace

int32_t x11_message_box(const char* title, const char* message, const char* type, const char* icon,
                        int32_t default_button) {
    message_box_rules rules = message_box_rules_for(type ? type : "", default_button);
    dx_window* w = dx_open("messagebox", title ? title : "", 300, 120);
    if (!w) return rules.cancel_answer;
    message_box_layout l = lay_out(w, message ? message : "", rules);
    dialog_icon kind = dialog_icon_named(icon ? icon : "");
    size_t focused = rules.focused;
    dx_show(w);
    draw(w, l, kind, focused);
    int32_t answer = rules.cancel_answer;
    size_t pressed = SIZE_MAX;
    for (bool done = false; !done;) {
        dx_event e;
        dx_next_event(w, &e);
        switch (e.kind) {
        case dx_event::expose: break;
        case dx_event::close: done = message_box_press(rules, &focused, message_box_key::escape, 0, &answer); break;
        case dx_event::key:
            switch (e.keysym) {
            case XK_Return:
            case XK_KP_Enter:
            case XK_space: done = message_box_press(rules, &focused, message_box_key::enter, 0, &answer); break;
            case XK_Escape: done = message_box_press(rules, &focused, message_box_key::escape, 0, &answer); break;
            case XK_Tab:
            case XK_Right:
            case XK_KP_Right:
                done = message_box_press(rules, &focused,
                                         (e.state & dx_shift) && e.keysym == XK_Tab ? message_box_key::previous
                                                                                    : message_box_key::next,
                                         0, &answer);
                break;
            case XK_ISO_Left_Tab:
            case XK_Left:
            case XK_KP_Left: done = message_box_press(rules, &focused, message_box_key::previous, 0, &answer); break;
            default:
                if (e.text.size() == 1 && !(e.state & dx_control))
                    done = message_box_press(rules, &focused, message_box_key::letter, e.text[0], &answer);
            }
            break;
        case dx_event::press:
            pressed = SIZE_MAX;
            if (e.button == 1)
                for (size_t i = 0; i < l.buttons.size(); ++i)
                    if (l.buttons[i].contains(e.x, e.y)) pressed = focused = i;
            break;
        case dx_event::release:
            if (e.button == 1 && pressed < l.buttons.size() && l.buttons[pressed].contains(e.x, e.y)) {
                answer = rules.buttons[pressed].answer;
                done = true;
            }
            pressed = SIZE_MAX;
            break;
        default: continue;
        }
        if (!done) draw(w, l, kind, focused);
    }
    dx_close(w);
    return answer;
}

extern "C" int32_t ndlg_messageBox(const char* title, const char* message, const char* type, const char* icon,
                                   int32_t default_button) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    dialog_route route = dialog_choose_route();
    if (dialog_query(title, route)) return route == dialog_route::graphic ? 1 : 0;
    std::string t, m, ty, ic;
    dialog_text_in(title ? title : "", &t, 511);
    dialog_text_in(message ? message : "", &m);
    dialog_text_in(type ? type : "", &ty, 511);
    dialog_text_in(icon ? icon : "", &ic, 511);
    const dialog_backend& b = dialog_backend_of(route);
    if (!b.message_box) return message_box_rules_for(ty, default_button).cancel_answer;
    return b.message_box(t.c_str(), m.c_str(), ty.c_str(), ic.c_str(), default_button);
}

extern "C" int32_t ndlg_messageBoxW(const char16_t* title, const char16_t* message, const char16_t* type,
                                    const char16_t* icon, int32_t default_button) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    std::string t, m, ty, ic;
    auto in = [](const char16_t* text, std::string* out, size_t units) {
        if (text) utf16_to_utf8(text, out);
        if (units) out->resize(utf8_cut_units(*out, units));
    };
    in(title, &t, 511);
    if (t == "ndlg_query") {
        dialog_set_response("windows_wchar");
        return 1;
    }
    in(message, &m, 0);
    in(type, &ty, 511);
    in(icon, &ic, 511);
    const dialog_backend& b = dialog_backend_of(dialog_route::graphic);
    if (!b.message_box || (b.available && !b.available())) return 0;
    return b.message_box(t.c_str(), m.c_str(), ty.c_str(), ic.c_str(), default_button);
}
