// Shared by the files of the error module and the error box (lifecycle/fix_error.cpp).
#pragma once
#include <cstdint>

// ERL takes the last line when a handler is entered.
void error_take_erl();
// Where the pending error happened, as recorded by error_set_line.
void error_position(uint32_t* line, uint32_t* include_line, const char** include_file);
