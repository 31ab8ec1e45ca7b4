// Inside the dialog layer: the lock, the route choice, the back end of each route,
// the settings and the text helpers that every operation shares.
//
// An operation takes dialog_lock(), chooses its route, answers a "ndlg_query" title
// with dialog_query(), turns its texts into UTF-8 with dialog_text_in(), and calls the
// route's back end. Back ends work in UTF-8 and answer owned strings.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>

#include "support/utf8.h"

// Serialises every call of the layer (alerts come from several threads). Recursive, so
// that a wrapper can hold it until it has copied an answer, and a chooser can ask its
// own message box.
std::recursive_mutex& dialog_lock();

enum class dialog_route : uint8_t { graphic, curses, basic };

// One way of asking. A null member answers as a cancelled dialog; a null available()
// means "not available" for the console routes and "available" for the graphic one.
struct dialog_backend {
    bool (*available)();
    int32_t (*message_box)(const char* title, const char* message, const char* type, const char* icon,
                           int32_t default_button);
    int32_t (*notify_popup)(const char* title, const char* message, const char* icon);
    // false: a null answer.
    bool (*input_box)(const char* title, const char* message, const char* default_text, std::string* answer);
    bool (*save_file)(const char* title, const char* default_path, int32_t pattern_count, const char* const* patterns,
                      const char* description, std::string* answer);
    bool (*open_file)(const char* title, const char* default_path, int32_t pattern_count, const char* const* patterns,
                      const char* description, int32_t allow_several, std::string* answer);
    bool (*select_folder)(const char* title, const char* default_path, std::string* answer);
    bool (*color_chooser)(const char* title, const char* default_hex, const uint8_t default_rgb[3],
                          uint8_t result_rgb[3], std::string* answer);
    // Rings; returns the milliseconds to wait once the lock is released.
    int32_t (*beep)();
};

// The table of each route, filled by the init functions before other threads start
// (the graphic route's message box, input box, notification and beep by
// dialog_global_init). Tests put a fake in place and restore with dialog_reset_for_tests.
dialog_backend& dialog_backend_of(dialog_route route);

// Before any thread: LC_CTYPE for the X input method (the user's locale when it is
// UTF-8, else C.UTF-8), the locale modifiers and fontconfig, so that neither Xlib nor
// fontconfig reads the environment on other threads later.
void dialog_locale_global_init();
// Reads DISPLAY, SSH_CLIENT, TMPDIR and PATH once and fills the graphic back end.
void dialog_global_init();
// Settings to their defaults, the environment read again, the graphic back end restored,
// the console back ends emptied and the alert box registered.
void dialog_reset_for_tests();

// What start-up read of the environment (null when unset).
const char* dialog_env_display();
const char* dialog_env_tmpdir();
const char* dialog_env_path();

// The rule, with the console routes' availability asked only when it matters:
// forceConsole with a terminal or the curses program -> console; a remote shell without
// a display (and assumeGraphicDisplay clear) -> console; no display, or one that does
// not open -> basic; else graphic. "Console" is curses when it is available, else basic.
struct dialog_route_inputs {
    bool force_console, assume_graphic_display;
    bool ssh_client, display_set;
    bool (*has_terminal)();
    bool (*curses_available)();
    bool (*display_opens)();
};
dialog_route dialog_route_rule(const dialog_route_inputs& in);
// The rule on the process's settings, environment and back ends.
dialog_route dialog_choose_route();
// The route's name as "ndlg_query" reports it: "windows", "dialog", "basicinput".
const char* dialog_route_name(dialog_route route);
// True when the title is "ndlg_query": the route's name goes into ndlg_response.
bool dialog_query(const char* title, dialog_route route);
// Puts a text into ndlg_response (the W twins' "windows_wchar").
void dialog_set_response(const char* text);
// What the text operations answer to a query on the graphic route: a static "".
const char* dialog_query_text();

// Settings, read directly.
int32_t dialog_setting_win_utf8();
int32_t dialog_setting_allow_curses();
int32_t dialog_setting_force_console();

// A text for the back ends: null stays null; valid UTF-8 (with ndlg_winUtf8 set) is
// kept, anything else is read as Windows-1252. max_units > 0 cuts at that many UTF-16
// units, never inside a character.
bool dialog_text_in(const char* text, std::string* out, int32_t max_units = 0);
// An answer for the caller: UTF-8 as it is, or Windows-1252 with ndlg_winUtf8 clear;
// cut to max_bytes (> 0) on a character boundary.
std::string dialog_text_out(const std::string& utf8, int32_t max_bytes = 0);

// Strict UTF-8 <-> UTF-16, and Windows-1252 (characters it lacks become '?').
bool utf8_to_utf16(const char* text, std::u16string* out);
bool utf16_to_utf8(const char16_t* text, std::string* out);
std::string cp1252_to_utf8(const char* text);
std::string utf8_to_cp1252(const std::string& utf8);
// The longest prefix of at most max_units UTF-16 units (or max_bytes bytes) that ends
// on a character boundary of valid UTF-8.
size_t utf8_cut_units(const std::string& utf8, size_t max_units);
size_t utf8_cut_bytes(const std::string& utf8, size_t max_bytes);
// Decodes one character of valid UTF-8 at *at and moves past it.
uint32_t utf8_next(const std::string& utf8, size_t* at);
// ASCII lower case, byte by byte.
std::string ascii_lower(const char* text);
