// The decomposed number of READ and INPUT # and its converters to floating, int64 and uint64 values.
#include "number/decomposed.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "number/file_input.h"

namespace {

decomposed_number number;

// Limits compared digit by digit with the significant digits.
constexpr std::string_view range_float_max = "17976931348623157";
constexpr std::string_view range_int64_max = "9223372036854775807";
constexpr std::string_view range_int64_neg_max = "9223372036854775808";
constexpr std::string_view range_uint64_max = "18446744073709551615";

// At most this many significant digits reach the decimal conversion.
constexpr int32_t float_digits = 17;

// The first differing digit decides; equal up to the shorter of the two passes.
bool within_range(std::string_view range) {
    size_t count = number.n_digits < range.size() ? number.n_digits : range.size();
    for (size_t i = 0; i < count; i++) {
        if (number.n_digit[i] > range[i]) return false;
        if (number.n_digit[i] < range[i]) return true;
    }
    return true;
}

uint32_t digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// The 64-bit pattern of a based number; false when its digits do not fit. Leading
// zeros count, as the tokenizers store them.
bool based_pattern(uint64_t* pattern) {
    int32_t digits = number.n_digits;
    uint32_t shift = number.n_hex == 1 ? 4 : number.n_hex == 2 ? 3 : 1;
    if (number.n_hex == 1 && digits > 16) return false;
    if (number.n_hex == 2 && (digits > 22 || (digits == 22 && digit_value(number.n_digit[0]) > 1))) return false;
    if (number.n_hex == 3 && digits > 64) return false;
    uint64_t bits = 0;
    for (int32_t i = 0; i < digits; i++) bits = bits << shift | digit_value(number.n_digit[i]);
    *pattern = bits;
    return true;
}

// The integer part: the first n_exp + 1 digits, missing ones counting as zeros. The
// callers have bounded n_exp, so the magnitude fits 64 bits.
uint64_t integer_magnitude() {
    if (number.n_exp < 0) return 0;
    uint64_t value = 0;
    for (int64_t i = 0; i <= number.n_exp; i++) value = value * 10 + (i < number.n_digits ? number.n_digit[i] - '0' : 0);
    return value;
}

}  // namespace

decomposed_number& n_number() { return number; }

void n_clear() {
    number.n_digits = 0;
    number.n_exp = 0;
    number.n_neg = 0;
    number.n_hex = 0;
}

int64_t build_int64(uint32_t high, uint32_t low) { return static_cast<int64_t>(build_uint64(high, low)); }
uint64_t build_uint64(uint32_t high, uint32_t low) { return uint64_t{high} << 32 | low; }

int32_t n_roundincrement() {
    // Below 0.1 the first dropped digit is a leading zero that was never stored.
    int64_t index = number.n_exp + 1;
    if (number.n_digits == 0 || index < 0 || index >= number.n_digits) return 0;
    return number.n_digit[index] >= '5' ? 1 : 0;
}

int32_t n_float() {
    if (number.n_digits == 0) {
        number.n_float_value = 0;
        return 1;
    }
    if (number.n_hex) {
        uint64_t pattern;
        if (!based_pattern(&pattern)) return 0;
        number.n_float_value = static_cast<long double>(static_cast<int64_t>(pattern));
        return 1;
    }
    if (number.n_exp > 308 || (number.n_exp == 308 && !within_range(range_float_max))) return 0;
    if (number.n_exp < -324) {
        number.n_float_value = 0;
        return 1;
    }
    // [-]ddd...E<power>: an integer mantissa needs no decimal point, so no locale.
    int32_t digits = number.n_digits < float_digits ? number.n_digits : float_digits;
    char text[float_digits + 16];
    char* p = text;
    if (number.n_neg) *p++ = '-';
    std::memcpy(p, number.n_digit, digits);
    p += digits;
    *p++ = 'E';
    p = std::to_chars(p, text + sizeof text, number.n_exp - (digits - 1)).ptr;
    double value = 0;
    // Out of range here can only be an underflow to zero.
    if (std::from_chars(text, p, value).ec == std::errc::result_out_of_range) value = number.n_neg ? -0.0 : 0.0;
    number.n_float_value = value;
    return 1;
}

int32_t n_int64() {
    if (number.n_digits == 0) {
        number.n_int64_value = 0;
        return 1;
    }
    if (number.n_hex) {
        uint64_t pattern;
        if (!based_pattern(&pattern)) return 0;
        number.n_int64_value = static_cast<int64_t>(pattern);
        return 1;
    }
    if (number.n_exp > 18) return 0;
    if (number.n_exp == 18 && !within_range(number.n_neg ? range_int64_neg_max : range_int64_max)) return 0;
    uint64_t magnitude = integer_magnitude();
    uint64_t limit = number.n_neg ? build_uint64(0x80000000u, 0) : build_uint64(0x7FFFFFFFu, 0xFFFFFFFFu);
    // Halves go away from zero.
    if (n_roundincrement()) {
        if (magnitude == limit) return 0;
        magnitude++;
    }
    number.n_int64_value = number.n_neg ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return 1;
}

int32_t n_uint64() {
    if (number.n_digits == 0) {
        number.n_uint64_value = 0;
        return 1;
    }
    if (number.n_hex) {
        uint64_t pattern;
        if (!based_pattern(&pattern)) return 0;
        number.n_uint64_value = pattern;
        return 1;
    }
    if (number.n_neg && number.n_exp >= 0) return 0;
    if (number.n_exp > 19) return 0;
    if (number.n_exp == 19 && !within_range(range_uint64_max)) return 0;
    uint64_t magnitude = integer_magnitude();
    if (n_roundincrement()) {
        if (number.n_neg || magnitude == build_uint64(0xFFFFFFFFu, 0xFFFFFFFFu)) return 0;
        magnitude++;
    }
    number.n_uint64_value = magnitude;
    return 1;
}

void number_reset_for_tests() {
    number = decomposed_number{};
    number_set_file_source(nullptr);
}
