// HEX$, OCT$ and _BIN$: two's-complement digits as new temporary strings.
#include "number/radix_functions.h"

#include "error/error.h"
#include "number/radix_text.h"
#include "number/zvs_text.h"

namespace {

zvs* radix_of(num_text (*digits)(int64_t, int32_t), int64_t value, int32_t size) {
    if (new_error_is_set()) return zvs_new(0, 1);
    return zvs_of_text(digits(value, size).view());
}

zvs* radix_of_float(num_text (*digits)(int64_t, int32_t), long double value, int32_t size) {
    if (new_error_is_set()) return zvs_new(0, 1);
    int64_t integer;
    if (!num_radix_integer(value, &integer)) {
        error(ERR_OVERFLOW);
        return zvs_new(0, 1);
    }
    return zvs_of_text(digits(integer, size).view());
}

}  // namespace

zvs* func_hex(int64_t value, int32_t digits) { return radix_of(num_hex, value, digits); }
zvs* func_oct(int64_t value, int32_t bits) { return radix_of(num_oct, value, bits); }
zvs* func__bin(int64_t value, int32_t bits) { return radix_of(num_bin, value, bits); }
zvs* func_hex_float(long double value) { return radix_of_float(num_hex, value, radix_float_hex_digits); }
zvs* func_oct_float(long double value) { return radix_of_float(num_oct, value, radix_float_bits); }
zvs* func__bin_float(long double value) { return radix_of_float(num_bin, value, radix_float_bits); }
