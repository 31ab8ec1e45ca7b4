// _CAPSLOCK, _NUMLOCK and _SCROLLLOCK against the X server's lock state.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>

#include "input/lock_statements.h"
#include "platform/x11_desktop.h"

namespace {

TEST(LockKeys, StatementsSetTheServersLocksAndTheFunctionsReadThem) {
    x11_desktop_global_init();
    ASSERT_TRUE(x11_desktop_available());
    sub__capslock(2);
    EXPECT_EQ(func__capslock(), 0);
    sub__capslock(1);
    EXPECT_EQ(func__capslock(), -1);
    EXPECT_TRUE(x11_read_lock_state().caps_lock);
    sub__capslock(1);
    EXPECT_EQ(func__capslock(), -1);
    sub__capslock(3);
    EXPECT_EQ(func__capslock(), 0);

    int32_t num = func__numlock();
    sub__numlock(3);
    EXPECT_EQ(func__numlock(), num ? 0 : -1);
    sub__numlock(3);
    EXPECT_EQ(func__numlock(), num);

    // Scroll Lock is the program's own: another program that has the focus sees no key,
    // and the server's lights stay as they were. Caps Lock shows that it would see one.
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    Window focus = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 10, 10, 0, 0, 0);
    XSelectInput(other, focus, KeyPressMask | StructureNotifyMask);
    XMapWindow(other, focus);
    XEvent event;
    XWindowEvent(other, focus, StructureNotifyMask, &event);
    XSetInputFocus(other, focus, RevertToParent, CurrentTime);
    XSync(other, False);
    auto keys_seen = [&] {
        XSync(other, False);
        int seen = 0;
        while (XCheckWindowEvent(other, focus, KeyPressMask, &event)) seen++;
        return seen;
    };
    sub__capslock(3);
    sub__capslock(3);
    EXPECT_EQ(keys_seen(), 2);
    unsigned int lights_before = 0, lights_after = 0;
    ASSERT_EQ(XkbGetIndicatorState(other, XkbUseCoreKbd, &lights_before), Success);
    EXPECT_EQ(func__scrolllock(), 0);
    sub__scrolllock(3);
    EXPECT_EQ(func__scrolllock(), -1);
    EXPECT_EQ(keys_seen(), 0);
    ASSERT_EQ(XkbGetIndicatorState(other, XkbUseCoreKbd, &lights_after), Success);
    EXPECT_EQ(lights_after, lights_before);
    XCloseDisplay(other);
}

}  // namespace
