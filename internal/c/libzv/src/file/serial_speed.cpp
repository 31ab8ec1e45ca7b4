// Serial speeds outside the standard table, set through the kernel's termios2. Its
// header cannot share a unit with <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cstdint>

bool gfs_com_set_custom_speed(int fd, int32_t baud) {
    struct termios2 t {};
    if (::ioctl(fd, TCGETS2, &t) != 0) return false;
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;
    t.c_ispeed = static_cast<speed_t>(baud);
    t.c_ospeed = static_cast<speed_t>(baud);
    return ::ioctl(fd, TCSETS2, &t) == 0;
}
