// The dialog layer's settings by name, its lock, the environment read at start-up,
// the route choice and the back end of each route.
#include "dialog/dialog_layer.h"

#include <X11/Xlib.h>
#include <fontconfig/fontconfig.h>
#include <langinfo.h>
#include <unistd.h>

#include <clocale>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dialog/alert_box.h"
#include "dialog/ndlg.h"
#include "dialog/x11_backend.h"
#include "platform/alert.h"

namespace {

struct setting {
    const char* name;
    int32_t initial;
    std::atomic<int32_t> value;
};

setting settings[] = {
    {"ndlg_verbose", 0, {0}},      {"ndlg_silent", 1, {1}},
    {"ndlg_allowCursesDialogs", 0, {0}}, {"ndlg_forceConsole", 0, {0}},
    {"ndlg_assumeGraphicDisplay", 0, {0}}, {"ndlg_winUtf8", 1, {1}},
};

setting* find_setting(const char* name) {
    if (!name || !*name) return nullptr;
    for (setting& s : settings)
        if (strcmp(s.name, name) == 0) return &s;
    return nullptr;
}

int32_t value_of(const char* name) { return find_setting(name)->value.load(std::memory_order_relaxed); }

char response[1024];
const char needs[] = "Dialogs need a graphical display (DISPLAY); answering on the console.";
const char query_text[] = "";

// What start-up read; never destroyed (nothing runs at exit).
struct environment {
    std::string display, tmpdir, path;
};

environment& env() {
    static auto* e = new environment;
    return *e;
}
bool has_display = false, has_tmpdir = false, has_path = false, has_ssh_client = false;

dialog_backend backends[3];

void read_environment() {
    auto read = [](const char* name, std::string* value, bool* set) {
        const char* v = getenv(name);
        *set = v != nullptr;
        *value = v ? v : "";
    };
    std::string ssh;
    read("DISPLAY", &env().display, &has_display);
    read("TMPDIR", &env().tmpdir, &has_tmpdir);
    read("PATH", &env().path, &has_path);
    read("SSH_CLIENT", &ssh, &has_ssh_client);
}

bool terminal() { return isatty(0) || isatty(1); }

bool display_opens() {
    const dialog_backend& g = backends[int(dialog_route::graphic)];
    return !g.available || g.available();
}

bool curses_available() {
    const dialog_backend& c = backends[int(dialog_route::curses)];
    return c.available && c.available();
}

}  // namespace

std::recursive_mutex& dialog_lock() {
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

dialog_backend& dialog_backend_of(dialog_route route) { return backends[int(route)]; }

void dialog_locale_global_init() {
    const char* locale = setlocale(LC_CTYPE, "");
    if (!locale || strcmp(nl_langinfo(CODESET), "UTF-8") != 0) setlocale(LC_CTYPE, "C.UTF-8");
    XSetLocaleModifiers("");
    FcInit();
}

void dialog_global_init() {
    read_environment();
    backends[int(dialog_route::graphic)] = x11_backend();
}

void dialog_reset_for_tests() {
    for (setting& s : settings) s.value.store(s.initial);
    response[0] = 0;
    backends[int(dialog_route::curses)] = dialog_backend{};
    backends[int(dialog_route::basic)] = dialog_backend{};
    dialog_global_init();
    gui_alert_set_box(dialog_alert_box);  // as start-up leaves it
}

const char* dialog_env_display() { return has_display ? env().display.c_str() : nullptr; }
const char* dialog_env_tmpdir() { return has_tmpdir ? env().tmpdir.c_str() : nullptr; }
const char* dialog_env_path() { return has_path ? env().path.c_str() : nullptr; }

dialog_route dialog_route_rule(const dialog_route_inputs& in) {
    bool console = false;
    if (in.force_console && (in.has_terminal() || in.curses_available()))
        console = true;
    else if (in.ssh_client && !in.assume_graphic_display && !in.display_set)
        console = true;
    if (console) return in.curses_available() ? dialog_route::curses : dialog_route::basic;
    if (!in.display_set || !in.display_opens()) return dialog_route::basic;
    return dialog_route::graphic;
}

dialog_route dialog_choose_route() {
    dialog_route_inputs in{};
    in.force_console = value_of("ndlg_forceConsole") != 0;
    in.assume_graphic_display = value_of("ndlg_assumeGraphicDisplay") != 0;
    in.ssh_client = has_ssh_client;
    in.display_set = has_display && !env().display.empty();
    in.has_terminal = terminal;
    in.curses_available = curses_available;
    in.display_opens = display_opens;
    return dialog_route_rule(in);
}

const char* dialog_route_name(dialog_route route) {
    switch (route) {
    case dialog_route::graphic: return "windows";
    case dialog_route::curses: return "dialog";
    case dialog_route::basic: return "basicinput";
    }
    return "";
}

bool dialog_query(const char* title, dialog_route route) {
    if (!title || strcmp(title, "ndlg_query") != 0) return false;
    snprintf(response, sizeof response, "%s", dialog_route_name(route));
    return true;
}

void dialog_set_response(const char* text) { snprintf(response, sizeof response, "%s", text); }

const char* dialog_query_text() { return query_text; }

int32_t dialog_setting_win_utf8() { return value_of("ndlg_winUtf8"); }
int32_t dialog_setting_allow_curses() { return value_of("ndlg_allowCursesDialogs"); }
int32_t dialog_setting_force_console() { return value_of("ndlg_forceConsole"); }

extern "C" int32_t ndlg_getGlobalInt(const char* name) {
    setting* s = find_setting(name);
    return s ? s->value.load() : -1;
}

extern "C" int32_t ndlg_setGlobalInt(const char* name, int32_t value) {
    setting* s = find_setting(name);
    if (!s) return -1;
    s->value.store(value);
    return value;
}

extern "C" const char* ndlg_getGlobalChar(const char* name) {
    if (!name) return nullptr;
    if (strcmp(name, "ndlg_version") == 0) return "3.8.9";
    if (strcmp(name, "ndlg_needs") == 0) return needs;
    if (strcmp(name, "ndlg_response") == 0) return response;
    return nullptr;
}
