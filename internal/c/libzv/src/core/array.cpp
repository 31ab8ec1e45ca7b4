// Subscript checks, LBOUND and UBOUND.
#include "core/array.h"

#include <cmath>

#include "core/statement_flags.h"
#include "error/error.h"

namespace {

constexpr long double two_63 = 9223372036854775808.0L;
constexpr long double two_64 = 18446744073709551616.0L;
constexpr uint64_t integer_indefinite = 0x8000000000000000ull;

alignas(16) const uint8_t nothing_value[8] = {};

}  // namespace

static_assert(sizeof(long double) >= 10 && __LDBL_MANT_DIG__ == 64, "the extended type is x87 80-bit");

void* array_nothing_value() { return const_cast<uint8_t*>(nothing_value); }

uint64_t round_to_uint64(long double x) {
    if (std::isnan(x)) return integer_indefinite;
    long double r = nearbyintl(x);
    if (r < -two_63 || r >= two_64) return integer_indefinite;
    if (r < two_63) return uint64_t(int64_t(r));
    return uint64_t(r - two_63) | integer_indefinite;
}

uint32_t array_check(uint32_t index, uint32_t count) {
    if (index < count) return index;
    error(ERR_SUBSCRIPT_OUT_OF_RANGE);
    return 0;
}

uint32_t array_index(long double x, const array_dimension& d) {
    if (!std::isnan(x)) {
        long double r = nearbyintl(x);
        if (r >= -two_63 && r < two_63) {
            int64_t v = int64_t(r);
            // v >= lbound, so the difference fits an unsigned 64-bit word.
            if (v >= d.lbound && d.count > 0 && uint64_t(v) - uint64_t(int64_t(d.lbound)) < uint64_t(d.count))
                return uint32_t(uint64_t(v) - uint64_t(int64_t(d.lbound)));
        }
    }
    error(ERR_SUBSCRIPT_OUT_OF_RANGE);
    return 0;
}

int32_t array_lbound(uint32_t flags, const array_dimension* dims, int32_t dimension, int32_t dimensions) {
    if (new_error_is_set()) return 0;
    if (!dims || dimension < 1 || dimension > dimensions || !(flags & ARRAY_ALLOCATED)) {
        error(ERR_SUBSCRIPT_OUT_OF_RANGE);
        return 0;
    }
    return dims[dimensions - dimension].lbound;
}

int32_t array_ubound(uint32_t flags, const array_dimension* dims, int32_t dimension, int32_t dimensions) {
    if (new_error_is_set()) return 0;
    if (!dims || dimension < 1 || dimension > dimensions || !(flags & ARRAY_ALLOCATED)) {
        error(ERR_SUBSCRIPT_OUT_OF_RANGE);
        return 0;
    }
    const array_dimension& d = dims[dimensions - dimension];
    return int32_t(int64_t(d.lbound) + d.count - 1);
}

int32_t array_check_lbound(uint32_t flags, const array_dimension* dims, int32_t dimension, int32_t dimensions) {
    disableEvents.store(1);
    int32_t v = array_lbound(flags, dims, dimension, dimensions);
    clear_error();
    disableEvents.store(0);
    return v;
}

int32_t array_check_ubound(uint32_t flags, const array_dimension* dims, int32_t dimension, int32_t dimensions) {
    disableEvents.store(1);
    int32_t v = array_ubound(flags, dims, dimension, dimensions);
    clear_error();
    disableEvents.store(0);
    return v;
}
