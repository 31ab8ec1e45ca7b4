// The graphic file and folder choosers: a window of the dialog layer around the
// chooser model (folder line, list, name field, filter selector, OK and Cancel).
#include <X11/keysym.h>

#include <algorithm>
#include <string>

#include "dialog/chooser_file_model.h"
#include "dialog/dialog_layer.h"
#include "dialog/chooser_window.h"
#include "dialog/x11_backend.h"
#include "dialog/x11_dialog.h"

namespace {

constexpr int32_t margin = 10, window_width = 540, visible_rows = 12;
constexpr uint32_t folder_colour = 0xE8C060;
constexpr uint64_t double_click_ms = 400;

enum focus_on { on_field, on_list, on_filter, on_ok, on_cancel };

struct file_layout {
    int32_t line = 0, row = 0;
    int32_t folder_y = 0;
    int32_t list_x = 0, list_y = 0, list_width = 0, list_height = 0;
    int32_t label_width = 0, field_x = 0, field_y = 0, field_width = 0, field_height = 0;
    dx_button filter, ok, cancel;
    bool has_filter = false;
    bool in_list(int32_t x, int32_t y) const {
        return x >= list_x && y >= list_y && x < list_x + list_width && y < list_y + list_height;
    }
    bool in_field(int32_t x, int32_t y) const {
        return x >= field_x && y >= field_y && x < field_x + field_width && y < field_y + field_height;
    }
};

struct chooser_view {
    chooser_file_model model;
    dx_field field;
    std::string field_name;  // the model's name that the field was last given
    file_layout layout;
    focus_on focus = on_field;
    size_t top = 0;  // first row shown
    const char* label = "File name:";
};

file_layout lay_out(dx_window* w, const chooser_file_model& m, const char* label) {
    file_layout l;
    l.line = dx_line_height(w);
    l.row = l.line + 4;
    l.folder_y = margin;
    l.list_x = margin;
    l.list_y = l.folder_y + l.line + 6;
    l.list_width = window_width - 2 * margin;
    l.list_height = visible_rows * l.row + 4;
    l.label_width = dx_text_width(w, label);
    l.field_height = l.line + 8;
    l.field_y = l.list_y + l.list_height + 8;
    l.field_x = margin + l.label_width + 8;
    l.field_width = window_width - margin - l.field_x;
    int32_t bh = dx_button_height(w), bw = std::max({dx_button_width(w, "OK"), dx_button_width(w, "Cancel"), 80});
    int32_t buttons_y = l.field_y + l.field_height + 10;
    l.cancel = {"Cancel", window_width - margin - bw, buttons_y, bw, bh};
    l.ok = {"OK", l.cancel.x - 8 - bw, buttons_y, bw, bh};
    l.has_filter = !m.filters.empty();
    l.filter = {"", margin, buttons_y, l.ok.x - 16 - margin, bh};
    dx_resize(w, window_width, buttons_y + bh + margin);
    return l;
}

// The text cut to a width, with "..." where it was cut (from the left for paths).
std::string fit(dx_window* w, const std::string& text, int32_t width, bool keep_end) {
    if (dx_text_width(w, text) <= width) return text;
    std::string out = text;
    while (!out.empty() && dx_text_width(w, keep_end ? "..." + out : out + "...") > width) {
        if (keep_end) {
            size_t cut = 1;
            while (cut < out.size() && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) cut++;
            out.erase(0, cut);
        } else {
            size_t cut = out.size() - 1;
            while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) cut--;
            out.erase(cut);
        }
    }
    return keep_end ? "..." + out : out + "...";
}

// A name from the system as text: UTF-8 as it is, other bytes through the layer's
// Windows-1252 reading, so that the whole name shows and names that differ look apart.
std::string shown(const std::string& name) {
    return utf8_valid(name.c_str(), name.size()) ? name : cp1252_to_utf8(name.c_str());
}

void keep_cursor_shown(chooser_view* v) {
    size_t cursor = v->model.cursor;
    if (cursor < v->top) v->top = cursor;
    if (cursor >= v->top + visible_rows) v->top = cursor + 1 - visible_rows;
}

// The name the field stands for: while it still shows the name it was given, that
// name's exact bytes; once edited, the text typed.
std::string field_meaning(const chooser_view& v) {
    return v.field.text == shown(v.field_name) ? v.field_name : v.field.text;
}

// The field shows the model's name; the model takes what is typed.
void field_from_model(chooser_view* v) {
    if (field_meaning(*v) == v->model.name) return;
    v->field_name = v->model.name;
    v->field.text = shown(v->model.name);
    v->field.cursor = v->field.text.size();
    v->field.all_selected = false;
}

void draw(dx_window* w, const chooser_view& v) {
    const file_layout& l = v.layout;
    const chooser_file_model& m = v.model;
    dx_begin(w);
    dx_text(w, margin, l.folder_y, fit(w, shown(m.folder), window_width - 2 * margin, true), dx_ink, true);
    dx_fill(w, l.list_x, l.list_y, l.list_width, l.list_height, dx_white);
    dx_frame(w, l.list_x, l.list_y, l.list_width, l.list_height, v.focus == on_list ? dx_focus : 0x7A7A7A);
    for (size_t i = v.top; i < m.entries.size() && i < v.top + visible_rows; ++i) {
        int32_t y = l.list_y + 2 + int32_t(i - v.top) * l.row;
        if (m.selected[i]) dx_fill(w, l.list_x + 2, y, l.list_width - 4, l.row, dx_select);
        if (i == m.cursor && v.focus == on_list) dx_frame(w, l.list_x + 2, y, l.list_width - 4, l.row, dx_focus);
        int32_t mark = l.line / 2;
        int32_t my = y + (l.row - mark) / 2;
        if (m.entries[i].folder)
            dx_fill(w, l.list_x + 8, my, mark + 4, mark, folder_colour);
        else
            dx_frame(w, l.list_x + 10, my - 1, mark, mark + 2, dx_shadow);
        dx_text(w, l.list_x + 18 + mark, y + 2, fit(w, shown(m.entries[i].name), l.list_width - 30 - mark, false),
                dx_ink);
    }
    dx_text(w, margin, l.field_y + (l.field_height - l.line) / 2, v.label, dx_ink);
    dx_draw_field(w, v.field, l.field_x, l.field_y, l.field_width, l.field_height, v.focus == on_field);
    if (l.has_filter) {
        dx_button filter = l.filter;
        filter.label = fit(w, m.filters[m.filter].label, filter.width - 12, false);
        dx_draw_button(w, filter, v.focus == on_filter);
    }
    dx_draw_button(w, l.ok, v.focus == on_ok);
    dx_draw_button(w, l.cancel, v.focus == on_cancel);
    dx_end(w);
}

focus_on next_focus(const chooser_view& v, bool back) {
    static const focus_on order[] = {on_field, on_list, on_filter, on_ok, on_cancel};
    int at = 0;
    while (order[at] != v.focus) at++;
    do
        at = (at + (back ? 4 : 1)) % 5;
    while (order[at] == on_filter && !v.layout.has_filter);
    return order[at];
}

void move_cursor(chooser_view* v, long step, bool select) {
    chooser_file_model& m = v->model;
    if (m.entries.empty()) return;
    long to = std::clamp(long(m.cursor) + step, 0L, long(m.entries.size()) - 1);
    if (select)
        chooser_file_pick(&m, size_t(to), false);
    else
        m.cursor = size_t(to);
    keep_cursor_shown(v);
}

struct window_state {
    dx_window* w = nullptr;
    std::string title;
};

// Opens (or opens again) the chooser's window and shows it with the focus.
bool open_window(window_state* s, chooser_view* v, const char* instance) {
    s->w = dx_open(instance, s->title, window_width, 400);
    if (!s->w) return false;
    v->layout = lay_out(s->w, v->model, v->label);
    dx_show(s->w);
    return true;
}

// Enter: what the model decides, with the question before a file is replaced. The
// chooser's window closes while the question is asked, and opens again after a No.
enum class step { stay, answered, lost };
step accept(window_state* s, chooser_view* v, bool from_list, const char* instance, std::string* answer) {
    chooser_file_model& m = v->model;
    if (from_list && m.several && m.cursor < m.entries.size() && !m.entries[m.cursor].folder &&
        std::none_of(m.selected.begin(), m.selected.end(), [](bool b) { return b; }))
        chooser_file_pick(&m, m.cursor, false);
    chooser_outcome out = chooser_file_accept(&m, from_list);
    v->top = std::min(v->top, m.entries.empty() ? 0 : m.entries.size() - 1);
    keep_cursor_shown(v);
    field_from_model(v);
    if (out.kind == chooser_outcome::answer) {
        *answer = out.path;
        return step::answered;
    }
    if (out.kind != chooser_outcome::confirm_replace) return step::stay;
    std::string name = out.path.substr(out.path.rfind('/') + 1);
    dx_close(s->w);
    s->w = nullptr;
    if (x11_message_box("Confirm Save", (shown(name) + " already exists. Replace it?").c_str(), "yesno", "warning",
                        0) == 1) {
        *answer = out.path;
        return step::answered;
    }
    return open_window(s, v, instance) ? step::stay : step::lost;
}

// A key as a chooser command, by the focus; nothing is changed here.
struct key_action {
    enum kind_t { none, cancel, focus, next_filter, accept, list_move, list_pick, list_parent, list_other, field };
    kind_t kind = none;
    long amount = 0;    // list_move: rows, negative upwards
    bool back = false;  // focus: backwards
};

key_action read_key(const chooser_view& v, const dx_event& e) {
    bool enter = e.keysym == XK_Return || e.keysym == XK_KP_Enter;
    bool space = e.keysym == XK_space;
    if (e.keysym == XK_Escape) return {key_action::cancel};
    if (e.keysym == XK_Tab || e.keysym == XK_ISO_Left_Tab)
        return {key_action::focus, 0, e.keysym == XK_ISO_Left_Tab || (e.state & dx_shift)};
    if (v.focus == on_cancel && (enter || space)) return {key_action::cancel};
    if (v.focus == on_filter && (enter || space)) return {key_action::next_filter};
    if (enter || (v.focus == on_ok && space)) return {key_action::accept};
    if (v.focus == on_list) {
        long all = long(v.model.entries.size());
        switch (e.keysym) {
        case XK_Up: case XK_KP_Up: return {key_action::list_move, -1};
        case XK_Down: case XK_KP_Down: return {key_action::list_move, 1};
        case XK_Page_Up: case XK_KP_Page_Up: return {key_action::list_move, -visible_rows};
        case XK_Page_Down: case XK_KP_Page_Down: return {key_action::list_move, visible_rows};
        case XK_Home: case XK_KP_Home: return {key_action::list_move, -all};
        case XK_End: case XK_KP_End: return {key_action::list_move, all};
        case XK_space: return {key_action::list_pick};
        case XK_BackSpace: return {key_action::list_parent};
        default: return {key_action::list_other};
        }
    }
    if (v.focus == on_field) return {key_action::field};
    return {};
}

// What the chooser's loop keeps between events.
struct chooser_loop {
    window_state s;
    const char* instance;
    std::string* answer;
    dx_button* pressed = nullptr;
    size_t last_row = SIZE_MAX;
    uint64_t last_click = 0;
};

enum class outcome { stay, closed, answered };

outcome outcome_of(step result) {
    return result == step::answered ? outcome::answered : result == step::lost ? outcome::closed : outcome::stay;
}

outcome run_key(chooser_loop* l, chooser_view* v, const key_action& a, const dx_event& e) {
    switch (a.kind) {
    case key_action::cancel: return outcome::closed;
    case key_action::focus: v->focus = next_focus(*v, a.back); break;
    case key_action::next_filter:
        chooser_file_next_filter(&v->model);
        v->top = 0;
        break;
    case key_action::accept: return outcome_of(accept(&l->s, v, v->focus == on_list, l->instance, l->answer));
    case key_action::list_move:
    case key_action::list_pick:
    case key_action::list_parent:
    case key_action::list_other:
        if (a.kind == key_action::list_move) move_cursor(v, a.amount, !v->model.several);
        if (a.kind == key_action::list_pick) chooser_file_pick(&v->model, v->model.cursor, true);
        if (a.kind == key_action::list_parent && v->model.folder != "/") {
            chooser_file_enter(&v->model, chooser_join(v->model.folder, ".."));
            v->top = 0;
        }
        field_from_model(v);
        break;
    case key_action::field:
        if (dx_field_key(&v->field, e)) v->model.name = field_meaning(*v);
        break;
    case key_action::none: break;
    }
    return outcome::stay;
}

outcome on_press(chooser_loop* l, chooser_view* v, const dx_event& e) {
    l->pressed = nullptr;
    const file_layout& lay = v->layout;
    if (e.button == 4 || e.button == 5) {
        if (lay.in_list(e.x, e.y)) {
            size_t rows = v->model.entries.size();
            size_t most = rows > visible_rows ? rows - visible_rows : 0;
            v->top = e.button == 4 ? (v->top > 3 ? v->top - 3 : 0) : std::min(most, v->top + 3);
        }
        return outcome::stay;
    }
    if (e.button != 1) return outcome::stay;
    if (lay.ok.contains(e.x, e.y)) l->pressed = &v->layout.ok, v->focus = on_ok;
    if (lay.cancel.contains(e.x, e.y)) l->pressed = &v->layout.cancel, v->focus = on_cancel;
    if (lay.has_filter && lay.filter.contains(e.x, e.y)) {
        v->focus = on_filter;
        chooser_file_next_filter(&v->model);
        v->top = 0;
        field_from_model(v);
    }
    if (lay.in_field(e.x, e.y)) {
        v->focus = on_field;
        v->field.all_selected = false;
        dx_field_click(l->s.w, &v->field, e.x - lay.field_x);
    }
    if (lay.in_list(e.x, e.y)) {
        v->focus = on_list;
        size_t row = v->top + size_t(std::max(0, e.y - lay.list_y - 2) / lay.row);
        if (row >= v->model.entries.size()) return outcome::stay;
        bool twice = row == l->last_row && e.time_ms - l->last_click < double_click_ms;
        l->last_row = row;
        l->last_click = e.time_ms;
        chooser_file_pick(&v->model, row, v->model.several && (e.state & dx_control));
        field_from_model(v);
        if (twice) {
            l->last_row = SIZE_MAX;
            return outcome_of(accept(&l->s, v, true, l->instance, l->answer));
        }
    }
    return outcome::stay;
}

outcome on_release(chooser_loop* l, chooser_view* v, const dx_event& e) {
    dx_button* pressed = l->pressed;
    l->pressed = nullptr;
    if (e.button != 1 || !pressed || !pressed->contains(e.x, e.y)) return outcome::stay;
    if (pressed == &v->layout.cancel) return outcome::closed;
    return outcome_of(accept(&l->s, v, false, l->instance, l->answer));
}

bool run_chooser(chooser_view* v, const char* instance, const char* title, std::string* answer) {
    chooser_loop l{{nullptr, title ? title : ""}, instance, answer};
    if (!open_window(&l.s, v, instance)) return false;
    field_from_model(v);
    v->field.all_selected = !v->field.text.empty();
    draw(l.s.w, *v);
    outcome result = outcome::stay;
    while (result == outcome::stay) {
        dx_event e;
        dx_next_event(l.s.w, &e);
        switch (e.kind) {
        case dx_event::close: result = outcome::closed; break;
        case dx_event::key: result = run_key(&l, v, read_key(*v, e), e); break;
        case dx_event::press: result = on_press(&l, v, e); break;
        case dx_event::release: result = on_release(&l, v, e); break;
        default: break;
        }
        if (result == outcome::stay) draw(l.s.w, *v);
    }
    if (l.s.w) dx_close(l.s.w);
    return result == outcome::answered;
}

}  // namespace

bool chooser_window_save(const char* title, const char* default_path, int32_t count, const char* const* patterns,
                         const char* description, std::string* answer) {
    chooser_view v;
    v.model = chooser_file_start(chooser_kind::save, false, default_path, count, patterns, description);
    return run_chooser(&v, "filechooser", title, answer);
}

bool chooser_window_open(const char* title, const char* default_path, int32_t count, const char* const* patterns,
                         const char* description, int32_t several, std::string* answer) {
    chooser_view v;
    v.model = chooser_file_start(chooser_kind::open, several > 0, default_path, count, patterns, description);
    return run_chooser(&v, "filechooser", title, answer);
}

bool chooser_window_folder(const char* title, const char* default_path, std::string* answer) {
    chooser_view v;
    v.model = chooser_file_start(chooser_kind::folder, false, default_path, 0, nullptr, nullptr);
    v.label = "Folder:";
    return run_chooser(&v, "folderchooser", title, answer);
}
