// Window and drawing primitives of the graphic dialogs: modal windows on the dialogs'
// own X connection (never freeglut's), Xft text, buttons and a one-line text field.
// The connection is opened on first use and kept: Xft and Xrender keep per-connection
// records that a closed connection would leave behind for the next one at its address.
//
// A dialog opens its window with dx_open (class "ZvDialog", instance by kind, the
// title in UTF-8, centred on the program's window, else on the desktop), draws into a
// back buffer between dx_begin and dx_end, and runs its own loop on dx_next_event until
// it has an answer. dx_close gives the focus back to the program's window when it had it.
// Caller holds dialog_lock(). No X error handler is installed: the layer makes no
// request that can fail on a window it does not own.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct dx_window;

// The dialogs' connection opens (it is opened once and kept).
bool dx_display_opens();
// Rings the bell with this pitch and duration, then puts the server's settings back.
bool dx_ring_bell(int32_t pitch, int32_t duration_ms);

// Null when the display does not open.
dx_window* dx_open(const char* instance, const std::string& title, int32_t width, int32_t height);
// The notification's window: class "ZvNotify", override-redirect (never focused, no
// frame), at the bottom right of the desktop. Shown with dx_show_unfocused.
dx_window* dx_open_notifier(const std::string& title, int32_t width, int32_t height);
void dx_show_unfocused(dx_window* w);
// Maps the window, waits until it shows and gives it the keyboard focus.
void dx_show(dx_window* w);
void dx_close(dx_window* w);
void dx_resize(dx_window* w, int32_t width, int32_t height);
int32_t dx_width(const dx_window* w);
int32_t dx_height(const dx_window* w);
// The screen's height in pixels, for boxes that grow with their text.
int32_t dx_screen_height(const dx_window* w);

struct dx_event {
    enum kind_t : uint8_t { none, key, press, release, motion, expose, close } kind = none;
    uint32_t keysym = 0;  // key: the X keysym
    uint32_t state = 0;   // key, press: the modifier state (ShiftMask 1, ControlMask 4)
    std::string text;     // key: the text typed, UTF-8
    int32_t x = 0, y = 0;
    int32_t button = 0;   // press, release: 1 left, 4 and 5 the wheel
    uint64_t time_ms = 0; // press: for double clicks
};
// Waits for the next event that concerns the dialog; events of other windows on the
// connection are dropped meanwhile, so a dialog redraws after a nested one closes (timeout_ms < 0: no limit; kind none
// when the time ran out).
void dx_next_event(dx_window* w, dx_event* e, int32_t timeout_ms = -1);

// Text metrics of the dialog font ("Arial-9") and its bold face.
int32_t dx_text_width(dx_window* w, const std::string& utf8, bool bold = false);
int32_t dx_line_height(dx_window* w);
// Splits a text at its line ends and wraps it at spaces (or anywhere in a long word).
std::vector<std::string> dx_wrap(dx_window* w, const std::string& utf8, int32_t width);

// Drawing into the back buffer; dx_end shows it.
void dx_begin(dx_window* w);
void dx_end(dx_window* w);
void dx_fill(dx_window* w, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb);
void dx_frame(dx_window* w, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb);
// y is the top of the line.
void dx_text(dx_window* w, int32_t x, int32_t y, const std::string& utf8, uint32_t rgb, bool bold = false);
void dx_fill_circle(dx_window* w, int32_t x, int32_t y, int32_t diameter, uint32_t rgb);
void dx_fill_triangle(dx_window* w, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                      uint32_t rgb);

// Colours of the dialogs.
// Modifier bits of dx_event::state.
constexpr uint32_t dx_shift = 1, dx_control = 4;

constexpr uint32_t dx_face = 0xF0F0F0, dx_ink = 0x000000, dx_shadow = 0xA0A0A0, dx_white = 0xFFFFFF,
                   dx_focus = 0x0078D7, dx_select = 0xCCE8FF;

struct dx_button {
    std::string label;
    int32_t x = 0, y = 0, width = 0, height = 0;
    bool contains(int32_t px, int32_t py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};
// Buttons of the usual size for the label, in the dialog font.
int32_t dx_button_width(dx_window* w, const std::string& label);
int32_t dx_button_height(dx_window* w);
void dx_draw_button(dx_window* w, const dx_button& b, bool focused);

// A one-line text field. text is UTF-8; cursor is a byte offset on a character boundary.
struct dx_field {
    std::string text;
    size_t cursor = 0;
    bool masked = false;       // drawn as one '*' per character
    size_t max_chars = 1024;   // characters it takes
    bool all_selected = false; // typing replaces the whole text
};
// Editing keys and typed text: Backspace, Delete, Home, End, Left, Right, printable
// text. True when the key was the field's.
bool dx_field_key(dx_field* f, const dx_event& e);
// Places the cursor at a click.
void dx_field_click(dx_window* w, dx_field* f, int32_t x_in_field);
void dx_draw_field(dx_window* w, const dx_field& f, int32_t x, int32_t y, int32_t width, int32_t height,
                   bool focused);
// The characters of a text (code points of valid UTF-8).
size_t dx_char_count(const std::string& utf8);
