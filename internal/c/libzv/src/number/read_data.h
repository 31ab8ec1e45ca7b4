// READ: numeric and string items of the program's DATA text.
#pragma once
#include <cstdint>

#include "number/extended.h"

// Reads one numeric item at *position into the decomposed number. On success
// (n_result_number) *position moves past the item and its comma; otherwise it stays.
int32_t n_inputnumberfromdata(const uint8_t* data, int32_t* position, int32_t length);

// READ into a numeric variable. Errors: 4 out of DATA, 2 syntax, 6 overflow; after 2
// and 6 the position stays on the item. The float form serves every target but the
// 64-bit integers; translated code stores its result in the target type.
long double func_read_float(const uint8_t* data, int32_t* position, int32_t length, uint32_t type_word);
int64_t func_read_int64(const uint8_t* data, int32_t* position, int32_t length);
uint64_t func_read_uint64(const uint8_t* data, int32_t* position, int32_t length);

// The common tail of READ and INPUT # into a floating or narrow integer target: the
// converted decomposed number checked against the target. False on overflow.
bool n_value_for_target(uint32_t type_word, long double* value);

// The text of a string item: quotes around it are not part of it. Returns 0 with the
// item's bytes at data[*start], *count long, or 4 (out of DATA, or bytes after a closing
// quote), the item then empty. *position moves past the item and its comma.
int32_t data_read_string(const uint8_t* data, int32_t* position, int32_t length, int32_t* start, int32_t* count);

struct zvs;
// READ into a string variable: dest is assigned the item's text; at the end of the DATA
// text, or with bytes after a closing quote, error 4 and dest becomes empty.
void sub_read_string(const uint8_t* data, int32_t* position, int32_t length, zvs* dest);
