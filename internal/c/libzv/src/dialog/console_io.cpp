// Console questions of the dialogs: writes, key and line reads on descriptors 0 and 1.
#include "dialog/console_io.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "dialog/chooser_rules.h"

namespace {

// The terminal mode of standard input for one question, put back on every way out.
class question_mode {
public:
    explicit question_mode(void (*change)(termios*)) {
        if (!isatty(0) || tcgetattr(0, &saved_) != 0) return;
        termios t = saved_;
        change(&t);
        active_ = tcsetattr(0, TCSANOW, &t) == 0;
    }
    ~question_mode() {
        if (active_) tcsetattr(0, TCSANOW, &saved_);
    }
    question_mode(const question_mode&) = delete;
    question_mode& operator=(const question_mode&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};

void key_mode(termios* t) {
    t->c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    t->c_cc[VMIN] = 1;
    t->c_cc[VTIME] = 0;
}

void line_mode(termios* t) {
    t->c_lflag |= ICANON | ECHO;
    t->c_cc[VSUSP] = _POSIX_VDISABLE;
}

void masked_line_mode(termios* t) {
    line_mode(t);
    t->c_lflag &= ~static_cast<tcflag_t>(ECHO);
}

// 1 a byte, 0 end of input, -1 a failure.
int read_byte(uint8_t* byte) {
    while (true) {
        ssize_t n = read(0, byte, 1);
        if (n >= 0) return static_cast<int>(n);
        if (errno != EINTR) return -1;
    }
}

}  // namespace

void console_io_write(std::string_view text) {
    fflush(stdout);
    while (!text.empty()) {
        ssize_t n = write(1, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        text.remove_prefix(static_cast<size_t>(n));
    }
}

bool console_io_ask_key(std::string_view prompt, uint8_t* key) {
    question_mode mode(key_mode);
    console_io_write(prompt);
    return read_byte(key) == 1;
}

bool console_io_ask_line(std::string_view prompt, bool masked, size_t max_bytes, std::string* line) {
    std::string text;
    bool any = false;
    {
        question_mode mode(masked ? masked_line_mode : line_mode);
        console_io_write(prompt);
        uint8_t byte;
        while (read_byte(&byte) == 1) {
            any = true;
            if (byte == '\n') break;
            // A few bytes past the limit tell a cut character from a whole one.
            if (text.size() < max_bytes + 4) text += static_cast<char>(byte);
        }
    }
    if (masked) console_io_write("\n");
    if (!any) return false;
    if (text.size() <= max_bytes && !text.empty() && text.back() == '\r') text.pop_back();
    line->assign(chooser_cut_bytes(text, max_bytes));
    return true;
}

void tfd_writeConsoleUtf8(const char* text) {
    if (text) console_io_write(text);
}
