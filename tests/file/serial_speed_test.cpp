// A serial speed outside the standard table goes to the kernel as BOTHER.
#include <asm/termbits.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "file/serial.h"

namespace {

TEST(SerialSpeed, CustomSpeedsUseTheKernelsOwnInterface) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    ASSERT_TRUE(gfs_com_set_custom_speed(slave, 12345));
    struct termios2 t {};
    ASSERT_EQ(ioctl(slave, TCGETS2, &t), 0);
    EXPECT_EQ(t.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(t.c_ospeed, 12345u);
    EXPECT_FALSE(gfs_com_set_custom_speed(-1, 12345));
    close(slave);
    close(master);
}

}  // namespace
