// The terminal that stands for the system console of console programs: text and
// escape sequences on standard output, a shadow cursor and cell grid (a terminal
// cannot be read back), terminal modes, and raw records from standard input.
// Program thread only, except console_terminal_restore (any thread, at exit).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// Start-up: standard input and output, the size of the output terminal (80 x 25
// when it is not one), an empty grid, attribute 7; the saved mode is put back by
// the process exit.
void console_terminal_global_init();
// Tests: the console on other descriptors (a pseudo-terminal or a pipe). out is
// not closed by the layer. Resets the grid, the cursor and the modes.
void console_terminal_use(int in_fd, FILE* out);
// Puts the saved mode back and forgets everything (tests).
void console_terminal_reset_for_tests();

bool console_output_is_terminal();
bool console_input_is_terminal();

// Output. Every byte goes to the stream unchanged and moves the shadow as a
// terminal does: printable bytes (32-126, 128-255) advance with a deferred wrap at
// the last column, CR, LF (as CR LF), BS and TAB act, other control bytes do not
// move; a new line on the last row scrolls the grid.
void console_write(const void* bytes, size_t length);

// The character set of the program's text, which a UTF-8 terminal cannot show as it is.
struct console_charset {
    uint32_t (*to_unicode)(uint8_t code);        // the character of code 128-255
    int32_t (*from_unicode)(uint32_t character);  // its code, -1 when the set lacks it
};
// The program's text. On a UTF-8 terminal (see console_shows_utf8) a text that is
// valid UTF-8 passes unchanged, one shadow cell per character holding its code (63
// when the set lacks it); any other text shows bytes 128-255 as the UTF-8 of their
// characters, one cell per byte. Elsewhere as console_write.
void console_write_text(const void* bytes, size_t length, const console_charset& charset);
// Whether the output is a terminal that shows UTF-8: the locale that LC_ALL, else
// LC_CTYPE, else LANG names is UTF-8, or C, POSIX or none (such terminals are UTF-8
// in practice). Read when the console is set up; the C locale is never changed.
bool console_shows_utf8();
void console_flush();
// Clears the terminal and the grid (with the current attribute); cursor (1, 1).
void console_clear();
// Moves the cursor to a 1-based row and column; 0 keeps the current one. The
// shadow cursor stays inside the grid.
void console_locate(int32_t row, int32_t column);
// The most columns and the most rows of the shadow. A terminal shows its cells on a
// screen, and the widest screens (8K, 7680 x 4320 pixels) hold 3,840 x 2,160 cells
// of 2 x 2 pixels, smaller than any terminal font: no terminal is larger. The grid
// thereby stays within 4096 x 4096 cells (32 MiB).
constexpr int32_t console_max_side = 4096;
// WIDTH on the console: asks the terminal for columns x rows (ESC [ 8 ; rows ;
// columns t, which it may ignore) and gives the shadow that size; without a
// terminal the size is only remembered, and later measurements use it. A size of
// more than console_max_side on either side is a resize that cannot be made:
// nothing is asked, remembered or changed.
void console_resize(int32_t columns, int32_t rows);
// The text attribute (foreground + 16 x background) for later text, as an SGR
// sequence on a terminal.
void console_set_attribute(uint32_t attribute);

// The shadow: 1-based cursor row and column, the grid size, and one cell's
// character or attribute (0 outside the grid).
int32_t console_row();
int32_t console_column();
int32_t console_columns();
int32_t console_rows();
int32_t console_cell(int32_t row, int32_t column, bool attribute);

// Terminal modes of standard input (nothing when it is not a terminal).
enum class console_mode : uint8_t {
    saved,  // as found at start-up
    line,   // canonical with echo: INPUT
    keys,   // no echo, no line buffering, mouse tracking: SLEEP and key reads
};
// Enters a mode and returns the one in force before, for the caller to restore.
console_mode console_set_mode(console_mode mode);
// A child that runs in the foreground on the terminal while the program waits for
// it (SHELL): the mode the program started with, and no mouse reports, whatever
// the program had set. Returns what to take back once the child has ended.
console_mode console_lend_terminal();
// After the child: the mode that console_lend_terminal returned, in force again.
void console_take_back_terminal(console_mode mode);
// The terminal now belongs to another program that took over from this one (CHAIN,
// RUN) after console_lend_terminal: from here on the layer never changes its mode or
// mouse reports again, not even at exit, where a late restore would undo the other
// program's own mode.
void console_leave_terminal();
// Exit path: the saved mode and no mouse tracking. Only async-signal-safe calls.
void console_terminal_restore();

// Input.
enum class console_input : uint8_t { none, ready, end };
// Whether standard input has bytes now: none, ready, or at its end (hung up, or
// readable with nothing to read). Never blocks.
console_input console_input_state();
// Reads one byte of input, whatever the input is; false at its end or on failure.
bool console_read_byte(uint8_t* byte);
// Drops pending terminal input (nothing for other inputs, whose data belongs to INPUT).
void console_flush_input();

// One input record of the terminal: a key (one byte, or one escape sequence) or a
// mouse report (SGR form ESC [ < b ; x ; y M or m).
struct console_record {
    enum kind_t : uint8_t { none, key, mouse } kind;
    int32_t scancode;     // PC scancode of a key, 0 when none fits
    int32_t mouse_x, mouse_y;  // 1-based column and row
    int32_t mouse_code;   // the report's button code b
    bool mouse_release;   // the report ended with 'm'
};
// Reads at most one record from a terminal input; kind none when nothing is there
// or the input is not a terminal.
console_record console_read_record();
