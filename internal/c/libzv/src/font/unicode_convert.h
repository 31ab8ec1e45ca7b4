// Conversions of code page 437, UTF-16 and UTF-32 text runs.
#pragma once
#include <cstdint>

// Source kinds 1 (code page 437 bytes, mapped through codepage437_to_unicode16),
// 16 (UTF-16 units; the byte count rounded down to even) and 32 (UTF-32 units; rounded
// down to a multiple of 4); destination kinds 16 and 32, followed by one 0 unit.
// Returns the bytes written without the terminator; 0 and nothing written for an
// unknown kind. No surrogate handling: a UTF-32 value is cut to 16 bits for UTF-16.
int32_t convert_unicode(int32_t source_kind, const void* source, int32_t source_bytes, int32_t destination_kind,
                        void* destination);

// Converts text of a font into the conversion buffer as UTF-16: UTF-32 source when
// the font has the UNICODE flag (a length of 1 then stands for one 4-byte code point
// at text), else code page 437. Returns the byte count; 0 when the buffer cannot grow.
int32_t convert_text_to_utf16(int32_t font_number, const void* text, int32_t length);
// The conversion buffer (unicode16_buf).
const uint16_t* unicode16_buffer();
