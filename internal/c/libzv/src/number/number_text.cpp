// STR$ and _TOSTR$: decimal text of integers and of SINGLE, DOUBLE and extended values.
#include "number/number_text.h"

#include <charconv>
#include <cmath>

namespace {

num_text text_of(std::string_view s) {
    num_text t;
    t.length = static_cast<int32_t>(s.size());
    for (size_t i = 0; i < s.size(); i++) t.bytes[i] = s[i];
    return t;
}

// `lead` is written before non-negative values (a space for STR$, nothing for _TOSTR$).
template <typename T>
num_text integer_text(T value, bool lead) {
    num_text t;
    char* p = t.bytes;
    if (lead && value >= 0) *p++ = ' ';
    // Integer to_chars is locale-free; 20 digits and a sign fit.
    p = std::to_chars(p, t.bytes + sizeof t.bytes, value).ptr;
    t.length = static_cast<int32_t>(p - t.bytes);
    return t;
}

// Infinity and not-a-number: STR$ adds its space; the sign of a NaN is not shown.
num_text special_text(long double value, bool lead) {
    if (std::isnan(value)) return text_of(lead ? " NAN" : "NAN");
    if (value < 0) return text_of("-INF");
    return text_of(lead ? " INF" : "INF");
}

// The mantissa digits and decimal exponent of the "% .<precision>E" form of a value.
struct exponent_form {
    char digit[17];
    int32_t exponent;
};

exponent_form exponent_digits(double value, int precision) {
    char buffer[48];
    // Exact decimal rounding (ties to even), independent of the locale.
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, precision).ptr;
    exponent_form f{};
    int count = 0;
    const char* p = buffer;
    for (; p < end && *p != 'e'; p++)
        if (*p >= '0' && *p <= '9' && count < 17) f.digit[count++] = *p;
    // "e", the exponent's sign and at least two digits follow.
    p++;
    bool negative = *p == '-';
    int32_t exponent = 0;
    for (p++; p < end; p++) exponent = exponent * 10 + (*p - '0');
    f.exponent = negative ? -exponent : exponent;
    return f;
}

// "% .<decimals>f", then ' 0.5' becomes ' .5'.
num_text fixed_text(double value, int32_t decimals) {
    num_text t;
    char* start = t.bytes + 1;
    char* end = std::to_chars(start, t.bytes + sizeof t.bytes, value, std::chars_format::fixed, decimals).ptr;
    if (*start != '-') *--start = ' ';
    // to_chars wrote the text one byte in when the value is negative; close the gap.
    int32_t length = static_cast<int32_t>(end - start);
    if (start != t.bytes)
        for (int32_t i = 0; i < length; i++) t.bytes[i] = start[i];
    if (length > 2 && t.bytes[1] == '0') {
        for (int32_t i = 1; i + 1 < length; i++) t.bytes[i] = t.bytes[i + 1];
        length--;
    }
    t.length = length;
    return t;
}

// Sign, first digit, the other significant digits after a point, the exponent in two
// digits (three from 100).
num_text scientific_text(bool negative, const exponent_form& f, int32_t significant, char letter) {
    num_text t;
    char* p = t.bytes;
    *p++ = negative ? '-' : ' ';
    *p++ = f.digit[0];
    if (significant > 1) {
        *p++ = '.';
        for (int32_t i = 1; i < significant; i++) *p++ = f.digit[i];
    }
    *p++ = letter;
    int32_t e = f.exponent;
    *p++ = e < 0 ? '-' : '+';
    if (e < 0) e = -e;
    if (e >= 100) *p++ = static_cast<char>('0' + e / 100);
    *p++ = static_cast<char>('0' + e / 10 % 10);
    *p++ = static_cast<char>('0' + e % 10);
    t.length = static_cast<int32_t>(p - t.bytes);
    return t;
}

int32_t significant_digits(const exponent_form& f, int32_t digits) {
    while (digits > 0 && f.digit[digits - 1] == '0') digits--;
    return digits;
}

// The shared layout of STR$ for SINGLE (7 digits) and DOUBLE (16, or 15 when the 16th is a 9).
num_text float_str(double value, int32_t digits, int32_t fixed_max_exponent, int32_t fixed_min_gap, char letter) {
    exponent_form f = exponent_digits(value, digits - 1);
    if (digits == 16 && f.digit[15] == '9') {
        digits = 15;
        f = exponent_digits(value, digits - 1);
    }
    int32_t d = significant_digits(f, digits);
    if (d == 0) return text_of(" 0");
    int32_t e = f.exponent;
    if (e <= fixed_max_exponent && e - d >= fixed_min_gap) {
        int32_t decimals = d - e - 1;
        return fixed_text(value, decimals > 0 ? decimals : 0);
    }
    return scientific_text(std::signbit(value), f, d, letter);
}

template <typename T>
num_text general_text(T value, int32_t precision, char letter) {
    if (!std::isfinite(value)) return special_text(value, false);
    num_text t;
    char* end = std::to_chars(t.bytes, t.bytes + sizeof t.bytes, value, std::chars_format::general, precision).ptr;
    t.length = static_cast<int32_t>(end - t.bytes);
    for (int32_t i = 0; i < t.length; i++)
        if (t.bytes[i] == 'e') t.bytes[i] = letter;
    return t;
}

}  // namespace

num_text num_str(int64_t value) { return integer_text(value, true); }
num_text num_str(int32_t value) { return integer_text(value, true); }
num_text num_str(int16_t value) { return integer_text(static_cast<int32_t>(value), true); }
num_text num_str(int8_t value) { return integer_text(static_cast<int32_t>(value), true); }
num_text num_str(uint64_t value) { return integer_text(value, true); }
num_text num_str(uint32_t value) { return integer_text(value, true); }
num_text num_str(uint16_t value) { return integer_text(static_cast<uint32_t>(value), true); }
num_text num_str(uint8_t value) { return integer_text(static_cast<uint32_t>(value), true); }

num_text num_str(float value) {
    if (!std::isfinite(value)) return special_text(value, true);
    return float_str(value, 7, 6, -8, 'E');
}

num_text num_str(double value) {
    if (!std::isfinite(value)) return special_text(value, true);
    return float_str(value, 16, 15, -17, 'D');
}

num_text num_str(long double value) { return num_str(static_cast<double>(value)); }

num_text num_tostr(int64_t value) { return integer_text(value, false); }
num_text num_tostr(int32_t value) { return integer_text(value, false); }
num_text num_tostr(int16_t value) { return integer_text(static_cast<int32_t>(value), false); }
num_text num_tostr(int8_t value) { return integer_text(static_cast<int32_t>(value), false); }
num_text num_tostr(uint64_t value) { return integer_text(value, false); }
num_text num_tostr(uint32_t value) { return integer_text(value, false); }
num_text num_tostr(uint16_t value) { return integer_text(static_cast<uint32_t>(value), false); }
num_text num_tostr(uint8_t value) { return integer_text(static_cast<uint32_t>(value), false); }

// A SINGLE is formatted as the DOUBLE it widens to, as the C conversion does.
num_text num_tostr(float value, int32_t precision) { return general_text(static_cast<double>(value), precision, 'E'); }
num_text num_tostr(double value, int32_t precision) { return general_text(value, precision, 'D'); }
num_text num_tostr(long double value, int32_t precision) { return general_text(value, precision, 'F'); }

int32_t tostr_precision(int32_t digits, int32_t passed, int32_t largest) {
    if (!passed) return largest;
    if (digits <= 0) return 1;
    return digits > largest ? largest : digits;
}
