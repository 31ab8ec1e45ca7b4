// Window controls on an X server without a window manager: full screen after a
// move, an empty title given before the window exists, the keyboard focus of two
// programs, and _SCREENX and _SCREENY as the window is moved and resized. The
// window's place through moves, full screen, hide and show, both without a window
// manager and under openbox.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/child.h"
#include "support/scenario.h"
#include "support/x11_capture.h"
#include "support/x11_probe.h"

namespace {

struct geometry {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const geometry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const geometry& g) {
    return out << g.width << "x" << g.height << " at (" << g.x << ", " << g.y << ")";
}

geometry geometry_of(unsigned long window) {
    geometry g;
    x11_window_position(window, &g.x, &g.y);
    x11_window_size(window, &g.width, &g.height);
    return g;
}

// Polls until the condition holds or the time is up; the condition's last answer.
bool eventually(const std::function<bool()>& condition, int timeout_ms = 5000) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    for (;;) {
        if (condition()) return true;
        if (monotonic_ms() > deadline) return false;
        usleep(20000);
    }
}

class WindowControls : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/zv_controls_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override {
        for (auto& [program, window] : programs) {
            if (window) x11_send_close(window);
            child_wait(program, 5000);
        }
        std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }

    // Starts a scenario of the test program and waits for its window.
    unsigned long start(const std::string& scenario, const std::string& title) {
        programs.push_back({child_start({ZV_E2E_WINDOW_CONTROLS, scenario, folder, title}), 0});
        programs.back().second = x11_wait_for_window(title, 10000).id;
        return programs.back().second;
    }

    bool reached(int32_t n) {
        struct stat st;
        std::string ready = folder + "/ready" + std::to_string(n);
        return eventually([&] { return stat(ready.c_str(), &st) == 0; }, 10000);
    }
    void go(int32_t n) {
        if (FILE* f = fopen((folder + "/go" + std::to_string(n)).c_str(), "w")) fclose(f);
    }

    // The last answer of a focus or place program; "" before its first.
    std::string answer(const std::string& title) {
        auto lines = lines_of(folder + "/" + title);
        return lines.empty() ? "" : lines.back();
    }

    std::string folder;
    std::vector<std::pair<child_process, unsigned long>> programs;
};

TEST_F(WindowControls, FullScreenAfterAMoveCoversTheDesktopFromTheOrigin) {
    unsigned long window = start("move_full", "move_full");
    ASSERT_NE(window, 0u);
    const geometry moved{200, 100, 640, 400}, desktop{0, 0, 1024, 768};
    ASSERT_TRUE(reached(1));
    EXPECT_TRUE(eventually([&] { return geometry_of(window) == moved; })) << geometry_of(window);
    go(1);
    EXPECT_TRUE(eventually([&] { return geometry_of(window) == desktop; })) << geometry_of(window);
    ASSERT_TRUE(reached(2));
    // Leaving full screen gives back the place and size from before.
    go(2);
    EXPECT_TRUE(eventually([&] { return geometry_of(window) == moved; })) << geometry_of(window);
}

TEST_F(WindowControls, EmptyTitleOfAHiddenProgramStaysEmpty) {
    auto program = child_start({ZV_E2E_TITLE_HIDDEN, "empty"});
    unsigned long window = x11_wait_for_any_window(10000);
    programs.push_back({program, window});
    ASSERT_NE(window, 0u);
    std::string name = "?";
    ASSERT_TRUE(x11_window_name(window, &name)) << "the window has no WM_NAME";
    EXPECT_EQ(name, "");
}

// The X server's default focus follows the pointer; the second window opens on top,
// under it.
TEST_F(WindowControls, OfTwoProgramsOnlyTheOneWithTheKeyboardFocusHasIt) {
    ASSERT_TRUE(x11_move_pointer(100, 100));
    unsigned long first = start("focus", "first");
    ASSERT_NE(first, 0u);
    EXPECT_TRUE(eventually([&] { return answer("first") == "-1"; })) << answer("first");
    unsigned long second = start("focus", "second");
    ASSERT_NE(second, 0u);
    auto answers = [&] { return answer("first") + " " + answer("second"); };
    EXPECT_TRUE(eventually([&] { return answers() == "0 -1"; })) << answers();
    ASSERT_TRUE(x11_set_focus(first));
    EXPECT_TRUE(eventually([&] { return answers() == "-1 0"; })) << answers();
}

// The window thread reads the window's place only when something may have moved it:
// every move, whoever makes it, still reaches _SCREENX and _SCREENY.
TEST_F(WindowControls, ScreenXAndYFollowEveryMoveAndResize) {
    unsigned long window = start("place", "place");
    ASSERT_NE(window, 0u);
    struct row {
        const char* what;
        std::function<void()> act;
        int x, y;  // where the window stands, and what the program reads
    };
    const row rows[] = {
        {"its own _SCREENMOVE at the start", [] {}, 200, 100},
        {"moved by another client", [&] { ASSERT_TRUE(xdotool_move(window, 300, 250)); }, 300, 250},
        {"resized by another client (and snapped back)",
         [&] { ASSERT_TRUE(xdotool_resize(window, 800, 500)); }, 300, 250},
        {"moved by another client after quiet frames",
         [&] {
             usleep(300000);
             ASSERT_TRUE(xdotool_move(window, 120, 90));
         },
         120, 90},
        {"its own _SCREENMOVE after quiet frames", [&] { go(1); }, 50, 60},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        r.act();
        std::string expected = std::to_string(r.x) + " " + std::to_string(r.y);
        EXPECT_TRUE(eventually([&] {
            geometry g = geometry_of(window);
            return g.x == r.x && g.y == r.y;
        })) << geometry_of(window);
        EXPECT_TRUE(eventually([&] { return answer("place") == expected; })) << answer("place");
    }
}

// The window manager on the test's X server.
enum class manager { none, openbox };

void PrintTo(manager m, std::ostream* out) { *out << (m == manager::none ? "none" : "openbox"); }

// The window's place as the program moves it, another client moves it, full screen
// comes and goes, and the window is hidden and shown: the frame's corner on the X
// server and what _SCREENX and _SCREENY answer are the place asked for.
class WindowPlace : public WindowControls, public ::testing::WithParamInterface<manager> {
protected:
    void SetUp() override {
        WindowControls::SetUp();
        if (GetParam() == manager::openbox) {
            // Its log and settings go to a folder of its own, not to the user's.
            char name[] = "/tmp/zv_openbox_XXXXXX";
            ASSERT_NE(mkdtemp(name), nullptr);
            openbox_folder = name;
            openbox = child_start({"env", "XDG_CACHE_HOME=" + openbox_folder, "XDG_CONFIG_HOME=" + openbox_folder,
                                   "openbox", "--sm-disable"});
            ASSERT_GT(openbox.pid, 0);
            ASSERT_TRUE(eventually(x11_window_manager_running, 10000)) << "openbox did not start";
        }
    }
    void TearDown() override {
        WindowControls::TearDown();
        if (openbox.pid > 0) {
            kill(openbox.pid, SIGTERM);
            child_wait(openbox, 5000);
        }
        if (!openbox_folder.empty()) {
            std::string command = "rm -rf '" + openbox_folder + "'";
            EXPECT_EQ(system(command.c_str()), 0);
        }
    }

    unsigned long start_steps() {
        programs.push_back({child_start({ZV_E2E_WINDOW_CONTROLS, "steps", folder, "steps"}), 0});
        programs.back().second = x11_wait_for_framed_window("steps", 10000);
        return programs.back().second;
    }
    // The program's next command, written whole.
    void command(const std::string& text) {
        std::string path = folder + "/command" + std::to_string(++commands), part = path + ".part";
        if (FILE* f = fopen(part.c_str(), "w")) {
            fprintf(f, "%s\n", text.c_str());
            fclose(f);
        }
        ASSERT_EQ(rename(part.c_str(), path.c_str()), 0);
    }

    child_process openbox;
    std::string openbox_folder;
    int commands = 0;
};

struct place_row {
    const char* what;
    std::function<void()> act;
    int x, y;    // the frame's outer corner, and what _SCREENX and _SCREENY answer
    bool shown;  // the window is mapped (_SCREENHIDE 0)
};

std::string frame_of(unsigned long window) {
    int x = 0, y = 0;
    if (!x11_frame_position(window, &x, &y)) return "none";
    return std::to_string(x) + " " + std::to_string(y) + (x11_window_viewable(window) ? " shown" : " hidden");
}

TEST_P(WindowPlace, FrameAndScreenXYFollowMovesFullScreenHideAndShow) {
    unsigned long window = start_steps();
    ASSERT_NE(window, 0u);
    auto says = [this](const char* text) { return [this, text] { command(text); }; };
    // 640 x 400 on 1024 x 768: _MIDDLE puts the frame's corner at (192, 184).
    const place_row rows[] = {
        {"_SCREENMOVE 100, 80", says("move 100 80"), 100, 80, true},
        {"_SCREENMOVE 220, 160", says("move 220 160"), 220, 160, true},
        {"_SCREENMOVE _MIDDLE", says("middle"), 192, 184, true},
        {"moved by another client", [&] { ASSERT_TRUE(xdotool_move(window, 300, 250)); }, 300, 250, true},
        {"_FULLSCREEN", says("full"), 0, 0, true},
        {"_FULLSCREEN _OFF", says("windowed"), 300, 250, true},
        {"_SCREENHIDE", says("hide"), 300, 250, false},
        {"_SCREENSHOW", says("show"), 300, 250, true},
        {"_SCREENHIDE again", says("hide"), 300, 250, false},
        {"_SCREENMOVE 140, 120 while hidden", says("move 140 120"), 140, 120, false},
        {"_SCREENSHOW after the move", says("show"), 140, 120, true},
    };
    for (const place_row& r : rows) {
        SCOPED_TRACE(r.what);
        r.act();
        std::string frame = std::to_string(r.x) + " " + std::to_string(r.y) + (r.shown ? " shown" : " hidden");
        std::string answer = std::to_string(commands) + " " + std::to_string(r.x) + " " + std::to_string(r.y) +
                             (r.shown ? " 0" : " -1");
        EXPECT_TRUE(eventually([&] { return frame_of(window) == frame; }))
            << "frame on the server: " << frame_of(window);
        EXPECT_TRUE(eventually([&] { return WindowControls::answer("steps") == answer; }))
            << "commands run, _SCREENX, _SCREENY, _SCREENHIDE: " << WindowControls::answer("steps");
    }
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, WindowPlace, ::testing::Values(manager::none, manager::openbox),
                         [](const ::testing::TestParamInfo<manager>& info) {
                             return info.param == manager::none ? std::string("NoWindowManager")
                                                                : std::string("Openbox");
                         });

}  // namespace
