// PRINT USING's numeric fields: reading one from the format, and laying a number out in it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

struct pu_field {
    int32_t end = 0;          // format position after the field
    int32_t before = 0;       // positions before the point (commas included)
    int32_t after = 0;        // digits after the point
    bool point = false;       // the field shows a point
    bool commas = false;      // thousands separators
    bool dollar = false;      // a $ before the digits
    bool asterisk = false;    // * fill
    int32_t exp_digits = 0;   // 0 fixed form, else 2 or 3 exponent digits
    bool leading_sign = false;
    char trailing_sign = 0;   // '+', '-' or 0
};

// Reads a numeric field starting at position; false when there is none there.
bool pu_read_field(std::string_view format, int32_t position, pu_field& field);

// Lays the number in pu_value() out in the field and appends the text to out. May
// round (and so change) the digits.
void pu_lay_out(const pu_field& field, std::string& out);
