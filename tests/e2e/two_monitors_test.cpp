// A desktop of two monitors (Xephyr with Xinerama, nested in the test's X server): the
// desktop a program sees is one monitor, and _SCREENMOVE _MIDDLE, a message box without
// an owner and a notification all go to it.
#include <gtest/gtest.h>
// After gtest, whose names Xlib's macros would hit.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "support/child.h"
#include "support/scenario.h"
#include "support/x11_probe.h"
#include "support/xephyr.h"

namespace {

struct rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const rect&) const = default;
};

std::ostream& operator<<(std::ostream& out, const rect& r) {
    return out << r.width << "x" << r.height << "+" << r.x << "+" << r.y;
}

struct found_window {
    unsigned long id = 0;
    rect area;
};

// The first viewable top-level window of the class; id 0 when none shows within 10 s.
found_window wait_for_class(Display* d, const char* window_class) {
    int64_t deadline = monotonic_ms() + 10000;
    do {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        found_window found;
        if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && !found.id; ++i) {
                XClassHint hint{};
                XWindowAttributes a;
                if (!XGetClassHint(d, children[i], &hint)) continue;
                if (strcmp(hint.res_class, window_class) == 0 && XGetWindowAttributes(d, children[i], &a) &&
                    a.map_state == IsViewable)
                    found = {children[i], {a.x, a.y, a.width, a.height}};
                XFree(hint.res_name);
                XFree(hint.res_class);
            }
            if (children) XFree(children);
        }
        if (found.id) return found;
        usleep(20000);
    } while (monotonic_ms() < deadline);
    return {};
}

// Makes a monitor of RandR 1.5 the primary one, as a desktop's settings can.
void set_primary_monitor(Display* d, const rect& r) {
    XRRMonitorInfo m{};
    m.name = XInternAtom(d, "ZV-PRIMARY", False);
    m.primary = True;
    m.x = r.x, m.y = r.y, m.width = r.width, m.height = r.height;
    m.mwidth = r.width / 4, m.mheight = r.height / 4;
    XRRSetMonitor(d, DefaultRootWindow(d), &m);
    XSync(d, False);
}

// One row's desktop: its server, the connection the test looks through, the program.
struct desktop_run {
    xephyr_server server;
    Display* display = nullptr;
    child_process program;
    ~desktop_run() {
        if (program.pid > 0) child_wait(program, 0);
        if (display) XCloseDisplay(display);
        xephyr_stop(server);
    }
};

class TwoMonitors : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/zv_monitors_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        const char* display = getenv("DISPLAY");
        host_display = display ? display : "";
    }
    void TearDown() override {
        setenv("DISPLAY", host_display.c_str(), 1);
        std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }
    std::string folder, host_display;
};

// Xephyr's RandR lists its first screen as the one monitor; a primary monitor set
// through RandR stands for a desktop whose settings chose another.
TEST_F(TwoMonitors, TheDesktopIsThePrimaryMonitor) {
    const struct {
        const char* what;
        std::vector<std::string> screens;
        rect primary;  // made RandR's primary monitor when it has a size
        rect desktop;
        int middle_x, middle_y;  // the 640 x 400 window after _SCREENMOVE _MIDDLE
    } rows[] = {
        {"one monitor", {"1920x1080"}, {}, {0, 0, 1920, 1080}, 640, 340},
        {"two equal monitors", {"1920x1080", "1920x1080"}, {}, {0, 0, 1920, 1080}, 640, 340},
        {"a smaller, then a larger monitor", {"1280x1024", "1920x1080"}, {}, {0, 0, 1280, 1024}, 320, 312},
        {"a larger, then a smaller monitor", {"1920x1080", "1280x1024"}, {}, {0, 0, 1920, 1080}, 640, 340},
        {"the second monitor made primary", {"1920x1080", "1280x1024"}, {1920, 0, 1280, 1024}, {1920, 0, 1280, 1024},
         2240, 312},
    };
    int n = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const rect& desk = r.desktop;
        desktop_run run;
        setenv("DISPLAY", host_display.c_str(), 1);
        run.server = xephyr_start(r.screens);
        ASSERT_FALSE(run.server.display.empty()) << "Xephyr did not start";
        // The program, the test's tools and its own connection all go to the new desktop.
        setenv("DISPLAY", run.server.display.c_str(), 1);
        run.display = XOpenDisplay(nullptr);
        ASSERT_NE(run.display, nullptr);
        if (r.primary.width) set_primary_monitor(run.display, r.primary);

        std::string out = folder + "/out" + std::to_string(++n);
        run.program = child_start({ZV_E2E_DESKTOP, out});
        std::vector<std::string> lines = wait_for_lines(out, 1, 10000);
        ASSERT_GE(lines.size(), 1u);
        EXPECT_EQ(lines[0], std::to_string(desk.width) + " " + std::to_string(desk.height));

        found_window note = wait_for_class(run.display, "ZvNotify");
        ASSERT_NE(note.id, 0u) << "no notification";
        const rect& a = note.area;
        EXPECT_TRUE(a.x >= desk.x && a.y >= desk.y && a.x + a.width <= desk.x + desk.width &&
                    a.y + a.height <= desk.y + desk.height && a.x + a.width > desk.x + desk.width - 64 &&
                    a.y + a.height > desk.y + desk.height - 64)
            << "notification " << a << " is not in the bottom-right corner of " << desk;

        found_window box = wait_for_class(run.display, "ZvDialog");
        ASSERT_NE(box.id, 0u) << "no message box";
        const rect& b = box.area;
        EXPECT_LE(std::abs(b.x + b.width / 2 - (desk.x + desk.width / 2)), 1) << "box " << b << " on " << desk;
        EXPECT_LE(std::abs(b.y + b.height / 2 - (desk.y + desk.height / 2)), 1) << "box " << b << " on " << desk;
        ASSERT_TRUE(x11_send_close(box.id));

        lines = wait_for_lines(out, 3, 10000);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[1], "1");  // the box's only answer
        EXPECT_EQ(lines[2], std::to_string(r.middle_x) + " " + std::to_string(r.middle_y));
        x11_window_info window = x11_wait_for_window("desktop", 5000);
        ASSERT_NE(window.id, 0u);
        int x = -1, y = -1;
        EXPECT_TRUE(x11_window_position(window.id, &x, &y));
        EXPECT_EQ(std::to_string(x) + " " + std::to_string(y), lines[2]);
        x11_send_close(window.id);
        EXPECT_EQ(child_wait(run.program, 5000), 0);
    }
}

}  // namespace
