// Serial ports: the device opened exclusively and set up from the COMn: options, and
// reads and writes bounded by the DS and CS time-outs.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>

#include "core/runtime_flags.h"
#include "file/gfs.h"
#include "file/gfs_os.h"
#include "file/serial.h"

namespace {

std::map<int32_t, std::string> device_overrides;

bool standard_speed(int32_t baud, speed_t* speed) {
    static const std::pair<int32_t, speed_t> speeds[] = {
        {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
        {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
        {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
        {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
        {576000, B576000}, {921600, B921600}, {1000000, B1000000}};
    for (const auto& [b, s] : speeds)
        if (b == baud) {
            *speed = s;
            return true;
        }
    return false;
}

int32_t fail(int fd) {
    ::close(fd);
    return gfs_device_unavailable;
}

using clock_type = std::chrono::steady_clock;

// Milliseconds left until the deadline, at most one 50 ms slice.
int slice_ms(clock_type::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - clock_type::now()).count();
    if (left <= 0) return 0;
    int64_t ms = (left + 999) / 1000;  // never wake before the deadline
    return ms > 50 ? 50 : static_cast<int>(ms);
}

}  // namespace

std::string gfs_com_device(int32_t port) {
    auto it = device_overrides.find(port);
    if (it != device_overrides.end()) return it->second;
    return "/dev/ttyS" + std::to_string(port - 1);
}

void gfs_com_set_device_for_tests(int32_t port, const std::string& path) {
    if (path.empty())
        device_overrides.erase(port);
    else
        device_overrides[port] = path;
}

void gfs_com_termios(const gfs_file_struct* f, termios* t) {
    cfmakeraw(t);
    t->c_cflag |= CLOCAL | CREAD;
    t->c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR);
    t->c_iflag &= ~INPCK;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t->c_cflag |= sizes[f->com_data_bits - 5];
    if (f->com_stop_bits_x10 != 10) t->c_cflag |= CSTOPB;  // with CS5 a UART sends 1.5
    switch (f->com_parity) {
        case 1: t->c_cflag |= PARENB; break;
        case 2: t->c_cflag |= PARENB | PARODD; break;
        case 3: t->c_cflag |= PARENB | CMSPAR; break;
        case 4: t->c_cflag |= PARENB | CMSPAR | PARODD; break;
        case 5:
            t->c_cflag |= PARENB;
            t->c_iflag |= INPCK;
            break;
        default: break;
    }
    if (f->com_rs) t->c_cflag &= ~CRTSCTS;
    speed_t speed;
    if (standard_speed(f->com_baud, &speed)) {
        cfsetispeed(t, speed);
        cfsetospeed(t, speed);
    }
}

int32_t gfs_open_com_port(gfs_file_struct* f) {
    int flags = O_NOCTTY | O_CLOEXEC | O_NONBLOCK;
    flags |= f->can_read && f->can_write ? O_RDWR : f->can_write ? O_WRONLY : O_RDONLY;
    int fd = ::open(gfs_com_device(f->com_port).c_str(), flags);
    if (fd < 0) return gfs_device_unavailable;
    // TIOCEXCL keeps other programs out; flock also keeps out root and this process.
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) return fail(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(fd);
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return fail(fd);
    gfs_com_termios(f, &t);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) return fail(fd);
    speed_t speed;
    if (!standard_speed(f->com_baud, &speed) && !gfs_com_set_custom_speed(fd, f->com_baud)) return fail(fd);
    if (f->com_rs) {
        int rts = TIOCM_RTS;
        // A pty has no modem lines.
        if (::ioctl(fd, TIOCMBIC, &rts) != 0 && errno != ENOTTY && errno != EINVAL) return fail(fd);
    }
    f->os_handle = fd;
    return gfs_ok;
}

int32_t gfs_com_read(gfs_file_struct* f, uint8_t* buffer, int64_t count, int64_t* got) {
    if (count > 0 && f->com_pushed_back >= 0) {
        buffer[(*got)++] = static_cast<uint8_t>(f->com_pushed_back);
        f->com_pushed_back = -1;
        f->position++;
    }
    auto deadline = clock_type::now() + std::chrono::milliseconds(f->com_ds_ms);
    while (*got < count) {
        ssize_t n = ::read(f->os_handle, buffer + *got, static_cast<size_t>(count - *got));
        if (n > 0) {
            *got += n;
            f->position += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EIO) return gfs_os_io_error(errno);
        // Nothing waiting (a hung-up pty reads EIO): wait for more within the time-out.
        int wait = slice_ms(deadline);
        if (wait == 0 || stop_program.load()) break;
        pollfd p{f->os_handle, POLLIN, 0};
        ::poll(&p, 1, wait);
    }
    if (*got > 0) f->com_last_byte = buffer[*got - 1];
    return gfs_ok;
}

int32_t gfs_com_write(gfs_file_struct* f, const uint8_t* buffer, int64_t count) {
    auto deadline = clock_type::now() + std::chrono::milliseconds(f->com_cs_ms);
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::write(f->os_handle, buffer + done, static_cast<size_t>(count - done));
        if (n > 0) {
            done += n;
            f->position += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return gfs_os_io_error(errno);
        int wait = slice_ms(deadline);
        if (wait == 0 || stop_program.load()) return gfs_short_write;
        pollfd p{f->os_handle, POLLOUT, 0};
        ::poll(&p, 1, wait);
    }
    return gfs_ok;
}

int64_t gfs_com_waiting(gfs_file_struct* f) {
    int waiting = 0;
    if (::ioctl(f->os_handle, FIONREAD, &waiting) != 0) waiting = 0;
    return waiting + (f->com_pushed_back >= 0 ? 1 : 0);
}

bool gfs_com_step_back(gfs_file_struct* f, int64_t position) {
    if (position != f->position - 1 || f->com_last_byte < 0 || f->com_pushed_back >= 0) return false;
    f->com_pushed_back = f->com_last_byte;
    f->com_last_byte = -1;
    f->position--;
    return true;
}
