// The pointer moved by _MOUSEMOVE and by xdotool reaches _MOUSEINPUT, _MOUSEX,
// _MOUSEY and _MOUSEBUTTON in screen coordinates; relative motion reaches
// _MOUSEMOVEMENTX and _MOUSEMOVEMENTY.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "support/child.h"
#include "support/scenario.h"
#include "support/x11_probe.h"

namespace {

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(MouseWindow, MoveAndClickReachTheMouseFunctions) {
    std::string out = ::testing::TempDir() + "mouse_" + std::to_string(getpid()) + ".txt";
    unlink(out.c_str());
    setenv("ZV_MOUSE_OUT", out.c_str(), 1);
    child_process program = child_start({ZV_E2E_MOUSE});
    x11_window_info window = x11_wait_for_window("mouse", 10000);
    ASSERT_NE(window.id, 0u) << "no window titled mouse";
    xdotool({"windowmove", "--sync", std::to_string(window.id), "0", "0"});

    std::vector<std::string> lines = wait_for_line(out, "100,50,0");
    EXPECT_TRUE(has(lines, "100,50,0")) << "no pointer at _MOUSEMOVE's place";

    xdotool({"mousemove", "--window", std::to_string(window.id), "200", "150"});
    lines = wait_for_line(out, "200,150,0");
    EXPECT_TRUE(has(lines, "200,150,0"));
    xdotool({"click", "1"});
    lines = wait_for_line(out, "200,150,1");
    EXPECT_TRUE(has(lines, "200,150,1"));
    // Pressed then released: the last line is the release.
    int64_t deadline = monotonic_ms() + 5000;
    while (lines.back() != "200,150,0" && monotonic_ms() < deadline) {
        usleep(20000);
        lines = lines_of(out);
    }
    EXPECT_EQ(lines.back(), "200,150,0");

    // Relative motion comes from the raw pointer events beside the absolute ones.
    xdotool({"mousemove_relative", "--", "7", "-3"});
    lines = wait_for_line(out, "move 7,-3");
    EXPECT_TRUE(has(lines, "move 7,-3"));

    x11_send_close(window.id);
    child_wait(program, 5000);
    unlink(out.c_str());
}

}  // namespace
