// _CAPSLOCK, _NUMLOCK and _SCROLLLOCK against the X server's lock state.
#include <gtest/gtest.h>

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

    EXPECT_EQ(func__scrolllock(), 0);
    sub__scrolllock(3);
    EXPECT_EQ(func__scrolllock(), -1);
}

}  // namespace
