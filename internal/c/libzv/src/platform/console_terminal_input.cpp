// The console terminal's input: pending-input checks, flushing and raw key and mouse records.
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/console_terminal.h"
#include "platform/console_terminal_state.h"

namespace {

// PC scancodes of the keys that type bytes 0-127 (the bytes of the upper half and
// control bytes without a key of their own have none). Enter arrives as 10, and
// Backspace as 127 on most terminals.
int32_t byte_scancode(uint8_t b) {
    static constexpr int8_t letters[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                           49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
    if (b >= 'a' && b <= 'z') return letters[b - 'a'];
    if (b >= 'A' && b <= 'Z') return letters[b - 'A'];
    if (b >= '1' && b <= '9') return b - '1' + 2;
    switch (b) {
        case 8: case 127: return 14;
        case 9: return 15;
        case 10: case 13: return 28;
        case 27: return 1;
        case ' ': return 57;
        case '0': case ')': return 11;
        case '!': return 2;
        case '@': return 3;
        case '#': return 4;
        case '$': return 5;
        case '%': return 6;
        case '^': return 7;
        case '&': return 8;
        case '*': return 9;
        case '(': return 10;
        case '-': case '_': return 12;
        case '=': case '+': return 13;
        case '[': case '{': return 26;
        case ']': case '}': return 27;
        case ';': case ':': return 39;
        case '\'': case '"': return 40;
        case '`': case '~': return 41;
        case '\\': case '|': return 43;
        case ',': case '<': return 51;
        case '.': case '>': return 52;
        case '/': case '?': return 53;
        default: return 0;
    }
}

// The byte that follows within a short time: escape sequences arrive together,
// a lone Esc does not.
int next_byte(int timeout_ms) {
    pollfd p{console_terminal_in_fd(), POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0 || !(p.revents & POLLIN)) return -1;
    uint8_t b;
    return read(console_terminal_in_fd(), &b, 1) == 1 ? b : -1;
}

constexpr int sequence_wait_ms = 20;

// Scancode of a CSI key by its final byte, or of a "number ~" key.
int32_t csi_scancode(int final_byte, int number) {
    switch (final_byte) {
        case 'A': return 72;
        case 'B': return 80;
        case 'C': return 77;
        case 'D': return 75;
        case 'H': return 71;
        case 'F': return 79;
        case 'P': return 59;
        case 'Q': return 60;
        case 'R': return 61;
        case 'S': return 62;
        case '~': break;
        default: return 0;
    }
    switch (number) {
        case 1: case 7: return 71;
        case 2: return 82;
        case 3: return 83;
        case 4: case 8: return 79;
        case 5: return 73;
        case 6: return 81;
        case 11: case 12: case 13: case 14: case 15: return 59 + number - 11;
        case 17: case 18: case 19: case 20: case 21: return 64 + number - 17;
        case 23: return 87;
        case 24: return 88;
        default: return 0;
    }
}

// After ESC [: parameters up to the final byte; a mouse report when they start with '<'.
console_record read_csi() {
    console_record r{console_record::key, 0, 0, 0, 0, false};
    int params[4] = {0, 0, 0, 0};
    int count = 0;
    bool mouse = false, any = false;
    for (int i = 0; i < 32; i++) {
        int b = next_byte(sequence_wait_ms);
        if (b < 0) return r;  // cut short: a key without a scancode
        if (i == 0 && b == '<') {
            mouse = true;
            continue;
        }
        if (b >= '0' && b <= '9') {
            if (count < 4) params[count] = params[count] * 10 + (b - '0');
            any = true;
        } else if (b == ';') {
            count++;
        } else if (b >= 0x40 && b <= 0x7E) {
            if (mouse && (b == 'M' || b == 'm')) {
                r.kind = console_record::mouse;
                r.mouse_code = params[0];
                r.mouse_x = params[1];
                r.mouse_y = params[2];
                r.mouse_release = b == 'm';
                return r;
            }
            r.scancode = csi_scancode(b, any ? params[0] : 0);
            return r;
        }
    }
    return r;
}

}  // namespace

console_input console_input_state() {
    pollfd p{console_terminal_in_fd(), POLLIN, 0};
    if (poll(&p, 1, 0) <= 0) return console_input::none;
    if (p.revents & POLLIN) {
        int pending = 0;
        if (ioctl(console_terminal_in_fd(), FIONREAD, &pending) == 0 && pending > 0) return console_input::ready;
        return console_input::end;
    }
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return console_input::end;
    return console_input::none;
}

bool console_read_byte(uint8_t* byte) { return read(console_terminal_in_fd(), byte, 1) == 1; }

void console_flush_input() {
    if (console_input_is_terminal()) tcflush(console_terminal_in_fd(), TCIFLUSH);
}

console_record console_read_record() {
    console_record r{console_record::none, 0, 0, 0, 0, false};
    if (!console_input_is_terminal() || console_input_state() != console_input::ready) return r;
    uint8_t b;
    if (read(console_terminal_in_fd(), &b, 1) != 1) return r;
    r.kind = console_record::key;
    if (b != 27) {
        r.scancode = byte_scancode(b);
        return r;
    }
    int next = next_byte(sequence_wait_ms);
    if (next < 0) {
        r.scancode = 1;  // a lone Esc
    } else if (next == '[') {
        r = read_csi();
    } else if (next == 'O') {
        int final_byte = next_byte(sequence_wait_ms);
        r.scancode = final_byte < 0 ? 0 : csi_scancode(final_byte, 0);
    }
    return r;
}
