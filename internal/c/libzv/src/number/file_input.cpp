// INPUT # of numbers: reads one numeric item of a file through the file statements' character source.
#include "number/file_input.h"

#include "error/error.h"
#include "number/decomposed.h"
#include "number/read_data.h"

namespace {

constexpr int32_t max_exponent_digits = 18;
constexpr int32_t end_of_file = -1;
constexpr int32_t read_failed = -2;

// Until the file statements install theirs: no file is open, and the byte reader
// refuses every index, as the file layer does for a bad one.
int32_t no_file_check(int32_t) { return 52; }
int32_t no_file_chr(int32_t) {
    error(ERR_INVALID_HANDLE);
    return read_failed;
}
int32_t no_file_nextitem(int32_t, int32_t character) { return character; }

constexpr number_file_source no_file_source{no_file_check, no_file_chr, no_file_nextitem};
const number_file_source* source = &no_file_source;

// Digits of a based number after "&H", "&O" or "&B"; `c` receives the byte that ended them.
int32_t based_digits(int32_t file, uint8_t base, int32_t& c) {
    decomposed_number& n = n_number();
    n.n_hex = base;
    for (c = source->input_chr(file); c >= 0 && number_is_base_digit(c, base); c = source->input_chr(file))
        if (!number_store_digit(n, c)) return n_result_overflow;
    return n_result_number;
}

// The decimal state machine of READ, except that a byte it does not accept ends the
// number; `c` holds the first byte and receives the byte that ended the number.
int32_t decimal_digits(int32_t file, int32_t& c) {
    decomposed_number& n = n_number();
    enum { start, integer, fraction, exponent_letter, exponent_digits } state = start;
    bool significant = false;
    bool exponent_negative = false;
    int32_t exponent_count = 0;
    int64_t exponent_value = 0;
    for (; c >= 0; c = source->input_chr(file)) {
        if ((c == '-' || c == '+') && state == start) {
            n.n_neg = c == '-';
            state = integer;
        } else if ((c == '-' || c == '+') && state == exponent_letter) {
            exponent_negative = c == '-';
            state = exponent_digits;
        } else if (c == '.' && (state == start || state == integer)) {
            state = fraction;
            if (!significant) n.n_exp = -1;
        } else if (number_is_exponent_letter(c) && (state == start || state == integer || state == fraction)) {
            state = exponent_letter;
        } else if (number_is_digit(c) && (state == start || state == integer)) {
            state = integer;
            if (c == '0' && !significant) continue;
            if (significant) n.n_exp++;
            significant = true;
            if (!number_store_digit(n, c)) return n_result_overflow;
        } else if (number_is_digit(c) && state == fraction) {
            if (c == '0' && !significant) {
                n.n_exp--;
                continue;
            }
            significant = true;
            if (!number_store_digit(n, c)) return n_result_overflow;
        } else if (number_is_digit(c)) {
            state = exponent_digits;
            if (c == '0' && exponent_count == 0) continue;
            if (exponent_count == max_exponent_digits) return n_result_overflow;
            exponent_count++;
            exponent_value = exponent_value * 10 + (c - '0');
        } else {
            break;
        }
    }
    n.n_exp += exponent_negative ? -exponent_value : exponent_value;
    return n_result_number;
}

// Raises the error of a tokenizer result; true when a number was read.
bool tokenized(int32_t result) {
    switch (result) {
        case n_result_number: return true;
        case n_result_overflow: error(ERR_OVERFLOW); return false;
        case n_result_nothing: error(ERR_INPUT_PAST_END); return false;
        default: return false;  // the reader or the check raised it
    }
}

}  // namespace

void number_set_file_source(const number_file_source* file_source) {
    source = file_source ? file_source : &no_file_source;
}

int32_t n_inputnumberfromfile(int32_t file) {
    // Negative numbers go to the byte reader unchecked; it refuses them itself.
    if (file >= 0) {
        int32_t refused = source->input_check(file);
        if (refused) {
            error(refused);
            return n_result_syntax;
        }
    }
    n_clear();
    int32_t c = source->input_chr(file);
    // Spaces only: a tab or a line end ends a number that has no digits.
    while (c == ' ') c = source->input_chr(file);
    if (c == read_failed) return n_result_syntax;
    if (c == end_of_file) {
        source->input_nextitem(file, c);
        return n_result_nothing;
    }
    int32_t result;
    if (c == '&') {
        c = source->input_chr(file);
        uint8_t base = number_base_of(c);
        // "&" before anything but H, O or B is the number 0.
        result = base ? based_digits(file, base, c) : n_result_number;
    } else {
        result = decimal_digits(file, c);
    }
    if (c == read_failed) {
        n_clear();
        return n_result_syntax;
    }
    source->input_nextitem(file, c);
    if (result != n_result_number) {
        n_clear();
        return result;
    }
    decomposed_number& n = n_number();
    if (n.n_digits == 0) {
        n.n_exp = 0;
        n.n_neg = 0;
    }
    return n_result_number;
}

long double func_file_input_float(int32_t file, uint32_t type_word) {
    if (new_error_is_set()) return 0;
    if (!tokenized(n_inputnumberfromfile(file))) return 0;
    long double value;
    if (!n_float() || !n_value_for_target(type_word, &value)) {
        error(ERR_OVERFLOW);
        return 0;
    }
    return value;
}

int64_t func_file_input_int64(int32_t file) {
    if (new_error_is_set()) return 0;
    if (!tokenized(n_inputnumberfromfile(file))) return 0;
    if (!n_int64()) {
        error(ERR_OVERFLOW);
        return 0;
    }
    return n_number().n_int64_value;
}

uint64_t func_file_input_uint64(int32_t file) {
    if (new_error_is_set()) return 0;
    if (!tokenized(n_inputnumberfromfile(file))) return 0;
    if (!n_uint64()) {
        error(ERR_OVERFLOW);
        return 0;
    }
    return n_number().n_uint64_value;
}

void revert_input_check() {}
