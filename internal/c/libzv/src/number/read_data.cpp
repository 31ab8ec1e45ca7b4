// READ: numeric items of the DATA text through the decomposed number, and string items.
#include "number/read_data.h"

#include <cmath>

#include "error/error.h"
#include "number/decomposed.h"
#include "number/type_word.h"
#include "string/zvs.h"

namespace {

constexpr int32_t max_exponent_digits = 18;
// Largest magnitude READ and INPUT # accept for a SINGLE target.
constexpr double single_limit = 3.402823466E+38;

bool is_type_suffix(uint8_t c) {
    return c == '!' || c == '#' || c == '$' || c == '%' || c == '&' || c == '`' || c == '~';
}

// &H, &O or &B item; `i` is just after the '&'.
int32_t based_item(const uint8_t* data, int32_t& i, int32_t length) {
    decomposed_number& n = n_number();
    if (i >= length || data[i] == ',') return n_result_syntax;
    n.n_hex = number_base_of(data[i++]);
    if (n.n_hex == 0) return n_result_syntax;
    bool suffix = false;
    while (i < length) {
        uint8_t c = data[i++];
        if (c == ',') break;
        if (number_is_base_digit(c, n.n_hex)) {
            // Leading zeros are stored too: they count toward the digit limits.
            if (suffix) return n_result_syntax;
            if (!number_store_digit(n, c)) return n_result_overflow;
        } else if (is_type_suffix(c)) {
            suffix = true;
        } else {
            return n_result_syntax;
        }
    }
    return n_result_number;
}

int32_t decimal_item(const uint8_t* data, int32_t& i, int32_t length) {
    decomposed_number& n = n_number();
    enum { start, integer, fraction, exponent_letter, exponent_digits, suffix } state = start;
    bool significant = false;
    bool exponent_negative = false;
    int32_t exponent_count = 0;
    int64_t exponent_value = 0;
    while (i < length) {
        uint8_t c = data[i++];
        if (c == ',') break;
        if (c == '-' || c == '+') {
            if (state == start) {
                n.n_neg = c == '-';
                state = integer;
            } else if (state == exponent_letter) {
                exponent_negative = c == '-';
                state = exponent_digits;
            } else {
                return n_result_syntax;
            }
        } else if (c == '.') {
            if (state != start && state != integer) return n_result_syntax;
            state = fraction;
            if (!significant) n.n_exp = -1;
        } else if (number_is_exponent_letter(c)) {
            if (state != start && state != integer && state != fraction) return n_result_syntax;
            state = exponent_letter;
        } else if (is_type_suffix(c)) {
            state = suffix;
        } else if (number_is_digit(c)) {
            if (state == suffix) return n_result_syntax;
            if (state == start || state == integer) {
                state = integer;
                if (c == '0' && !significant) continue;
                if (significant) n.n_exp++;
                significant = true;
                if (!number_store_digit(n, c)) return n_result_overflow;
            } else if (state == fraction) {
                if (c == '0' && !significant) {
                    n.n_exp--;
                    continue;
                }
                significant = true;
                if (!number_store_digit(n, c)) return n_result_overflow;
            } else {
                state = exponent_digits;
                if (c == '0' && exponent_count == 0) continue;
                if (exponent_count == max_exponent_digits) return n_result_overflow;
                exponent_count++;
                exponent_value = exponent_value * 10 + (c - '0');
            }
        } else {
            // Blanks included: a DATA number has none.
            return n_result_syntax;
        }
    }
    n.n_exp += exponent_negative ? -exponent_value : exponent_value;
    return n_result_number;
}

// Raises the error of a tokenizer result; true when a number was read.
bool tokenized(int32_t result) {
    switch (result) {
        case n_result_number: return true;
        case n_result_nothing: error(ERR_OUT_OF_DATA); return false;
        case n_result_syntax: error(ERR_SYNTAX); return false;
        default: error(ERR_OVERFLOW); return false;
    }
}

}  // namespace

int32_t n_inputnumberfromdata(const uint8_t* data, int32_t* position, int32_t length) {
    n_clear();
    int32_t i = *position;
    // A negative position or length is as used up as a position at the end.
    if (data == nullptr || i < 0 || length < 0 || i >= length) return n_result_nothing;
    int32_t result = data[i] == '&' ? based_item(data, ++i, length) : decimal_item(data, i, length);
    if (result != n_result_number) {
        n_clear();
        return result;
    }
    decomposed_number& n = n_number();
    if (n.n_digits == 0) {
        n.n_exp = 0;
        n.n_neg = 0;
    }
    *position = i;
    return n_result_number;
}

bool n_value_for_target(uint32_t type_word, long double* value) {
    const decomposed_number& n = n_number();
    long double v = n.n_float_value;
    int32_t bits = type_word_bits(type_word);
    if (type_word_is_float(type_word)) {
        if (bits < 64 && std::fabs(v) > single_limit) return false;
        *value = v;
        return true;
    }
    if (bits < 1 || bits > 64) bits = 64;
    if (v < -0x1p63L || v > 0x1p63L) return false;
    // Ties to even, as the floating-point unit rounds on the program thread.
    long double rounded = nearbyintl(v);
    long double span = std::ldexp(1.0L, bits);
    if (type_word_is_unsigned(type_word) || n.n_hex) {
        if (rounded < 0 || rounded > span - 1) return false;
        // A based number fills a signed target's bits: &HFFFF is -1 in an int16.
        if (n.n_hex && !type_word_is_unsigned(type_word) && rounded >= span / 2) rounded -= span;
    } else if (rounded < -span / 2 || rounded > span / 2 - 1) {
        return false;
    }
    *value = rounded;
    return true;
}

long double func_read_float(const uint8_t* data, int32_t* position, int32_t length, uint32_t type_word) {
    if (new_error_is_set()) return 0;
    int32_t item = *position;
    if (!tokenized(n_inputnumberfromdata(data, position, length))) return 0;
    long double value;
    if (!n_float() || !n_value_for_target(type_word, &value)) {
        *position = item;
        error(ERR_OVERFLOW);
        return 0;
    }
    return value;
}

int64_t func_read_int64(const uint8_t* data, int32_t* position, int32_t length) {
    if (new_error_is_set()) return 0;
    int32_t item = *position;
    if (!tokenized(n_inputnumberfromdata(data, position, length))) return 0;
    if (!n_int64()) {
        *position = item;
        error(ERR_OVERFLOW);
        return 0;
    }
    return n_number().n_int64_value;
}

uint64_t func_read_uint64(const uint8_t* data, int32_t* position, int32_t length) {
    if (new_error_is_set()) return 0;
    int32_t item = *position;
    if (!tokenized(n_inputnumberfromdata(data, position, length))) return 0;
    if (!n_uint64()) {
        *position = item;
        error(ERR_OVERFLOW);
        return 0;
    }
    return n_number().n_uint64_value;
}

int32_t data_read_string(const uint8_t* data, int32_t* position, int32_t length, int32_t* start, int32_t* count) {
    int32_t i = *position;
    *start = i;
    *count = 0;
    if (data == nullptr || i < 0 || length < 0 || i >= length) return 4;
    if (data[i] != '"') {
        // A double quote inside an unquoted item is an ordinary character.
        while (i < length && data[i] != ',') i++;
        *count = i - *start;
        *position = i < length ? i + 1 : i;
        return 0;
    }
    int32_t first = ++i;
    while (i < length && data[i] != '"') i++;
    int32_t end = i;
    if (i < length) i++;
    if (i < length && data[i] != ',') {
        // Bytes after the closing quote: the item is lost, READ goes on after it.
        while (i < length && data[i] != ',') i++;
        *position = i < length ? i + 1 : i;
        return 4;
    }
    *start = first;
    *count = end - first;
    *position = i < length ? i + 1 : i;
    return 0;
}

void sub_read_string(const uint8_t* data, int32_t* position, int32_t length, zvs* dest) {
    if (new_error_is_set()) return;
    int32_t start, count;
    int32_t refused = data_read_string(data, position, length, &start, &count);
    if (refused) {
        error(refused);
        zvs_set(dest, zvs_new_txt(nullptr));
        return;
    }
    // A read-only view of the DATA bytes: the assignment copies them into dest.
    zvs_set(dest, zvs_new_txt_len(data + start, count));
}
