// _SCREENCLICK and _SCREENPRINT inject real input: a window of the test's own
// receives the clicks and the typed keys through the X server.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "input/screen_click.h"
#include "input/screen_print.h"
#include "platform/x11_desktop.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"
#include "support/child.h"

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

}  // namespace
