// PRINT USING's per-type entry points: each number as the decimal digits it lays out.
#include <cinttypes>
#include <cstdio>
#include <string>

#include "error/error.h"
#include "number/print_using.h"

namespace {

pu_number number{"0", 1, 0, 0, 'E'};

// The exact decimal expansion of v in "% .255E" form: a sign character, one digit, a
// point, 255 digits, E, the exponent's sign and digits. False for another shape.
bool decompose_exponent_text(double v) {
    char text[400];
    int n = std::snprintf(text, sizeof text, "% .255E", v);
    if (n != 1 + 1 + 1 + 255 + 4 && n != 1 + 1 + 1 + 255 + 5) return false;
    if (text[1] < '0' || text[1] > '9' || text[2] != '.' || text[258] != 'E') return false;
    int32_t exponent = 0;
    for (int i = 260; i < n; i++) exponent = exponent * 10 + (text[i] - '0');
    if (text[259] == '-') exponent = -exponent;
    number.pu_dig.assign(1, text[1]);
    number.pu_dig.append(text + 3, 255);
    number.pu_ndig = 256;
    number.pu_dp = exponent - 255;
    number.pu_neg = text[0] == '-';
    return true;
}

// "% .255Lf": the integer digits and 255 decimals, leading zeros dropped, so the first
// digit is the first significant one (zero keeps a single 0).
bool decompose_fixed_text(long double v) {
    int n = std::snprintf(nullptr, 0, "% .255Lf", v);
    if (n < 1 + 1 + 1 + 255) return false;
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), "% .255Lf", v);
    text.resize(static_cast<size_t>(n));
    size_t point = static_cast<size_t>(n) - 256;
    if (text[point] != '.' || text[1] < '0' || text[1] > '9') return false;
    std::string digits = text.substr(1, point - 1) + text.substr(point + 1);
    size_t first = digits.find_first_not_of('0');
    number.pu_neg = text[0] == '-';
    if (first == std::string::npos) {
        number.pu_dig = "0";
        number.pu_dp = 0;
    } else {
        number.pu_dig = digits.substr(first);
        number.pu_dp = -255;
    }
    number.pu_ndig = static_cast<int32_t>(number.pu_dig.size());
    return true;
}

void decompose_integer_text(const char* digits, int32_t neg) {
    number.pu_dig = digits;
    number.pu_ndig = static_cast<int32_t>(number.pu_dig.size());
    number.pu_dp = 0;
    number.pu_neg = neg;
}

// Lays the decomposed number out with the exponent letter of its type.
int32_t lay_out(zvs* format, int32_t position, zvs* dest, char exp_char) {
    number.pu_exp_char = exp_char;
    int32_t next = print_using(format, position, dest, nullptr);
    number.pu_exp_char = 'E';
    return next;
}

}  // namespace

pu_number& pu_value() { return number; }

int32_t print_using_integer64(zvs* format, int64_t value, int32_t position, zvs* dest) {
    if (new_error_is_set()) return 0;
    char text[32];
    std::snprintf(text, sizeof text, "% lld", static_cast<long long>(value));
    decompose_integer_text(text + 1, text[0] == '-');
    return lay_out(format, position, dest, 'E');
}

int32_t print_using_uinteger64(zvs* format, uint64_t value, int32_t position, zvs* dest) {
    if (new_error_is_set()) return 0;
    char text[32];
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value));
    decompose_integer_text(text, 0);
    return lay_out(format, position, dest, 'E');
}

int32_t print_using_single(zvs* format, float value, int32_t position, zvs* dest) {
    if (new_error_is_set()) return 0;
    if (!decompose_exponent_text(static_cast<double>(value))) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return lay_out(format, position, dest, 'E');
}

int32_t print_using_double(zvs* format, double value, int32_t position, zvs* dest) {
    if (new_error_is_set()) return 0;
    if (!decompose_exponent_text(value)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return lay_out(format, position, dest, 'D');
}

int32_t print_using_float(zvs* format, long double value, int32_t position, zvs* dest) {
    if (new_error_is_set()) return 0;
    if (!decompose_fixed_text(value)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return lay_out(format, position, dest, 'F');
}
