// Keys typed into the window reach INKEY$ and _KEYDOWN; the window's title, its
// close request and Alt+F4.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/child.h"
#include "support/scenario.h"
#include "support/x11_probe.h"

namespace {

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
        if (line[0] >= '0' && line[0] <= '9') keys.push_back(line);
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

TEST_F(KeysWindow, LockStatesFollowTheSystem) {
    xdotool({"key", "Caps_Lock"});
    EXPECT_EQ(wait_for_lines(out, 1), (std::vector<std::string>{"caps on"}));
    xdotool({"key", "Caps_Lock"});
    EXPECT_EQ(wait_for_lines(out, 2).back(), "caps off");
    // X keeps no Scroll Lock state: the window's key flips the runtime's own.
    xdotool({"key", "Scroll_Lock"});
    EXPECT_EQ(wait_for_lines(out, 3).back(), "scroll on");
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

TEST_F(KeysWindow, AltEnterTogglesFullScreen) {
    auto size_of_keys = [] {
        for (auto& w : x11_named_windows())
            if (w.name == "keys") return std::pair{w.width, w.height};
        return std::pair{0, 0};
    };
    auto wait_for_size = [&](std::pair<int, int> wanted) {
        int64_t deadline = monotonic_ms() + 5000;
        while (size_of_keys() != wanted && monotonic_ms() < deadline) usleep(20000);
        return size_of_keys();
    };
    xdotool({"key", "alt+Return"});
    EXPECT_EQ(wait_for_size({1024, 768}), (std::pair{1024, 768}));
    // Stretched smooth, square pixels, square pixels smooth, then windowed again.
    for (int i = 0; i < 4; ++i) xdotool({"key", "alt+Return"});
    EXPECT_EQ(wait_for_size({640, 400}), (std::pair{640, 400}));
    EXPECT_TRUE(lines_of(out).empty());  // Alt+Enter reaches no buffer
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

// The key_events program: what INKEY$, _KEYHIT and the held set receive.
class KeyEventsWindow : public ::testing::Test {
protected:
    void SetUp() override { unsetenv("ZV_KEYS_INPUT"); }
    void start() {
        out = ::testing::TempDir() + "keyevents_" + std::to_string(getpid()) + ".txt";
        unlink(out.c_str());
        setenv("ZV_KEYS_OUT", out.c_str(), 1);
        program = child_start({ZV_E2E_KEY_EVENTS});
        window = x11_wait_for_window("keyevents", 10000);
        ASSERT_NE(window.id, 0u) << "no window titled keyevents";
        ASSERT_EQ(wait_for_line(out, "ready").size(), 1u);
        xdotool({"windowfocus", "--sync", std::to_string(window.id)});
    }
    void TearDown() override {
        unsetenv("ZV_KEYS_INPUT");
        if (program.pid > 0) {
            x11_send_close(window.id);
            child_wait(program, 5000);
        }
        unlink(out.c_str());
    }
    // Types x and waits until its release has been read and the held keys written
    // after it: every key typed before has been through the buffers by then.
    std::vector<std::string> finish() {
        xdotool({"key", "x"});
        int64_t deadline = monotonic_ms() + 8000;
        for (;;) {
            std::vector<std::string> lines = lines_of(out);
            auto release = std::find(lines.begin(), lines.end(), "hit -120");
            if (std::any_of(release, lines.end(), [](const std::string& l) { return l.rfind("held", 0) == 0; }) ||
                monotonic_ms() > deadline)
                return lines;
            usleep(20000);
        }
    }
    // The lines that start with the word, without it; _KEYHIT entries of the Shift
    // and Ctrl keys left out (the tool lets modifiers go in an order of its own).
    static std::vector<std::string> entries(const std::vector<std::string>& lines, const std::string& word) {
        std::vector<std::string> found;
        for (const std::string& line : lines) {
            if (line.rfind(word + " ", 0) != 0) continue;
            std::string rest = line.substr(word.size() + 1);
            if (word == "hit" && std::abs(std::stoi(rest)) / 100 == 1003) continue;
            found.push_back(rest);
        }
        return found;
    }
    // The held keys after the last change ("held" alone: none).
    static std::string last_held(const std::vector<std::string>& lines) {
        std::string held = "held";
        for (const std::string& line : lines)
            if (line.rfind("held", 0) == 0) held = line;
        return held;
    }

    std::string out;
    child_process program;
    x11_window_info window{};
};

TEST_F(KeyEventsWindow, ShiftTabIsTabWithShift) {
    start();
    // X names the key ISO_Left_Tab while Shift is held.
    xdotool({"key", "shift+Tab"});
    xdotool({"keydown", "shift"});
    xdotool({"key", "Tab"});
    xdotool({"keyup", "shift"});
    std::vector<std::string> lines = finish();
    EXPECT_EQ(entries(lines, "inkey"), (std::vector<std::string>{"0,15", "0,15", "120"}));
    EXPECT_EQ(entries(lines, "hit"), (std::vector<std::string>{"9", "-9", "9", "-9", "120", "-120"}));
    EXPECT_EQ(last_held(lines), "held");
}

TEST_F(KeyEventsWindow, CtrlEnterIsLineFeedAndLeavesNoKeyHeld) {
    start();
    xdotool({"key", "a", "shift+b", "Return", "ctrl+Return", "ctrl+Return"});
    std::vector<std::string> lines = finish();
    EXPECT_EQ(entries(lines, "inkey"), (std::vector<std::string>{"97", "66", "13", "10", "10", "120"}));
    EXPECT_EQ(entries(lines, "hit"), (std::vector<std::string>{"97", "-97", "66", "-66", "13", "-13", "13", "-13",
                                                                "13", "-13", "120", "-120"}));
    EXPECT_EQ(last_held(lines), "held");
}

TEST_F(KeyEventsWindow, CtrlEnterDoesNotEndAnInputLine) {
    setenv("ZV_KEYS_INPUT", "1", 1);
    start();
    xdotool({"key", "a", "b", "ctrl+Return", "c", "d", "Return"});
    std::vector<std::string> lines = wait_for_line(out, "line abcd");
    EXPECT_EQ(entries(lines, "line"), std::vector<std::string>{"abcd"});
    EXPECT_EQ(last_held(finish()), "held");
}

TEST_F(KeyEventsWindow, LetterLetGoAfterShiftLeavesNoKeyHeld) {
    start();
    xdotool({"keydown", "shift"});
    xdotool({"keydown", "a"});
    xdotool({"keyup", "shift"});
    xdotool({"keyup", "a"});
    std::vector<std::string> lines = finish();
    EXPECT_EQ(entries(lines, "inkey"), (std::vector<std::string>{"65", "120"}));
    // The release carries the code of the press.
    EXPECT_EQ(entries(lines, "hit"), (std::vector<std::string>{"65", "-65", "120", "-120"}));
    EXPECT_EQ(last_held(lines), "held");
}

TEST(KeyTrapWindow, OnKey1FiresOnF1AndTheKeyReachesNoBuffer) {
    std::string out = ::testing::TempDir() + "keytrap_" + std::to_string(getpid()) + ".txt";
    unlink(out.c_str());
    setenv("ZV_KEYS_OUT", out.c_str(), 1);
    auto program = child_start({ZV_E2E_KEY_TRAP});
    auto window = x11_wait_for_window("keytrap", 10000);
    ASSERT_NE(window.id, 0u);
    xdotool({"windowfocus", "--sync", std::to_string(window.id)});
    // One key at a time: a trap runs at the next statement boundary, so keys that
    // arrive together may be served in either order.
    xdotool({"key", "F1"});
    EXPECT_EQ(wait_for_lines(out, 1), (std::vector<std::string>{"F1 trapped"}));
    xdotool({"key", "F2"});
    EXPECT_EQ(wait_for_lines(out, 2), (std::vector<std::string>{"F1 trapped", "0,60"}));
    xdotool({"key", "F1"});
    EXPECT_EQ(wait_for_lines(out, 3), (std::vector<std::string>{"F1 trapped", "0,60", "F1 trapped"}));
    x11_send_close(window.id);
    EXPECT_EQ(child_wait(program, 5000), 0);
    unlink(out.c_str());
}

// A program whose standard output the test reads.
struct piped_program {
    child_process child;
    int fd = -1;
    std::string out;

    explicit piped_program(const char* path) {
        int pipe_fds[2];
        if (pipe(pipe_fds) != 0) return;
        int saved = dup(STDOUT_FILENO);
        dup2(pipe_fds[1], STDOUT_FILENO);
        child = child_start({path});
        dup2(saved, STDOUT_FILENO);
        close(saved);
        close(pipe_fds[1]);
        fd = pipe_fds[0];
    }
    ~piped_program() {
        if (fd >= 0) close(fd);
    }
    // Reads until the output holds the text (at most 5 s).
    void read_until(const std::string& text) {
        int64_t deadline = monotonic_ms() + 5000;
        char buffer[256];
        while (out.find(text) == std::string::npos && monotonic_ms() < deadline) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 50) != 1) continue;
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0) break;
            out.append(buffer, size_t(n));
        }
    }
};

TEST(ExitWindow, AltF4AndBreakAfterExitOnlySetTheRequests) {
    // The program reports the requests _EXIT returns.
    for (auto [keys, expected] : {std::pair{"alt+F4", "exit 1"}, {"ctrl+Pause", "exit 2"}}) {
        piped_program program(ZV_E2E_EXIT_REQUEST);
        auto window = x11_wait_for_window("Untitled", 10000);
        ASSERT_NE(window.id, 0u);
        program.read_until("blocked");
        xdotool({"windowfocus", "--sync", std::to_string(window.id)});
        xdotool({"key", keys});
        program.read_until("then");
        EXPECT_EQ(program.out, std::string("blocked 0\n") + expected + "\nthen 0\n") << keys;
        usleep(200000);
        // After END the next close request ends the program.
        x11_send_close(window.id);
        EXPECT_EQ(child_wait(program.child, 5000), 0) << keys;
        usleep(100000);  // the window is gone before the next program opens its own
    }
}

TEST(ExitWindow, DestroyedWindowAfterExitIsARequestAndTheProgramGoesOn) {
    piped_program program(ZV_E2E_EXIT_REQUEST);
    auto window = x11_wait_for_window("Untitled", 10000);
    ASSERT_NE(window.id, 0u);
    program.read_until("blocked");
    ASSERT_TRUE(x11_destroy_window(window.id));
    program.read_until("then");
    EXPECT_EQ(program.out, "blocked 0\nexit 1\nthen 0\n");
    // END now waits for a key that no window can deliver; the process lives on.
    usleep(300000);
    EXPECT_FALSE(child_wait(program.child, 0).has_value());
}

TEST(SleepWindow, KeyEndsSleepAndTheNextOneEndsTheProgramAfterEnd) {
    piped_program program(ZV_E2E_SLEEP_END);
    auto window = x11_wait_for_window("sleeper", 10000);
    ASSERT_NE(window.id, 0u);
    program.read_until("sleeping");
    xdotool({"windowfocus", "--sync", std::to_string(window.id)});
    usleep(200000);
    EXPECT_EQ(program.out, "sleeping\n");
    xdotool({"key", "a"});
    program.read_until("woke");
    EXPECT_EQ(program.out, "sleeping\nwoke\n");
    usleep(300000);
    int status = 0;
    EXPECT_EQ(waitpid(program.child.pid, &status, WNOHANG), 0) << "END did not wait for a key";
    xdotool({"key", "b"});
    EXPECT_EQ(child_wait(program.child, 5000), 0);
}

TEST(MoverWindow, ScreenMoveMiddleCentresTheWindowOnTheDesktop) {
    piped_program program(ZV_E2E_MOVER);
    auto window = x11_wait_for_window("mover", 10000);
    ASSERT_NE(window.id, 0u);
    program.read_until("\n");
    EXPECT_EQ(program.out, "192 184\n");
    int x = 0, y = 0;
    int64_t deadline = monotonic_ms() + 5000;
    while (monotonic_ms() < deadline && x11_window_position(window.id, &x, &y) && (x != 10 || y != 20))
        usleep(20000);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    x11_send_close(window.id);
    EXPECT_EQ(child_wait(program.child, 5000), 0);
}

TEST(TitleWindow, TitleSetBeforeTheWindowExistsNamesIt) {
    auto program = child_start({ZV_E2E_TITLE_HIDDEN});
    auto window = x11_wait_for_window("abc", 10000);
    ASSERT_NE(window.id, 0u) << "no window titled abc";
    EXPECT_TRUE(x11_send_close(window.id));
    EXPECT_EQ(child_wait(program, 5000), 0);
}

}  // namespace
