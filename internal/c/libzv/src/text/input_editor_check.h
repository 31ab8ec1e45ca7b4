// Keyboard INPUT editor: the per-keystroke checks of a field against its target.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct zvs;

// Parses a &H, &O or &B number, also while it is still being typed: 0 not such a
// number, 1 hexadecimal, 2 octal, 3 binary. The value is kept for hexoct2uint64_value.
int32_t hexoct2uint64(const zvs* text);
int32_t hexoct2uint64_text(const uint8_t* text, int32_t length, uint64_t* value);
// The value found by the last call of hexoct2uint64.
uint64_t hexoct2uint64_value();

// Checks one field against a target of the given type word. Returns 1 when the text
// can be stored (and stores it unless the target is marked untouched; string
// targets are always assigned), 0 when the last key must be refused.
int32_t input_check_field(const std::string& text, uint32_t type, void* target);

// Clears a target at the start of the statement: strings emptied (fixed-length ones
// filled with spaces), other targets zeroed unless marked untouched.
void input_clear_target(uint32_t type, void* target);

// Splits the working line into fields for n targets. Returns the number of fields
// (the last one is the field being typed), or 0 when the line's last key is refused.
int32_t input_split_line(const std::string& line, int32_t n, bool line_input, std::vector<std::string>& fields);
