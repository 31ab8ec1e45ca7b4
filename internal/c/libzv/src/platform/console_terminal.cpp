// The console terminal: output with its shadow cursor and cell grid, and the terminal modes.
#include "platform/console_terminal.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include <string>

#include "platform/console_terminal_state.h"
#include "platform/process_exit.h"
#include "support/utf8.h"

namespace {

// The shadow of the terminal screen: what the runtime wrote, cell by cell.
struct shadow_grid {
    int32_t columns, rows;
    uint16_t* cells;  // character | attribute << 8, row by row
    int32_t row, column;  // 0-based
    bool wrap_pending;    // the last column was written; the next printable byte wraps
    uint32_t attribute;
};

int in_fd = STDIN_FILENO;
FILE* out_stream = nullptr;  // stdout unless a test gave another stream
bool out_terminal = false;
bool out_utf8 = false;  // the output terminal shows UTF-8
bool in_terminal = false;
shadow_grid grid{};
// The size WIDTH asked for last (0: none): the grid's size when the output is no terminal.
int32_t requested_columns = 0, requested_rows = 0;

// Read by the exit path from any thread: the mode to put back and where.
termios saved_termios{};
std::atomic<bool> saved_valid{false};
std::atomic<bool> restore_needed{false};
std::atomic<int> restore_in_fd{STDIN_FILENO};
std::atomic<int> restore_out_fd{-1};  // the output terminal, -1 when none
console_mode current_mode = console_mode::saved;
// Another program has the terminal: modes are no longer ours to set.
bool left_to_another = false;
bool exit_registered = false;

constexpr char mouse_on[] = "\x1b[?1003h\x1b[?1006h";
constexpr char mouse_off[] = "\x1b[?1003l\x1b[?1006l";

FILE* out() { return out_stream ? out_stream : stdout; }

uint16_t blank_cell() { return static_cast<uint16_t>(grid.attribute << 8 | 0x20); }

// The grid at the output terminal's size, or 80 x 25; all blank.
void grid_rebuild() {
    int32_t columns = requested_columns ? requested_columns : 80, rows = requested_rows ? requested_rows : 25;
    winsize ws{};
    if (out_terminal && ioctl(fileno(out()), TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
        // A pseudo-terminal may claim any size; the shadow covers what a terminal can show.
        columns = ws.ws_col < console_max_side ? ws.ws_col : console_max_side;
        rows = ws.ws_row < console_max_side ? ws.ws_row : console_max_side;
    }
    if (columns != grid.columns || rows != grid.rows || !grid.cells) {
        free(grid.cells);
        grid.cells = static_cast<uint16_t*>(malloc(sizeof(uint16_t) * static_cast<size_t>(columns) * rows));
        grid.columns = grid.cells ? columns : 0;
        grid.rows = grid.cells ? rows : 0;
    }
    for (int64_t i = 0; i < static_cast<int64_t>(grid.columns) * grid.rows; i++) grid.cells[i] = blank_cell();
    grid.row = grid.column = 0;
    grid.wrap_pending = false;
}

void grid_line_feed() {
    grid.column = 0;
    if (grid.row + 1 < grid.rows) {
        grid.row++;
        return;
    }
    if (grid.rows == 0) return;
    memmove(grid.cells, grid.cells + grid.columns, sizeof(uint16_t) * static_cast<size_t>(grid.columns) * (grid.rows - 1));
    uint16_t* last = grid.cells + static_cast<size_t>(grid.columns) * (grid.rows - 1);
    for (int32_t c = 0; c < grid.columns; c++) last[c] = blank_cell();
}

// One character shown in the next cell, with the deferred wrap at the last column.
void grid_show(uint8_t code) {
    if (grid.columns == 0) return;
    if (grid.wrap_pending) {
        grid.wrap_pending = false;
        grid_line_feed();
    }
    grid.cells[static_cast<size_t>(grid.row) * grid.columns + grid.column] =
        static_cast<uint16_t>(grid.attribute << 8 | code);
    if (grid.column == grid.columns - 1)
        grid.wrap_pending = true;
    else
        grid.column++;
}

void grid_put(uint8_t b) {
    switch (b) {
        case 13:
            grid.column = 0;
            grid.wrap_pending = false;
            return;
        case 10:
            grid.wrap_pending = false;
            grid_line_feed();
            return;
        case 8:
            grid.wrap_pending = false;
            if (grid.column > 0) grid.column--;
            return;
        case 9:
            grid.wrap_pending = false;
            grid.column = grid.column / 8 * 8 + 8;
            if (grid.column > grid.columns - 1) grid.column = grid.columns > 0 ? grid.columns - 1 : 0;
            return;
        default:
            break;
    }
    if (b < 32 || b == 127) return;  // no movement: bell, NUL, escape and the rest
    grid_show(b);
}

// Whether a terminal shows the character in a cell of its own: not a C0 or C1 control,
// and a character that UTF-8 can carry.
bool takes_a_cell(uint32_t c) {
    return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
}

// The codeset part of a locale name ("en_US.UTF-8@euro" gives "UTF-8"): UTF-8 by any
// spelling, or the plain C locale, means the terminal shows UTF-8.
bool locale_shows_utf8(const char* name) {
    if (!name || !*name || strcmp(name, "C") == 0 || strcmp(name, "POSIX") == 0) return true;
    const char* dot = strchr(name, '.');
    if (!dot) return false;
    std::string codeset;
    for (const char* p = dot + 1; *p && *p != '@'; p++)
        if (*p != '-' && *p != '_') codeset += static_cast<char>(*p >= 'A' && *p <= 'Z' ? *p + 32 : *p);
    return codeset == "utf8";
}

// The locale in force for characters: the first of LC_ALL, LC_CTYPE and LANG that is set
// and not empty.
const char* character_locale() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
        if (const char* value = getenv(name); value && *value) return value;
    return nullptr;
}

// An escape sequence: only to a terminal, through the same stream as the text.
void write_sequence(const char* sequence) {
    if (!out_terminal) return;
    fputs(sequence, out());
}

void exit_restore() { console_terminal_restore(); }

// A signal that ends the process by default (Ctrl+C at the terminal, a hang-up)
// would leave the terminal without echo and with mouse reports: put the mode back
// first, then let the signal do what it does. Handlers set by others stay.
void restore_and_raise(int signal_number) {
    console_terminal_restore();
    raise(signal_number);  // the disposition is the default again (SA_RESETHAND)
}

void guard_ending_signals() {
    static bool guarded = false;
    if (guarded) return;
    guarded = true;
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction old {};
        if (sigaction(signal_number, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
        struct sigaction guard {};
        guard.sa_handler = restore_and_raise;
        guard.sa_flags = SA_RESETHAND;
        sigemptyset(&guard.sa_mask);
        sigaction(signal_number, &guard, nullptr);
    }
}

void attach(int input, FILE* output) {
    requested_columns = requested_rows = 0;
    in_fd = input;
    out_stream = output;
    out_terminal = isatty(fileno(out())) == 1;
    in_terminal = isatty(in_fd) == 1;
    out_utf8 = out_terminal && locale_shows_utf8(character_locale());
    restore_in_fd.store(in_fd);
    restore_out_fd.store(out_terminal ? fileno(out()) : -1);
    saved_valid.store(false);
    restore_needed.store(false);
    current_mode = console_mode::saved;
    left_to_another = false;
    grid.attribute = 7;
    grid_rebuild();
}

}  // namespace

int console_terminal_in_fd() { return in_fd; }
FILE* console_terminal_out() { return out(); }

void console_terminal_global_init() {
    attach(STDIN_FILENO, nullptr);
    if (!exit_registered) {
        exit_registered = true;
        libzv_register_exit_flush(exit_restore);
    }
}

void console_terminal_use(int input, FILE* output) {
    console_terminal_restore();
    attach(input, output);
}

void console_terminal_reset_for_tests() {
    console_terminal_restore();
    attach(STDIN_FILENO, nullptr);
}

bool console_output_is_terminal() { return out_terminal; }
bool console_input_is_terminal() { return in_terminal; }

void console_write(const void* bytes, size_t length) {
    if (length) fwrite(bytes, 1, length, out());
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < length; i++) grid_put(p[i]);
}

bool console_shows_utf8() { return out_utf8; }

void console_write_text(const void* bytes, size_t length, const console_charset& charset) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    size_t high = 0;
    while (high < length && p[high] < 0x80) high++;
    if (!out_utf8 || high == length) {
        console_write(bytes, length);
        return;
    }
    if (utf8_valid(static_cast<const char*>(bytes), length)) {
        fwrite(bytes, 1, length, out());
        for (size_t at = 0; at < length;) {
            uint32_t character;
            utf8_decode(p, length, &at, &character);
            if (character < 0x80) {
                grid_put(static_cast<uint8_t>(character));
            } else {
                int32_t code = charset.from_unicode(character);
                grid_show(static_cast<uint8_t>(code < 0 ? '?' : code));
            }
        }
        return;
    }
    std::string shown(reinterpret_cast<const char*>(p), high);
    for (size_t i = high; i < length; i++) {
        uint32_t character = p[i] < 0x80 ? p[i] : charset.to_unicode(p[i]);
        // A code mapped to a control or to no character still takes its cell.
        if (p[i] >= 0x80 && !takes_a_cell(character)) character = '?';
        utf8_append(&shown, character);
    }
    fwrite(shown.data(), 1, shown.size(), out());
    for (size_t i = 0; i < length; i++) grid_put(p[i]);
}

void console_flush() { fflush(out()); }

void console_clear() {
    write_sequence("\x1b[2J\x1b[H");
    fflush(out());
    grid_rebuild();  // the terminal may have been resized since
}

void console_locate(int32_t row, int32_t column) {
    int32_t r = row == 0 ? grid.row + 1 : row, c = column == 0 ? grid.column + 1 : column;
    r = r < 1 ? 1 : r > grid.rows ? grid.rows : r;
    c = c < 1 ? 1 : c > grid.columns ? grid.columns : c;
    if (grid.rows == 0 || grid.columns == 0) return;
    char sequence[32];
    snprintf(sequence, sizeof sequence, "\x1b[%d;%dH", r, c);
    write_sequence(sequence);
    fflush(out());
    grid.row = r - 1;
    grid.column = c - 1;
    grid.wrap_pending = false;
}

void console_resize(int32_t columns, int32_t rows) {
    if (columns < 1 || rows < 1 || columns > console_max_side || rows > console_max_side) return;
    char sequence[48];
    snprintf(sequence, sizeof sequence, "\x1b[8;%d;%dt", rows, columns);
    write_sequence(sequence);
    fflush(out());
    requested_columns = columns;
    requested_rows = rows;
    // The shadow takes the asked size at once, keeping what fits.
    auto* cells = static_cast<uint16_t*>(malloc(sizeof(uint16_t) * static_cast<size_t>(columns) * rows));
    if (!cells) return;
    for (int32_t r = 0; r < rows; r++)
        for (int32_t c = 0; c < columns; c++)
            cells[static_cast<size_t>(r) * columns + c] = r < grid.rows && c < grid.columns
                                                              ? grid.cells[static_cast<size_t>(r) * grid.columns + c]
                                                              : blank_cell();
    free(grid.cells);
    grid.cells = cells;
    grid.columns = columns;
    grid.rows = rows;
    if (grid.row >= rows) grid.row = rows - 1;
    if (grid.column >= columns) grid.column = columns - 1;
    grid.wrap_pending = false;
}

void console_set_attribute(uint32_t attribute) { grid.attribute = attribute & 255; }

int32_t console_row() { return grid.row + 1; }
int32_t console_column() { return grid.column + 1; }
int32_t console_columns() { return grid.columns; }
int32_t console_rows() { return grid.rows; }

int32_t console_cell(int32_t row, int32_t column, bool attribute) {
    if (row < 1 || row > grid.rows || column < 1 || column > grid.columns) return 0;
    uint16_t cell = grid.cells[static_cast<size_t>(row - 1) * grid.columns + column - 1];
    return attribute ? cell >> 8 : cell & 255;
}

console_mode console_set_mode(console_mode mode) {
    console_mode before = current_mode;
    if (!in_terminal || left_to_another || mode == current_mode) return before;
    if (!saved_valid.load()) {
        if (tcgetattr(in_fd, &saved_termios) != 0) return before;
        saved_valid.store(true);
        guard_ending_signals();
    }
    termios t = saved_termios;
    if (mode == console_mode::line) {
        t.c_lflag |= ICANON | ECHO;
    } else if (mode == console_mode::keys) {
        t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
    }
    fflush(out());
    if (current_mode == console_mode::keys) write_sequence(mouse_off);
    if (mode == console_mode::keys) write_sequence(mouse_on);
    fflush(out());
    tcsetattr(in_fd, TCSANOW, &t);
    current_mode = mode;
    restore_needed.store(mode != console_mode::saved);
    return before;
}

console_mode console_lend_terminal() { return console_set_mode(console_mode::saved); }

void console_take_back_terminal(console_mode mode) { console_set_mode(mode); }

void console_leave_terminal() {
    fflush(out());
    left_to_another = true;
    restore_needed.store(false);
}

void console_terminal_restore() {
    if (!restore_needed.exchange(false)) return;
    int fd = restore_out_fd.load();
    if (fd >= 0) {
        ssize_t ignored = write(fd, mouse_off, sizeof mouse_off - 1);
        (void)ignored;
    }
    if (saved_valid.load()) tcsetattr(restore_in_fd.load(), TCSANOW, &saved_termios);
    current_mode = console_mode::saved;
}
