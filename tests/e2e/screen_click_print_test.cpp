// _SCREENCLICK and _SCREENPRINT inject real input: a window of the test's own
// receives the clicks and the typed keys through the X server, and the pointer is
// read back where a click left it.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "input/screen_click.h"
#include "input/screen_print.h"
#include "platform/x11_desktop.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"
#include "support/child.h"
#include "support/x11_probe.h"

namespace {

class InjectedInput : public ::testing::Test {
protected:
    Display* display = nullptr;
    Window window = 0;

    void SetUp() override {
        zvs_reset_for_tests(1048576, 65536, 65536);
        x11_desktop_global_init();
        ASSERT_TRUE(x11_desktop_available());
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 300, 200, 0, 0, 0);
        XSelectInput(display, window,
                     KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask | PointerMotionMask);
        XMapWindow(display, window);
        for (XEvent e;;) {
            XNextEvent(display, &e);
            if (e.type == MapNotify) break;
        }
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
    }
    void TearDown() override {
        if (display) XCloseDisplay(display);
    }

    // The events that arrive within a short while, as text: a key press as its
    // characters (or its keysym's name when it has none), modifiers left out.
    std::vector<std::string> received(size_t wanted) {
        std::vector<std::string> out;
        int64_t deadline = monotonic_ms() + 3000;
        while (out.size() < wanted && monotonic_ms() < deadline) {
            if (!XPending(display)) {
                usleep(5000);
                continue;
            }
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == KeyPress) {
                char chars[16];
                KeySym sym = NoSymbol;
                int n = XLookupString(&e.xkey, chars, sizeof chars, &sym, nullptr);
                if (sym == XK_Shift_L || sym == XK_Control_L) continue;
                out.push_back(n > 0 ? std::string(chars, size_t(n)) : std::string(XKeysymToString(sym)));
            } else if (e.type == ButtonPress || e.type == ButtonRelease) {
                out.push_back(std::string(e.type == ButtonPress ? "press " : "release ") +
                              std::to_string(e.xbutton.button) + " at " + std::to_string(e.xbutton.x) + "," +
                              std::to_string(e.xbutton.y));
            }
        }
        return out;
    }
    static zvs* text(const std::string& s) { return zvs_new_txt_len(s.data(), int32_t(s.size())); }
};

using strings = std::vector<std::string>;

TEST_F(InjectedInput, TypedTextArrivesAsItsKeys) {
    sub__screenprint(text(std::string("A\0K\r\x01", 5) + "b!"));
    EXPECT_EQ(received(6), (strings{"A", "Left", "\r", "\x01", "b", "!"}));
    sub__screenprint(text(std::string("\xc8\0", 2)));
    sub__screenprint(text("z"));  // a marker: nothing came before it
    EXPECT_EQ(received(1), strings{"z"});
}

TEST_F(InjectedInput, ClicksArriveAtTheDesktopPosition) {
    sub__screenclick(50, 40, 0, 0);
    EXPECT_EQ(received(2), (strings{"press 1 at 50,40", "release 1 at 50,40"}));
    sub__screenclick(60, 30, 2, 1);
    EXPECT_EQ(received(2), (strings{"press 3 at 60,30", "release 3 at 60,30"}));
}

// X carries pointer positions in 16 bits: a click past the desktop's edge, however
// far, lands on that edge (the desktop is 1024 x 768), where the pointer stays.
TEST(ScreenClickEdges, APositionPastAnEdgeClicksAtThatEdge) {
    x11_desktop_global_init();
    ASSERT_TRUE(x11_desktop_available());
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    struct {
        int32_t x, y, at_x, at_y;
    } cases[] = {
        {40000, 10, 1023, 10},    {-40000, 10, 0, 10},   {65636, 100, 1023, 100},
        {10, 40000, 10, 767},     {10, -40000, 10, 0},   {100000, -100000, 1023, 0},
        {50, 40, 50, 40},
    };
    for (const auto& c : cases) {
        sub__screenclick(c.x, c.y, 0, 0);
        Window root, child;
        int x = -1, y = -1, wx, wy;
        unsigned mask;
        ASSERT_TRUE(XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask));
        EXPECT_EQ(x, c.at_x) << c.x << "," << c.y;
        EXPECT_EQ(y, c.at_y) << c.x << "," << c.y;
    }
    XCloseDisplay(display);
}

// The runtime's own window: typed text reaches INKEY$ as the keys it stands for.
TEST(InjectedInputToProgram, ScreenprintReachesInkeyOfTheFocusedProgram) {
    zvs_reset_for_tests(1048576, 65536, 65536);
    x11_desktop_global_init();
    std::string out = ::testing::TempDir() + "screenprint_" + std::to_string(getpid()) + ".txt";
    unlink(out.c_str());
    setenv("ZV_KEYS_OUT", out.c_str(), 1);
    auto program = child_start({ZV_E2E_KEYS});
    x11_window_info window = x11_wait_for_window("keys", 10000);
    ASSERT_NE(window.id, 0u);
    auto focus = child_start({"xdotool", "windowfocus", "--sync", std::to_string(window.id)});
    ASSERT_EQ(child_wait(focus, 5000), 0);

    sub__screenprint(zvs_new_txt_len("A\0K\r\x01", 5));
    sub__screenprint(zvs_new_txt_len("\xc8\0", 2));  // nothing
    sub__screenprint(zvs_new_txt("z"));
    std::vector<std::string> keys;
    int64_t deadline = monotonic_ms() + 5000;
    while (keys.size() < 5 && monotonic_ms() < deadline) {
        usleep(20000);
        keys.clear();
        std::ifstream in(out);
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && line[0] >= '0' && line[0] <= '9') keys.push_back(line);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"65", "0,75", "13", "1", "122"}));
    x11_send_close(window.id);
    EXPECT_EQ(child_wait(program, 5000), 0);
    unlink(out.c_str());
}

}  // namespace
