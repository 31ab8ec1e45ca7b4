// gui_alert: until the native dialogs exist, title and text go to standard error
// and the box answers its default button.
#include "dialog/alert.h"

#include <atomic>
#include <cstdio>

namespace {

int32_t stderr_alert(const char* message, const char* title, const char*) {
    fprintf(stderr, "%s: %s\n", title ? title : "", message ? message : "");
    fflush(stderr);
    return 1;
}

std::atomic<gui_alert_fn> backend{stderr_alert};

}  // namespace

int32_t gui_alert(const char* message, const char* title, const char* kind) {
    return backend.load()(message, title, kind);
}

void gui_alert_set_backend(gui_alert_fn b) { backend.store(b ? b : stderr_alert); }
