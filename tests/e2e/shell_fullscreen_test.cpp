// A waiting SHELL leaves full screen for the command's time and returns to it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "support/child.h"
#include "support/x11_probe.h"

namespace {

std::pair<int, int> size_of(const std::string& name) {
    for (auto& w : x11_named_windows())
        if (w.name == name) return {w.width, w.height};
    return {0, 0};
}

TEST(ShellFullScreen, TheWindowIsWindowedDuringTheCommandAndFullScreenAfter) {
    std::string out = ::testing::TempDir() + "shellfs_" + std::to_string(getpid()) + ".txt";
    unlink(out.c_str());
    unlink((out + ".running").c_str());
    setenv("ZV_SHELLFS_OUT", out.c_str(), 1);
    auto program = child_start({ZV_E2E_SHELL_FULLSCREEN});
    x11_window_info window = x11_wait_for_window("shellfs", 10000);
    ASSERT_NE(window.id, 0u);

    int64_t deadline = monotonic_ms() + 10000;
    while (access((out + ".running").c_str(), F_OK) != 0 && monotonic_ms() < deadline) usleep(10000);
    ASSERT_EQ(access((out + ".running").c_str(), F_OK), 0);
    // The command sleeps for a second: the window is windowed at some point of it
    // (the window thread may take a while to get there on a loaded machine).
    std::pair<int, int> during{0, 0};
    while (access(out.c_str(), F_OK) != 0 && monotonic_ms() < deadline) {
        during = size_of("shellfs");
        if (during == std::pair{640, 400}) break;
        usleep(10000);
    }
    EXPECT_EQ(during, (std::pair{640, 400}));

    while (access(out.c_str(), F_OK) != 0 && monotonic_ms() < deadline) usleep(10000);
    std::ifstream in(out);
    int mode = 0;
    in >> mode;
    EXPECT_NE(mode, 0);
    deadline = monotonic_ms() + 5000;
    while (size_of("shellfs") != std::pair{1024, 768} && monotonic_ms() < deadline) usleep(20000);
    EXPECT_EQ(size_of("shellfs"), (std::pair{1024, 768}));

    ASSERT_TRUE(x11_send_close(window.id));
    EXPECT_EQ(child_wait(program, 5000), 0);
    unlink(out.c_str());
    unlink((out + ".running").c_str());
}

}  // namespace
