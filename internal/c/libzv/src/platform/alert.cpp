// gui_alert: the runtime's own message boxes, shown by the box registered at start-up.
#include "platform/alert.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<gui_alert_fn> box{gui_alert_to_stderr};
// A test's replacement of the box; nullptr: the box.
std::atomic<gui_alert_fn> backend{nullptr};

gui_alert_fn current() {
    gui_alert_fn replaced = backend.load();
    return replaced ? replaced : box.load();
}

// The length without a UTF-8 sequence that the end cuts short.
size_t without_partial_character(const char* text, size_t n) {
    for (size_t back = 1; back <= 3 && back <= n; ++back) {
        uint8_t c = uint8_t(text[n - back]);
        if ((c & 0xC0) == 0x80) continue;
        size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return need > back ? n - back : n;
    }
    return n;
}

}  // namespace

int32_t gui_alert_to_stderr(const char* message, const char* title, const char*) {
    fprintf(stderr, "%s: %s\n", title ? title : "", message ? message : "");
    fflush(stderr);
    return 1;
}

int32_t gui_alert(const char* message, const char* title, const char* kind) {
    return current()(message, title, kind);
}

bool gui_alert(const char* format, ...) {
    if (!format) return false;
    size_t size = strlen(format) * 2 + 255;
    char* text = static_cast<char*>(malloc(size));
    if (!text) return false;
    va_list values;
    va_start(values, format);
    int n = vsnprintf(text, size, format, values);
    va_end(values);
    bool shown = n >= 0;
    if (shown) {
        // A cut text loses the partial character at its end.
        if (size_t(n) >= size) text[without_partial_character(text, strlen(text))] = 0;
        current()(text, "Alert", "ok");
    }
    free(text);
    return shown;
}

void gui_alert_set_box(gui_alert_fn b) { box.store(b ? b : gui_alert_to_stderr); }

void gui_alert_set_backend(gui_alert_fn b) { backend.store(b); }
