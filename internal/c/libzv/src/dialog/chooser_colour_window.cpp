// The graphic colour chooser: a "#rrggbb" field, red, green and blue fields kept in
// step with it, a swatch of the colour, OK and Cancel.
#include <X11/keysym.h>

#include <algorithm>
#include <string>

#include "dialog/chooser_rules.h"
#include "dialog/chooser_window.h"
#include "dialog/x11_dialog.h"

namespace {

constexpr int32_t margin = 12, swatch = 96;

enum focus_on { on_hex, on_red, on_green, on_blue, on_ok, on_cancel, focus_count };

struct colour_view {
    uint8_t rgb[3] = {0, 0, 0};
    dx_field fields[4];  // hex, red, green, blue
    focus_on focus = on_hex;
    int32_t line = 0, label_width = 0, field_x = 0, field_width = 0, field_height = 0, first_y = 0, step = 0;
    dx_button ok, cancel;
    int32_t field_y(int i) const { return first_y + i * step; }
};

const char* const labels[] = {"Hex:", "Red:", "Green:", "Blue:"};

void lay_out(dx_window* w, colour_view* v) {
    v->line = dx_line_height(w);
    v->field_height = v->line + 8;
    v->step = v->field_height + 6;
    v->first_y = margin;
    v->label_width = 0;
    for (const char* l : labels) v->label_width = std::max(v->label_width, dx_text_width(w, l));
    v->field_x = margin + swatch + margin + v->label_width + 8;
    v->field_width = std::max(dx_text_width(w, "#DDDDDD") + 16, 90);
    int32_t width = v->field_x + v->field_width + margin;
    int32_t bh = dx_button_height(w), bw = std::max({dx_button_width(w, "OK"), dx_button_width(w, "Cancel"), 80});
    int32_t buttons_y = std::max(v->field_y(4), margin + swatch) + 8;
    v->cancel = {"Cancel", width - margin - bw, buttons_y, bw, bh};
    v->ok = {"OK", v->cancel.x - 8 - bw, buttons_y, bw, bh};
    dx_resize(w, width, buttons_y + bh + margin);
}

void fields_from_colour(colour_view* v, bool keep_hex) {
    if (!keep_hex) {
        v->fields[0].text = chooser_colour_text(v->rgb);
        v->fields[0].cursor = v->fields[0].text.size();
    }
    for (int i = 0; i < 3; i++) {
        if (v->focus == on_red + i) continue;
        v->fields[1 + i].text = std::to_string(v->rgb[i]);
        v->fields[1 + i].cursor = v->fields[1 + i].text.size();
        v->fields[1 + i].all_selected = false;
    }
}

// A value field's text as a byte: digits only, at most 255.
bool byte_of(const std::string& text, uint8_t* out) {
    if (text.empty() || text.size() > 3) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value > 255) return false;
    *out = static_cast<uint8_t>(value);
    return true;
}

// After an edit of one field, the colour and the other fields follow it when it holds a colour.
void field_changed(colour_view* v, int field) {
    if (field == 0) {
        if (chooser_parse_colour(v->fields[0].text, v->rgb)) fields_from_colour(v, true);
        return;
    }
    if (byte_of(v->fields[field].text, &v->rgb[field - 1])) fields_from_colour(v, false);
}

// Every field holds a colour or a byte. A valid edit rewrites the fields not being
// edited, so then they all show v->rgb; while one does not, there is no answer.
bool fields_valid(const colour_view& v) {
    uint8_t scratch[3];
    if (!chooser_parse_colour(v.fields[0].text, scratch)) return false;
    for (int i = 1; i < 4; i++)
        if (!byte_of(v.fields[i].text, scratch)) return false;
    return true;
}

void draw(dx_window* w, const colour_view& v) {
    dx_begin(w);
    uint32_t colour = uint32_t(v.rgb[0]) << 16 | uint32_t(v.rgb[1]) << 8 | v.rgb[2];
    dx_fill(w, margin, margin, swatch, swatch, colour);
    dx_frame(w, margin, margin, swatch, swatch, dx_shadow);
    for (int i = 0; i < 4; i++) {
        int32_t y = v.field_y(i);
        dx_text(w, margin + swatch + margin, y + (v.field_height - v.line) / 2, labels[i], dx_ink);
        dx_draw_field(w, v.fields[i], v.field_x, y, v.field_width, v.field_height, v.focus == i);
    }
    dx_draw_button(w, v.ok, v.focus == on_ok);
    dx_draw_button(w, v.cancel, v.focus == on_cancel);
    dx_end(w);
}

// Typed text for a value field: digits, or none (editing keys).
bool digits_only(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

}  // namespace

bool chooser_window_colour(const char* title, const char* default_hex, const uint8_t default_rgb[3],
                           uint8_t result_rgb[3], std::string* answer) {
    colour_view v;
    if (!default_hex || !chooser_parse_colour(default_hex, v.rgb))
        for (int i = 0; i < 3; i++) v.rgb[i] = default_rgb ? default_rgb[i] : 0;
    dx_window* w = dx_open("colorchooser", title ? title : "", 320, 200);
    if (!w) return false;
    lay_out(w, &v);
    v.fields[0].max_chars = 7;
    for (int i = 1; i < 4; i++) v.fields[i].max_chars = 3;
    fields_from_colour(&v, false);
    v.fields[0].all_selected = true;
    dx_show(w);
    draw(w, v);
    bool answered = false;
    dx_button* pressed = nullptr;
    for (bool done = false; !done;) {
        dx_event e;
        dx_next_event(w, &e);
        switch (e.kind) {
        case dx_event::close: done = true; break;
        case dx_event::key: {
            bool enter = e.keysym == XK_Return || e.keysym == XK_KP_Enter;
            if (e.keysym == XK_Escape) {
                done = true;
            } else if (e.keysym == XK_Tab || e.keysym == XK_ISO_Left_Tab) {
                bool back = e.keysym == XK_ISO_Left_Tab || (e.state & dx_shift);
                v.focus = focus_on((v.focus + (back ? focus_count - 1 : 1)) % focus_count);
                fields_from_colour(&v, v.focus == on_hex);
            } else if (v.focus == on_cancel && (enter || e.keysym == XK_space)) {
                done = true;
            } else if (enter || (v.focus == on_ok && e.keysym == XK_space)) {
                answered = done = fields_valid(v);
            } else if (v.focus <= on_blue) {
                dx_field& f = v.fields[v.focus];
                if (v.focus != on_hex && !digits_only(e.text)) break;
                if (dx_field_key(&f, e)) field_changed(&v, v.focus);
            }
            break;
        }
        case dx_event::press:
            pressed = nullptr;
            if (e.button != 1) break;
            if (v.ok.contains(e.x, e.y)) pressed = &v.ok, v.focus = on_ok;
            if (v.cancel.contains(e.x, e.y)) pressed = &v.cancel, v.focus = on_cancel;
            for (int i = 0; i < 4; i++) {
                int32_t y = v.field_y(i);
                if (e.x >= v.field_x && e.x < v.field_x + v.field_width && e.y >= y && e.y < y + v.field_height) {
                    v.focus = focus_on(i);
                    v.fields[i].all_selected = false;
                    dx_field_click(w, &v.fields[i], e.x - v.field_x);
                }
            }
            break;
        case dx_event::release:
            if (e.button == 1 && pressed && pressed->contains(e.x, e.y)) {
                answered = pressed == &v.ok;
                done = !answered || fields_valid(v);
            }
            pressed = nullptr;
            break;
        default: break;
        }
        if (!done) draw(w, v);
    }
    dx_close(w);
    if (!answered) return false;
    for (int i = 0; i < 3; i++) result_rgb[i] = v.rgb[i];
    *answer = chooser_colour_text(v.rgb);
    return true;
}
