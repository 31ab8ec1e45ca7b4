// STR$ and _TOSTR$: number text as new temporary strings.
#include "number/str_functions.h"

#include "error/error.h"
#include "number/number_text.h"
#include "number/zvs_text.h"

namespace {

// The longest text _TOSTR$ may give; longer would be an internal fault.
constexpr int32_t tostr_limit = 32;

template <typename T>
zvs* str_of(T value) {
    if (new_error_is_set()) return zvs_new(0, 1);
    return zvs_of_text(num_str(value).view());
}

template <typename T>
zvs* tostr_integer(T value) {
    if (new_error_is_set()) return zvs_new(0, 1);
    return zvs_of_text(num_tostr(value).view());
}

template <typename T>
zvs* tostr_float(T value, int32_t digits, int32_t passed, int32_t largest) {
    if (new_error_is_set()) return zvs_new(0, 1);
    if (passed && digits < 0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return zvs_new_txt(nullptr);
    }
    num_text text = num_tostr(value, tostr_precision(digits, passed, largest));
    if (text.length >= tostr_limit) {
        error(ERR_INTERNAL);
        return zvs_new(0, 1);
    }
    return zvs_of_text(text.view());
}

}  // namespace

zvs* zvs_str(int64_t value) { return str_of(value); }
zvs* zvs_str(int32_t value) { return str_of(value); }
zvs* zvs_str(int16_t value) { return str_of(value); }
zvs* zvs_str(int8_t value) { return str_of(value); }
zvs* zvs_str(uint64_t value) { return str_of(value); }
zvs* zvs_str(uint32_t value) { return str_of(value); }
zvs* zvs_str(uint16_t value) { return str_of(value); }
zvs* zvs_str(uint8_t value) { return str_of(value); }
zvs* zvs_str(float value) { return str_of(value); }
zvs* zvs_str(double value) { return str_of(value); }
zvs* zvs_str(long double value) { return str_of(value); }

zvs* zvs__tostr(int64_t value, int32_t, int32_t) { return tostr_integer(value); }
zvs* zvs__tostr(int32_t value, int32_t, int32_t) { return tostr_integer(value); }
zvs* zvs__tostr(int16_t value, int32_t, int32_t) { return tostr_integer(value); }
zvs* zvs__tostr(int8_t value, int32_t, int32_t) { return tostr_integer(value); }
zvs* zvs__tostr(uint64_t value, int32_t, int32_t) { return tostr_integer(value); }
zvs* zvs__tostr(uint32_t value, int32_t, int32_t) { return tostr_integer(value); }
zvs* zvs__tostr(uint16_t value, int32_t, int32_t) { return tostr_integer(value); }
zvs* zvs__tostr(uint8_t value, int32_t, int32_t) { return tostr_integer(value); }
zvs* zvs__tostr(float value, int32_t digits, int32_t passed) {
    return tostr_float(value, digits, passed, tostr_single_digits);
}
zvs* zvs__tostr(double value, int32_t digits, int32_t passed) {
    return tostr_float(value, digits, passed, tostr_double_digits);
}
zvs* zvs__tostr(long double value, int32_t digits, int32_t passed) {
    return tostr_float(value, digits, passed, tostr_extended_digits);
}
