// The runtime's own X connection reads the lock keys and the desktop size.
#include <gtest/gtest.h>

#include "platform/x11_desktop.h"
#include "support/child.h"

namespace {

void press(const char* key) {
    auto tool = child_start({"xdotool", "key", key});
    ASSERT_EQ(child_wait(tool, 5000), 0);
}

TEST(X11Desktop, LockKeysFollowTheServer) {
    x11_desktop_global_init();
    ASSERT_TRUE(x11_desktop_available());
    x11_lock_state before = x11_read_lock_state();
    press("Caps_Lock");
    press("Num_Lock");
    x11_lock_state toggled = x11_read_lock_state();
    EXPECT_NE(toggled.caps_lock, before.caps_lock);
    EXPECT_NE(toggled.num_lock, before.num_lock);
    press("Caps_Lock");
    press("Num_Lock");
    EXPECT_EQ(x11_read_lock_state().caps_lock, before.caps_lock);
    EXPECT_FALSE(x11_key_is_down(x11_modifier_key::left_shift));
}

TEST(X11Desktop, DesktopSizeIsTheScreens) {
    x11_desktop_global_init();
    int32_t w = 0, h = 0;
    ASSERT_TRUE(x11_desktop_size(&w, &h));
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
}

}  // namespace
