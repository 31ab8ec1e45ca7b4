// The dialogs' line height, for tests that find lines and rows in a dialog's picture.
#pragma once
#include <cstdint>
#include <mutex>

#include "dialog/dialog_layer.h"
#include "dialog/x11_dialog.h"

// 0 when no dialog window opens.
inline int32_t dialog_line_height() {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    dx_window* w = dx_open("measure", "Measure", 100, 100);
    if (!w) return 0;
    int32_t line = dx_line_height(w);
    dx_close(w);
    return line;
}
