// The window appears, its close request ends the process, and start-up without a
// usable display ends with code 1.
#include <gtest/gtest.h>

#include <string>

#include "support/child.h"
#include "support/x11_probe.h"

namespace {

void send_close(unsigned long window) {
    auto tool = child_start({ZV_SEND_CLOSE, std::to_string(window)});
    ASSERT_EQ(child_wait(tool, 5000), 0);
}

TEST(WindowStart, UntitledWindowOf640By400Appears) {
    auto program = child_start({ZV_E2E_WAIT});
    auto window = x11_wait_for_window("Untitled", 10000);
    ASSERT_NE(window.id, 0u) << "no window named Untitled";
    EXPECT_EQ(window.width, 640);
    EXPECT_EQ(window.height, 400);
    send_close(window.id);
    EXPECT_EQ(child_wait(program, 5000), 0);
}

TEST(WindowStart, CloseRequestEndsTheProcessWithCode0Within200ms) {
    auto program = child_start({ZV_E2E_WAIT});
    auto window = x11_wait_for_window("Untitled", 10000);
    ASSERT_NE(window.id, 0u);
    int64_t sent = monotonic_ms();
    ASSERT_TRUE(x11_send_close(window.id));
    auto rc = child_wait(program, 5000);
    int64_t took = monotonic_ms() - sent;
    ASSERT_TRUE(rc.has_value()) << "still running 5 s after the close request";
    EXPECT_EQ(*rc, 0);
    EXPECT_LE(took, 200);
}

TEST(WindowStart, NoDisplayEndsWithCode1) {
    auto program = child_start({ZV_E2E_WAIT}, {"DISPLAY"});
    EXPECT_EQ(child_wait(program, 10000), 1);
}

TEST(WindowStart, EightBitScreenWithoutGlVisualEndsWithCode1) {
    auto program = child_start({"xvfb-run", "-a", "-s", "-noreset -screen 0 640x480x8", ZV_E2E_WAIT});
    EXPECT_EQ(child_wait(program, 20000), 1);
}

TEST(WindowStart, ProgramStartedHiddenOpensNoWindow) {
    auto program = child_start({ZV_E2E_HIDDEN});
    auto window = x11_wait_for_window("Untitled", 500);
    EXPECT_EQ(window.id, 0u) << "a hidden program showed a window";
    EXPECT_EQ(child_wait(program, 5000), 0);
}

TEST(WindowStart, HiddenProgramGetsItsWindowWhenItAsksAndCarriesOn) {
    auto program = child_start({ZV_E2E_SHOW_LATER});
    EXPECT_EQ(x11_wait_for_window("Untitled", 400).id, 0u) << "the window appeared before it was asked for";
    auto window = x11_wait_for_window("Untitled", 10000);
    EXPECT_NE(window.id, 0u);
    EXPECT_EQ(child_wait(program, 5000), 0);
}

}  // namespace
