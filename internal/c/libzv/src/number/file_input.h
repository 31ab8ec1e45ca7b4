// INPUT # of numbers: the file tokenizer and the INPUT # entry points, reading through
// a character source that the file statements provide.
#pragma once
#include <cstdint>

#include "number/extended.h"

// What the number reader needs from the file statements.
struct number_file_source {
    // For a file number of 0 or more: 0 when it may be read as an INPUT file, else the
    // error to raise (52 not open, 54 not opened for INPUT, 75 no read access).
    int32_t (*input_check)(int32_t file);
    // The next byte (0-255), -1 at the end of the file, -2 after raising an error.
    int32_t (*input_chr)(int32_t file);
    // Given the byte that ended a number, skips the rest of the item and its separator.
    int32_t (*input_nextitem)(int32_t file, int32_t character);
};

// Installs the file statements' source; null restores the built-in one, under which no
// file is open.
void number_set_file_source(const number_file_source* source);

// Reads one numeric item of a file into the decomposed number (tokenizer results of decomposed.h).
int32_t n_inputnumberfromfile(int32_t file);

// INPUT # into a numeric variable. The float form serves every target but the 64-bit
// integers; translated code stores its result in the target type.
long double func_file_input_float(int32_t file, uint32_t type_word);
int64_t func_file_input_int64(int32_t file);
uint64_t func_file_input_uint64(int32_t file);

// Called by translated INPUT code; nothing to undo here.
void revert_input_check();
