// Numbered BASIC errors: the pending-error latch read at every statement boundary,
// the message table and ERR/ERL. Its handling (the program's handler or a box) is
// lifecycle/fix_error.h.
#pragma once
#include <atomic>
#include <cstdint>

#include "error/error_numbers.h"

// The pending error number, 0 when none. The first error wins until handled.
extern std::atomic<int32_t> new_error;
// Set just before the program is re-entered for its handler; the main module's
// prologue tests and clears it.
extern std::atomic<int32_t> error_occurred;
// RESUME's retry request: the boundary turns it into a rerun of the statement.
extern std::atomic<int32_t> error_retry;
// ERR: the number of the error being handled.
extern std::atomic<int32_t> error_err;
// Non-zero while an ON ERROR target is set; CLEAR resets it.
extern std::atomic<int32_t> error_goto_line;
// Non-zero while the program's error handler runs.
extern std::atomic<int32_t> error_handling;

// True while an error is pending: runtime statements and functions then do nothing.
inline bool new_error_is_set() { return new_error.load(std::memory_order_relaxed) != 0; }

// Raises error n from any thread. Always logged; fatal numbers end the process
// with a box; otherwise the first pending number wins, and n <= 0 latches 5.
void error(int32_t n);
// Records where the pending error happened.
void error_set_line(uint32_t line, uint32_t include_line, const char* include_file);
// new_error = 0.
void clear_error();

int32_t get_error_err();           // ERR
double get_error_erl();            // ERL
int32_t func__errorline();         // _ERRORLINE
int32_t func__inclerrorline();     // _INCLERRORLINE
// _INCLERRORFILE$'s text: the include file of the pending error, "" for none.
const char* error_include_file_name();
// _ERRORMESSAGE$'s text: the message of n, or of ERR when n is not passed.
const char* error_message_text(int32_t n, int32_t passed);

struct zvs;
// _INCLERRORFILE$: a temporary wrapping the include file's name (empty for none).
zvs* func__inclerrorfile();
// _ERRORMESSAGE$[(n)]: a temporary holding the message of n, or of ERR when n is
// omitted (passed 0).
zvs* func__errormessage(int32_t n, int32_t passed);

// The message table: "Unprintable error" for every number without a message.
const char* error_code_message(int32_t n);

// The box of a fatal number: its text, and its title written to title (at most
// title_size bytes with the zero); false when n is not fatal.
bool error_fatal_box(int32_t n, const char** text, char* title, int32_t title_size);

// error_handler_history is a string kept by the handler code of translated
// programs; created empty by the main module's prologue. Does nothing until
// strings exist.
// Kept by the handler code of translated programs; CLEAR empties it.
extern zvs* error_handler_history;
void error_handler_history_init();

// Clears the latch and every handling word (tests).
void error_reset_for_tests();
