// A pseudo-terminal standing for the console: the layer writes to and reads from its
// slave side; the test reads the output and types input on the master side.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/console_terminal.h"

class pseudo_terminal {
public:
    explicit pseudo_terminal(int columns = 80, int rows = 25) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) abort();
        slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
        if (slave_ < 0) abort();
        winsize ws{};
        ws.ws_col = static_cast<unsigned short>(columns);
        ws.ws_row = static_cast<unsigned short>(rows);
        ioctl(master_, TIOCSWINSZ, &ws);
        termios t{};
        tcgetattr(slave_, &t);
        t.c_oflag &= ~static_cast<tcflag_t>(ONLCR);  // output read back byte for byte
        tcsetattr(slave_, TCSANOW, &t);
        out_ = fdopen(dup(slave_), "w");
        console_terminal_use(slave_, out_);
    }
    ~pseudo_terminal() {
        console_terminal_reset_for_tests();
        fclose(out_);
        if (slave_ >= 0) close(slave_);
        if (master_ >= 0) close(master_);
    }
    pseudo_terminal(const pseudo_terminal&) = delete;
    pseudo_terminal& operator=(const pseudo_terminal&) = delete;

    // Everything written so far.
    std::string output() {
        fflush(out_);
        std::string text;
        char buffer[4096];
        pollfd p{master_, POLLIN, 0};
        while (poll(&p, 1, 50) > 0 && (p.revents & POLLIN)) {
            ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }
    // Bytes typed at the keyboard.
    void type(const std::string& bytes) {
        if (write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) abort();
        tcdrain(master_);
        usleep(20000);  // the line discipline hands them on
    }
    // The keyboard goes away: the terminal hangs up.
    void hang_up() {
        close(master_);
        master_ = -1;
    }
    termios mode() const {
        termios t{};
        tcgetattr(slave_, &t);
        return t;
    }
    int slave() const { return slave_; }

private:
    int master_ = -1, slave_ = -1;
    FILE* out_ = nullptr;
};
