// Keys typed into the window reach INKEY$ and _KEYDOWN; the window's title, its
// close request and Alt+F4.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/child.h"
#include "support/x11_probe.h"

namespace {

void xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    auto tool = child_start(args);
    ASSERT_EQ(child_wait(tool, 5000), 0) << args[1];
}

std::string xdotool_output(const std::vector<std::string>& args) {
    std::string command = "xdotool";
    for (const std::string& a : args) command += " '" + a + "'";
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, p)) out += buffer;
        pclose(p);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

std::vector<std::string> lines_of(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Waits until the file holds at least count lines.
std::vector<std::string> wait_for_lines(const std::string& path, size_t count, int timeout_ms = 5000) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    std::vector<std::string> lines = lines_of(path);
    while (lines.size() < count && monotonic_ms() < deadline) {
        usleep(20000);
        lines = lines_of(path);
    }
    return lines;
}

class KeysWindow : public ::testing::Test {
protected:
    void SetUp() override {
        out = ::testing::TempDir() + "keys_" + std::to_string(getpid()) + ".txt";
        unlink(out.c_str());
        setenv("ZV_KEYS_OUT", out.c_str(), 1);
        program = child_start({ZV_E2E_KEYS});
        window = x11_wait_for_window("keys", 10000);
        ASSERT_NE(window.id, 0u) << "no window titled keys";
        xdotool({"windowfocus", "--sync", std::to_string(window.id)});
    }
    void TearDown() override {
        if (program.pid > 0 && !ended) {
            x11_send_close(window.id);
            child_wait(program, 5000);
        }
        unlink(out.c_str());
    }

    std::string out;
    child_process program;
    x11_window_info window{};
    bool ended = false;
};

TEST_F(KeysWindow, TypedKeysReachInkey) {
    xdotool({"key", "--delay", "30", "a", "shift+a", "Return", "F1", "Left", "ctrl+c"});
    std::vector<std::string> keys;
    for (const std::string& line : wait_for_lines(out, 8))
        if (line.rfind("shift", 0) != 0) keys.push_back(line);
    EXPECT_EQ(keys, (std::vector<std::string>{"97", "65", "13", "0,59", "0,75", "3"}));
}

TEST_F(KeysWindow, KeydownReportsShiftWhileHeld) {
    xdotool({"keydown", "shift"});
    std::vector<std::string> lines = wait_for_lines(out, 1);
    usleep(200000);
    EXPECT_EQ(lines_of(out), (std::vector<std::string>{"shift down"}));
    xdotool({"keyup", "shift"});
    EXPECT_EQ(wait_for_lines(out, 2), (std::vector<std::string>{"shift down", "shift up"}));
}

TEST_F(KeysWindow, FocusLossReleasesAHeldKey) {
    xdotool({"keydown", "shift"});
    wait_for_lines(out, 1);
    // The focus goes elsewhere: the release will never reach the window.
    ASSERT_TRUE(x11_set_focus(0));
    EXPECT_EQ(wait_for_lines(out, 2), (std::vector<std::string>{"shift down", "shift up"}));
    xdotool({"keyup", "shift"});
}

TEST_F(KeysWindow, PauseParksTheProgramAndTheNextKeyOnlyResumesIt) {
    xdotool({"key", "Pause"});
    usleep(100000);
    xdotool({"key", "x"});
    xdotool({"key", "y"});
    EXPECT_EQ(wait_for_lines(out, 1), (std::vector<std::string>{"121"}));
}

TEST_F(KeysWindow, CtrlPauseIsBreakAndEndsTheProgramWithCode0) {
    xdotool({"key", "ctrl+Pause"});
    EXPECT_EQ(child_wait(program, 5000), 0);
    ended = true;
}

TEST_F(KeysWindow, TitleCanBeReadBackFromTheServer) {
    EXPECT_EQ(xdotool_output({"getwindowname", std::to_string(window.id)}), "keys");
}

TEST_F(KeysWindow, AltF4EndsTheProgramWithCode0) {
    xdotool({"key", "alt+F4"});
    EXPECT_EQ(child_wait(program, 5000), 0);
    ended = true;
}

TEST_F(KeysWindow, WindowDestroyedByAnotherClientIsACloseRequest) {
    ASSERT_TRUE(x11_destroy_window(window.id));
    EXPECT_EQ(child_wait(program, 5000), 0);
    ended = true;
}

TEST(TitleWindow, TitleSetBeforeTheWindowExistsNamesIt) {
    auto program = child_start({ZV_E2E_TITLE_HIDDEN});
    auto window = x11_wait_for_window("abc", 10000);
    ASSERT_NE(window.id, 0u) << "no window titled abc";
    EXPECT_TRUE(x11_send_close(window.id));
    EXPECT_EQ(child_wait(program, 5000), 0);
}

}  // namespace
