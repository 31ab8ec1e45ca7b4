// The console side of the dialogs' console route: text to standard output, one key
// without echo and one line from standard input, with the terminal's mode set for the
// question and put back afterwards. Any thread; the caller holds the dialog lock.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Writes the whole text to descriptor 1 (after what C's standard output holds).
void console_io_write(std::string_view text);

// Prints the prompt and reads one key without echo. False at end of input or on a
// read failure.
bool console_io_ask_key(std::string_view prompt, uint8_t* key);

// Prints the prompt and reads one line: bytes up to LF, without the LF and then a CR;
// the first max_bytes bytes are kept (cut on a UTF-8 character boundary), the rest of
// a longer line is read and dropped. On a terminal the line is edited with echo (none
// when masked; then a new line follows), and Ctrl-Z arrives as byte 26 instead of
// stopping the process. False at end of input with nothing read.
bool console_io_ask_line(std::string_view prompt, bool masked, size_t max_bytes, std::string* line);

extern "C" {
// Writes a UTF-8 text to the console (the terminal shows UTF-8 as it is).
void tfd_writeConsoleUtf8(const char* text);
}
