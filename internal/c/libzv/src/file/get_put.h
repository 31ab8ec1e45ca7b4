// GET and PUT of variables: blocks of bytes at a record or byte number of a RANDOM or
// BINARY file, length-prefixed strings in RANDOM records, network handles for negative
// numbers, and the plain byte transfers CHAIN uses.
#pragma once
#include <cstdint>

struct byte_element_struct;
struct zvs;

// GET #n, [position], variable; passed: a position was given. RANDOM positions count
// records from 1, BINARY positions bytes from 1.
void sub_get(int32_t n, int64_t position, byte_element_struct* element, int32_t passed);
// PUT #n, [position], variable.
void sub_put(int32_t n, int64_t position, byte_element_struct* element, int32_t passed);
// GET of a variable-length string: BINARY fills its current length, RANDOM reads the
// length-prefixed record.
void sub_get2(int32_t n, int64_t position, zvs* variable, int32_t passed);
// PUT of a variable-length string whose text and length the element describes.
void sub_put2(int32_t n, int64_t position, byte_element_struct* element, int32_t passed);

// Bytes at a 0-based offset of file n (-1: the current position), whatever its mode;
// only the direction's access is checked. A short read is no error.
void generic_get(int32_t n, int32_t offset, uint8_t* buffer, int32_t length);
void generic_put(int32_t n, int32_t offset, const uint8_t* buffer, int32_t length);
// The bytes the last generic_get read.
int32_t generic_get_bytes_read();
