// Which monitor is the desktop, from what the X server reports.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "platform/x11_desktop.h"

std::ostream& operator<<(std::ostream& out, const x11_rect& r) {
    return out << r.width << "x" << r.height << "+" << r.x << "+" << r.y;
}

namespace {

TEST(DesktopChoice, PrimaryThenOriginThenFirstThenXineramaThenScreen) {
    const x11_rect left{0, 0, 1920, 1080}, right{1920, 0, 1280, 1024}, lowered{0, 56, 1920, 1024},
        screen{0, 0, 3200, 1080};
    const struct {
        const char* what;
        std::vector<x11_monitor> monitors;
        std::vector<x11_rect> heads;
        x11_rect desktop;
    } cases[] = {
        {"RandR's primary, though another holds the origin", {{left, false}, {right, true}}, {left, right}, right},
        {"RandR's primary listed first", {{right, true}, {left, false}}, {}, right},
        {"no primary: the monitor at the origin, though listed second", {{right, false}, {left, false}}, {right}, left},
        {"no primary, none at the origin: the first", {{right, false}, {lowered, false}}, {left}, right},
        {"a single monitor", {{left, false}}, {}, left},
        {"no RandR monitors: the first Xinerama head, wherever it is", {}, {right, left}, right},
        {"nothing but the screen", {}, {}, screen},
    };
    for (const auto& c : cases) EXPECT_EQ(x11_choose_desktop(c.monitors, c.heads, screen), c.desktop) << c.what;
}

}  // namespace
