// VAL: reads a decimal or &H/&O/&B number from the start of a text, skipping blanks.
#include "number/val.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "error/error.h"
#include "number/zvs_text.h"
#include "string/zvs.h"

namespace {

// Significant digits kept of a decimal text; later integer digits still count in the exponent.
constexpr int32_t val_max_digits = 256;
// Far beyond every finite extended value, so the conversion gives infinity or 0.
constexpr int64_t val_exponent_limit = 100000;
constexpr int32_t val_max_exponent_digits = 18;

enum class val_kind { zero, based, integer, decimal };

struct val_number {
    val_kind kind;
    bool negative;
    // The based bit pattern, or the integer digits accumulated (saturating at 2^64 - 1).
    uint64_t bits;
    // A decimal text with a fraction or a non-zero exponent: d1.d2d3... x 10^exponent.
    char digit[val_max_digits];
    int32_t digits;
    int64_t exponent;
};

bool is_blank(uint8_t c) { return c == ' ' || c == '\t'; }
bool is_digit(uint8_t c) { return c >= '0' && c <= '9'; }
bool is_exponent_letter(uint8_t c) {
    uint8_t lower = c | 0x20;
    return lower == 'd' || lower == 'e' || lower == 'f';
}

// Value of a based digit, or 16 for a byte that is not one.
uint32_t based_digit(uint8_t c) {
    if (is_digit(c)) return c - '0';
    uint8_t lower = c | 0x20;
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return 16;
}

// The text after '&'. False when the digits do not fit 64 bits.
bool scan_based(const uint8_t* p, const uint8_t* end, val_number& n) {
    n.kind = val_kind::zero;
    if (end - p < 2) return true;
    uint32_t shift;
    switch (*p | 0x20) {
        case 'h': shift = 4; break;
        case 'o': shift = 3; break;
        case 'b': shift = 1; break;
        default: return true;
    }
    uint32_t base = 1u << shift;
    int32_t max_digits = shift == 4 ? 16 : shift == 3 ? 22 : 64;
    int32_t significant = 0;
    uint32_t first = 0;
    uint64_t bits = 0;
    for (p++; p < end; p++) {
        uint32_t d = based_digit(*p);
        if (d >= base) break;
        if (significant == 0) {
            if (d == 0) continue;
            first = d;
        }
        significant++;
        // 22 octal digits hold 64 bits only when the first is 1.
        if (significant > max_digits || (shift == 3 && significant == max_digits && first > 1)) return false;
        bits = bits << shift | d;
    }
    n.kind = val_kind::based;
    n.bits = bits;
    return true;
}

void scan_decimal(const uint8_t* p, const uint8_t* end, val_number& n) {
    enum { start, signed_start, integer, fraction, exponent_sign, exponent_digits } state = start;
    uint64_t accumulated = 0;
    bool significant = false;
    bool fraction_digit = false;
    bool exponent_negative = false;
    int32_t exponent_count = 0;
    int64_t exponent_value = 0;
    n.negative = false;
    n.digits = 0;
    n.exponent = 0;
    for (; p < end; p++) {
        uint8_t c = *p;
        if (is_blank(c)) continue;
        if ((state == start) && (c == '+' || c == '-')) {
            n.negative = c == '-';
            state = signed_start;
        } else if (state <= integer && is_digit(c)) {
            state = integer;
            if (c == '0' && !significant) continue;
            if (significant)
                n.exponent++;
            else
                significant = true;
            if (n.digits < val_max_digits) n.digit[n.digits++] = static_cast<char>(c);
            uint64_t d = c - '0';
            accumulated = accumulated > (std::numeric_limits<uint64_t>::max() - d) / 10
                              ? std::numeric_limits<uint64_t>::max()
                              : accumulated * 10 + d;
        } else if (state <= integer && c == '.') {
            state = fraction;
            if (!significant) n.exponent = -1;
        } else if (state == fraction && is_digit(c)) {
            fraction_digit = true;
            if (!significant) {
                if (c == '0') {
                    n.exponent--;
                    continue;
                }
                significant = true;
            }
            if (n.digits < val_max_digits) n.digit[n.digits++] = static_cast<char>(c);
        } else if (state <= fraction && is_exponent_letter(c)) {
            state = exponent_sign;
        } else if (state == exponent_sign && (c == '+' || c == '-')) {
            exponent_negative = c == '-';
            state = exponent_digits;
        } else if (state >= exponent_sign && is_digit(c)) {
            state = exponent_digits;
            if (c == '0' && exponent_count == 0) continue;
            if (exponent_count == val_max_exponent_digits) break;
            exponent_count++;
            exponent_value = exponent_value * 10 + (c - '0');
        } else {
            break;
        }
    }
    if (!significant) {
        n.kind = val_kind::zero;
        return;
    }
    if (!fraction_digit && exponent_value == 0) {
        n.kind = val_kind::integer;
        n.bits = accumulated;
        return;
    }
    n.kind = val_kind::decimal;
    n.exponent += exponent_negative ? -exponent_value : exponent_value;
    if (n.exponent > val_exponent_limit) n.exponent = val_exponent_limit;
    if (n.exponent < -val_exponent_limit) n.exponent = -val_exponent_limit;
}

// False for a based number that overflows (error 6 already raised).
bool scan(const uint8_t* text, int32_t length, val_number& n) {
    n.kind = val_kind::zero;
    n.negative = false;
    if (text == nullptr || length <= 0) return true;
    const uint8_t* p = text;
    const uint8_t* end = text + length;
    while (p < end && is_blank(*p)) p++;
    if (p < end && *p == '&') {
        if (scan_based(p + 1, end, n)) return true;
        error(ERR_OVERFLOW);
        return false;
    }
    scan_decimal(p, end, n);
    return true;
}

// Powers of ten that the extended type holds exactly (5^27 < 2^64).
constexpr long double exact_powers[] = {1E0L,  1E1L,  1E2L,  1E3L,  1E4L,  1E5L,  1E6L,  1E7L,  1E8L,  1E9L,
                                        1E10L, 1E11L, 1E12L, 1E13L, 1E14L, 1E15L, 1E16L, 1E17L, 1E18L, 1E19L,
                                        1E20L, 1E21L, 1E22L, 1E23L, 1E24L, 1E25L, 1E26L, 1E27L};
constexpr int32_t max_exact_power = 27;
// Up to 19 digits fit the 64-bit mantissa exactly.
constexpr int32_t max_exact_digits = 19;

// The magnitude of a decimal text, correctly rounded to the extended type.
long double decimal_magnitude(const val_number& n) {
    int32_t digits = n.digits;
    while (digits > 1 && n.digit[digits - 1] == '0') digits--;
    int64_t power = n.exponent - (digits - 1);
    if (digits <= max_exact_digits && power >= -max_exact_power && power <= max_exact_power) {
        // Both operands exact: one multiplication or division rounds correctly.
        uint64_t mantissa = 0;
        for (int32_t i = 0; i < digits; i++) mantissa = mantissa * 10 + (n.digit[i] - '0');
        long double m = static_cast<long double>(mantissa);
        return power >= 0 ? m * exact_powers[power] : m / exact_powers[-power];
    }
    // The digits as an integer with a power of ten: no decimal point, so no locale.
    char text[val_max_digits + 16];
    char* p = text;
    for (int32_t i = 0; i < n.digits; i++) *p++ = n.digit[i];
    *p++ = 'E';
    p = std::to_chars(p, text + sizeof text, n.exponent - (n.digits - 1)).ptr;
    long double value = 0;
    if (std::from_chars(text, p, value).ec == std::errc::result_out_of_range)
        value = n.exponent > 0 ? std::numeric_limits<long double>::infinity() : 0.0L;
    return value;
}

// An integer text as a signed 64-bit value: beyond the range it saturates.
int64_t saturated_integer(const val_number& n) {
    constexpr uint64_t limit = uint64_t{1} << 63;
    if (!n.negative) return n.bits >= limit ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(n.bits);
    if (n.bits >= limit) return std::numeric_limits<int64_t>::min();
    return -static_cast<int64_t>(n.bits);
}

}  // namespace

long double val_float(const uint8_t* text, int32_t length) {
    val_number n;
    if (!scan(text, length, n)) return 0;
    switch (n.kind) {
        case val_kind::zero: return 0;
        case val_kind::based: return static_cast<long double>(n.bits);
        case val_kind::integer: return static_cast<long double>(saturated_integer(n));
        case val_kind::decimal: {
            long double magnitude = decimal_magnitude(n);
            return n.negative ? -magnitude : magnitude;
        }
    }
    return 0;
}

int64_t val_int64(const uint8_t* text, int32_t length) {
    val_number n;
    if (!scan(text, length, n)) return 0;
    switch (n.kind) {
        case val_kind::zero: return 0;
        case val_kind::based: return static_cast<int64_t>(n.bits);
        case val_kind::integer: return saturated_integer(n);
        case val_kind::decimal: {
            // Toward zero, saturating; never converts an out-of-range value.
            long double magnitude = truncl(decimal_magnitude(n));
            if (magnitude >= 0x1p63L) return n.negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
            int64_t value = llrintl(magnitude);
            return n.negative ? -value : value;
        }
    }
    return 0;
}

uint64_t val_uint64(const uint8_t* text, int32_t length) {
    val_number n;
    if (!scan(text, length, n)) return 0;
    switch (n.kind) {
        case val_kind::zero: return 0;
        case val_kind::based:
        case val_kind::integer: return n.bits;
        case val_kind::decimal: {
            long double magnitude = truncl(decimal_magnitude(n));
            if (magnitude >= 0x1p64L) return std::numeric_limits<uint64_t>::max();
            if (magnitude >= 0x1p63L) return static_cast<uint64_t>(llrintl(magnitude - 0x1p63L)) + (uint64_t{1} << 63);
            return static_cast<uint64_t>(llrintl(magnitude));
        }
    }
    return 0;
}

long double zvs_val(zvs* s) { return new_error_is_set() ? 0 : val_float(s->text, s->length); }
int64_t zvs_val_int64(zvs* s) { return new_error_is_set() ? 0 : val_int64(s->text, s->length); }
uint64_t zvs_val_uint64(zvs* s) { return new_error_is_set() ? 0 : val_uint64(s->text, s->length); }
