// showvalue: a debugging aid that shows a value in a box.
#include <string>

#include "lifecycle/diagnostics.h"
#include "number/number_text.h"
#include "platform/alert.h"

void showvalue(int64_t value) {
    std::string text(num_str(value).view());
    gui_alert(text.c_str(), "showvalue", "ok");
}
