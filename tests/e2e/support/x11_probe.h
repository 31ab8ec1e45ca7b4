// Looks at the windows of the test's X server.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "x11_close.h"

struct x11_window_info {
    unsigned long id;
    std::string name;
    int width, height;
    bool mapped;
};

// Every top-level window with a name (the children of the root window).
std::vector<x11_window_info> x11_named_windows();
// Waits up to timeout_ms for a window with that name; id 0 when none appeared.
x11_window_info x11_wait_for_window(const std::string& name, int timeout_ms);
