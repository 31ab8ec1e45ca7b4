// A desktop of several monitors for window tests: Xephyr with Xinerama, its screens
// side by side from the left, nested in the test's own X server.
#pragma once
#include <string>
#include <vector>

#include "support/child.h"

struct xephyr_server {
    child_process process;
    std::string display;  // ":n"; empty when the server did not start
};

// One screen per size ("1920x1080"); returns once the server takes clients.
xephyr_server xephyr_start(const std::vector<std::string>& screen_sizes);
void xephyr_stop(xephyr_server& server);
