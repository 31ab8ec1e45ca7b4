// The console routes' back-end tables: each operation of the layer as a curses or a
// basic console question.
#include "dialog/console_backend.h"

#include <string>

#include "dialog/console_dialog.h"
#include "dialog/curses_dialog.h"
#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"

namespace {

console_settings settings_now() {
    console_settings s;
    s.win_utf8 = dialog_setting_win_utf8() != 0;
    s.force_console = dialog_setting_force_console() != 0;
    const char* needs = ndlg_getGlobalChar("ndlg_needs");
    s.needs = needs ? needs : "";
    return s;
}

// Basic route.
bool basic_available() { return true; }
int32_t basic_message_box(const char* title, const char* message, const char* type, const char*,
                          int32_t default_button) {
    return console_basic_message_box(settings_now(), title, message, type, default_button);
}
int32_t basic_notify(const char* title, const char* message, const char*) {
    return console_basic_message_box(settings_now(), title, message, "ok", 0);
}
bool basic_input_box(const char* title, const char* message, const char* default_text, std::string* answer) {
    return console_basic_input_box(settings_now(), title, message, default_text, answer);
}
bool basic_save(const char* title, const char*, int32_t, const char* const*, const char*, std::string* answer) {
    return console_basic_path(settings_now(), "Save file in ", title, answer);
}
bool basic_open(const char* title, const char*, int32_t, const char* const*, const char*, int32_t,
                std::string* answer) {
    return console_basic_path(settings_now(), "Open file from ", title, answer);
}
bool basic_folder(const char* title, const char*, std::string* answer) {
    return console_basic_path(settings_now(), "Select folder from ", title, answer);
}
bool basic_colour(const char* title, const char* default_hex, const uint8_t default_rgb[3], uint8_t result_rgb[3],
                  std::string* answer) {
    return console_colour_chooser(basic_input_box, title, default_hex, default_rgb, result_rgb, answer);
}

// Curses route.
bool curses_message_available() { return tfd_findCursesDialogExe(); }
int32_t curses_box(const char* title, const char* message, const char* type, const char*, int32_t default_button) {
    return curses_message_box(title, message, type, default_button);
}
int32_t curses_notify(const char* title, const char* message, const char*) {
    return curses_message_box(title, message, "ok", 0);
}
bool curses_save(const char* title, const char* path, int32_t, const char* const*, const char*, std::string* answer) {
    return curses_chooser(title, path, false, answer);
}
bool curses_open(const char* title, const char* path, int32_t, const char* const*, const char*, int32_t,
                 std::string* answer) {
    return curses_chooser(title, path, false, answer);
}
bool curses_folder(const char* title, const char* path, std::string* answer) {
    return curses_chooser(title, path, true, answer);
}
bool curses_colour(const char* title, const char* default_hex, const uint8_t default_rgb[3], uint8_t result_rgb[3],
                   std::string* answer) {
    return console_colour_chooser(curses_input_box, title, default_hex, default_rgb, result_rgb, answer);
}

}  // namespace

void console_dialog_global_init() {
    dialog_backend basic{};
    basic.available = basic_available;
    basic.message_box = basic_message_box;
    basic.notify_popup = basic_notify;
    basic.input_box = basic_input_box;
    basic.save_file = basic_save;
    basic.open_file = basic_open;
    basic.select_folder = basic_folder;
    basic.color_chooser = basic_colour;
    dialog_backend_of(dialog_route::basic) = basic;

    dialog_backend curses{};
    curses.available = curses_message_available;
    curses.message_box = curses_box;
    curses.notify_popup = curses_notify;
    curses.input_box = curses_input_box;
    curses.save_file = curses_save;
    curses.open_file = curses_open;
    curses.select_folder = curses_folder;
    curses.color_chooser = curses_colour;
    dialog_backend_of(dialog_route::curses) = curses;
}

bool tfd_findCursesDialogExe() {
    if (!dialog_setting_allow_curses()) return false;
    if (!curses_dialog_configured()) curses_dialog_configure(dialog_env_path(), dialog_env_tmpdir());
    return !curses_dialog_program().empty();
}
