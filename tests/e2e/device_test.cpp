// Keys and the pointer reach the input devices through the window's native streams:
// _DEVICEINPUT takes their events in the order they happened.
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

class DevicesWindow : public ::testing::Test {
protected:
    void SetUp() override {
        out = ::testing::TempDir() + "devices_" + std::to_string(getpid()) + ".txt";
        unlink(out.c_str());
        setenv("ZV_DEVICES_OUT", out.c_str(), 1);
        program = child_start({ZV_E2E_DEVICES});
        window = x11_wait_for_window("devices", 10000);
        ASSERT_NE(window.id, 0u) << "no window titled devices";
        xdotool({"windowmove", "--sync", std::to_string(window.id), "0", "0"});
        xdotool({"windowfocus", "--sync", std::to_string(window.id)});
        ASSERT_EQ(wait_for_line(out, "ready").size(), 1u);
    }
    void TearDown() override {
        x11_send_close(window.id);
        child_wait(program, 5000);
        unlink(out.c_str());
    }

    std::string out;
    child_process program;
    x11_window_info window{};
};

TEST_F(DevicesWindow, KeyPressAndReleaseAreTwoKeyboardEvents) {
    xdotool({"key", "a"});
    std::vector<std::string> lines = wait_for_line(out, "key 31 1");
    EXPECT_EQ(lines, (std::vector<std::string>{"ready", "key 31 -1", "key 31 1"}));
}

TEST_F(DevicesWindow, EventsOfBothDevicesComeInOrder) {
    // The far corner of the 640 x 480 screen: both axes at 1.
    xdotool({"mousemove", "--window", std::to_string(window.id), "639", "479"});
    xdotool({"key", "b"});
    std::vector<std::string> lines = wait_for_line(out, "key 49 1");
    auto first_key = std::find(lines.begin(), lines.end(), "key 49 -1");
    auto corner = std::find(lines.begin(), lines.end(), "mouse 1.00 1.00");
    ASSERT_NE(first_key, lines.end());
    ASSERT_NE(corner, lines.end()) << ::testing::PrintToString(lines);
    EXPECT_LT(corner, first_key);
    xdotool({"click", "1"});
    lines = wait_for_line(out, "button 1 1");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "button 1 -1"), lines.end());
}

}  // namespace
