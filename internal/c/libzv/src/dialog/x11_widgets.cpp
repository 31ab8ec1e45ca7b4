// The graphic dialogs' controls: push buttons and the one-line text field.
#include <X11/keysym.h>

#include <algorithm>

#include "dialog/dialog_layer.h"
#include "dialog/x11_dialog.h"

namespace {

// Byte offset of the character before / after a byte offset of valid UTF-8.
size_t previous_char(const std::string& s, size_t at) {
    if (at == 0) return 0;
    do --at;
    while (at > 0 && (uint8_t(s[at]) & 0xC0) == 0x80);
    return at;
}

size_t next_char(const std::string& s, size_t at) {
    if (at >= s.size()) return s.size();
    utf8_next(s, &at);
    return at;
}

std::string shown(const dx_field& f, const std::string& text) {
    return f.masked ? std::string(dx_char_count(text), '*') : text;
}

}  // namespace

size_t dx_char_count(const std::string& utf8) {
    size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

int32_t dx_button_width(dx_window* w, const std::string& label) {
    return std::max(dx_text_width(w, label) + 24, dx_line_height(w) * 5);
}

int32_t dx_button_height(dx_window* w) { return dx_line_height(w) + 10; }

void dx_draw_button(dx_window* w, const dx_button& b, bool focused) {
    dx_fill(w, b.x, b.y, b.width, b.height, 0xE1E1E1);
    dx_frame(w, b.x, b.y, b.width, b.height, focused ? dx_focus : 0xADADAD);
    if (focused) dx_frame(w, b.x + 1, b.y + 1, b.width - 2, b.height - 2, dx_focus);
    int32_t tw = dx_text_width(w, b.label);
    dx_text(w, b.x + (b.width - tw) / 2, b.y + (b.height - dx_line_height(w)) / 2, b.label, dx_ink);
}

bool dx_field_key(dx_field* f, const dx_event& e) {
    if (e.kind != dx_event::key) return false;
    f->cursor = std::min(f->cursor, f->text.size());
    switch (e.keysym) {
    case XK_BackSpace:
        if (f->all_selected) {
            f->text.clear(), f->cursor = 0;
        } else if (f->cursor > 0) {
            size_t from = previous_char(f->text, f->cursor);
            f->text.erase(from, f->cursor - from);
            f->cursor = from;
        }
        break;
    case XK_Delete:
    case XK_KP_Delete:
        if (f->all_selected) {
            f->text.clear(), f->cursor = 0;
        } else if (f->cursor < f->text.size()) {
            f->text.erase(f->cursor, next_char(f->text, f->cursor) - f->cursor);
        }
        break;
    case XK_Home:
    case XK_KP_Home: f->cursor = 0; break;
    case XK_End:
    case XK_KP_End: f->cursor = f->text.size(); break;
    case XK_Left:
    case XK_KP_Left: f->cursor = previous_char(f->text, f->cursor); break;
    case XK_Right:
    case XK_KP_Right: f->cursor = next_char(f->text, f->cursor); break;
    default: {
        if (e.text.empty() || (e.state & dx_control)) return false;
        std::string typed;
        for (size_t at = 0; at < e.text.size();) {
            uint32_t c = utf8_next(e.text, &at);
            if (c >= 0x20 && c != 0x7F) utf8_append(&typed, c);
        }
        if (typed.empty()) return false;
        if (f->all_selected) f->text.clear(), f->cursor = 0;
        size_t room = f->max_chars > dx_char_count(f->text) ? f->max_chars - dx_char_count(f->text) : 0;
        size_t take = 0;
        for (size_t n = 0; take < typed.size() && n < room; ++n) take = next_char(typed, take);
        f->text.insert(f->cursor, typed, 0, take);
        f->cursor += take;
        break;
    }
    }
    f->all_selected = false;
    return true;
}

void dx_field_click(dx_window* w, dx_field* f, int32_t x_in_field) {
    f->all_selected = false;
    size_t at = 0;
    while (at < f->text.size()) {
        size_t next = next_char(f->text, at);
        int32_t left = dx_text_width(w, shown(*f, f->text.substr(0, at)));
        int32_t right = dx_text_width(w, shown(*f, f->text.substr(0, next)));
        if (x_in_field - 3 < (left + right) / 2) break;
        at = next;
    }
    f->cursor = at;
}

void dx_draw_field(dx_window* w, const dx_field& f, int32_t x, int32_t y, int32_t width, int32_t height,
                   bool focused) {
    dx_fill(w, x, y, width, height, dx_white);
    dx_frame(w, x, y, width, height, focused ? dx_focus : 0x7A7A7A);
    std::string text = shown(f, f.text);
    size_t cursor = std::min(f.cursor, f.text.size());
    int32_t cursor_x = dx_text_width(w, shown(f, f.text.substr(0, cursor)));
    int32_t inner = width - 6;
    // Scrolled so that the cursor stays inside the field.
    int32_t offset = cursor_x > inner ? cursor_x - inner : 0;
    int32_t ty = y + (height - dx_line_height(w)) / 2;
    if (f.all_selected && !text.empty())
        dx_fill(w, x + 3, ty, std::min(dx_text_width(w, text), inner), dx_line_height(w), dx_select);
    // Characters left of the visible part are skipped whole.
    size_t from = 0;
    int32_t skipped = 0;
    while (from < text.size()) {
        size_t next = next_char(text, from);
        int32_t wd = dx_text_width(w, text.substr(0, next));
        if (wd > offset) break;
        skipped = wd;
        from = next;
    }
    std::string visible;
    for (size_t at = from; at < text.size();) {
        size_t next = next_char(text, at);
        if (dx_text_width(w, text.substr(from, next - from)) - (offset - skipped) > inner) break;
        at = next;
        visible = text.substr(from, at - from);
    }
    dx_text(w, x + 3 - (offset - skipped), ty, visible, dx_ink);
    dx_frame(w, x, y, width, height, focused ? dx_focus : 0x7A7A7A);
    if (focused) dx_fill(w, x + 3 + cursor_x - offset, ty + 1, 1, dx_line_height(w) - 2, dx_ink);
}
