// showvalue: a debugging aid that shows a value in a box.
#include <cstdio>

#include "core/diagnostics.h"
#include "dialog/alert.h"

void showvalue(int64_t value) {
    char text[24];
    snprintf(text, sizeof text, "% lld", static_cast<long long>(value));  // STR$: a space before 0 and up
    gui_alert(text, "showvalue", "ok");
}
