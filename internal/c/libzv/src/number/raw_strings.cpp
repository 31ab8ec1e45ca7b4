// MK...$ / CV... and the MBF functions: numbers to raw byte strings and back.
#include "number/raw_strings.h"

#include <bit>

#include "error/error.h"
#include "number/mbf.h"
#include "number/raw_bytes.h"
#include "number/zvs_text.h"

namespace {

zvs* raw_of(uint64_t bits, int32_t size) {
    if (new_error_is_set()) return zvs_new(0, 1);
    uint8_t bytes[8];
    raw_put(bits, size, bytes);
    return zvs_of_bytes(bytes, size);
}

// The first size bytes of s as bits; false (error 5 raised) when s is shorter.
bool raw_from(zvs* s, int32_t size, uint64_t* bits) {
    if (new_error_is_set()) return false;
    if (s->length < size) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return false;
    }
    *bits = raw_get(s->text, size);
    return true;
}

template <typename T>
T integer_from(zvs* s) {
    uint64_t bits;
    if (!raw_from(s, sizeof(T), &bits)) return 0;
    return static_cast<T>(bits);
}

}  // namespace

zvs* b2string(int8_t value) { return raw_of(static_cast<uint8_t>(value), 1); }
zvs* ub2string(uint8_t value) { return raw_of(value, 1); }
zvs* i2string(int16_t value) { return raw_of(static_cast<uint16_t>(value), 2); }
zvs* ui2string(uint16_t value) { return raw_of(value, 2); }
zvs* l2string(int32_t value) { return raw_of(static_cast<uint32_t>(value), 4); }
zvs* ul2string(uint32_t value) { return raw_of(value, 4); }
zvs* i642string(int64_t value) { return raw_of(static_cast<uint64_t>(value), 8); }
zvs* ui642string(uint64_t value) { return raw_of(value, 8); }
zvs* o2string(intptr_t value) { return raw_of(static_cast<uint64_t>(value), sizeof(intptr_t)); }
zvs* uo2string(uintptr_t value) { return raw_of(value, sizeof(uintptr_t)); }
zvs* s2string(float value) { return raw_of(std::bit_cast<uint32_t>(value), 4); }
zvs* d2string(double value) { return raw_of(std::bit_cast<uint64_t>(value), 8); }

zvs* f2string(long double value) {
    if (new_error_is_set()) return zvs_new(0, 1);
    uint8_t bytes[raw_extended_size];
    raw_put_extended(value, bytes);
    return zvs_of_bytes(bytes, raw_extended_size);
}

zvs* bit2string(uint32_t n, int64_t value) { return raw_of(static_cast<uint64_t>(value) & raw_bit_mask(n), raw_bit_size(n)); }
zvs* ubit2string(uint32_t n, uint64_t value) { return raw_of(value & raw_bit_mask(n), raw_bit_size(n)); }

int8_t string2b(zvs* s) { return integer_from<int8_t>(s); }
uint8_t string2ub(zvs* s) { return integer_from<uint8_t>(s); }
int16_t string2i(zvs* s) { return integer_from<int16_t>(s); }
uint16_t string2ui(zvs* s) { return integer_from<uint16_t>(s); }
int32_t string2l(zvs* s) { return integer_from<int32_t>(s); }
uint32_t string2ul(zvs* s) { return integer_from<uint32_t>(s); }
int64_t string2i64(zvs* s) { return integer_from<int64_t>(s); }
uint64_t string2ui64(zvs* s) { return integer_from<uint64_t>(s); }
intptr_t string2o(zvs* s) { return integer_from<intptr_t>(s); }
uintptr_t string2uo(zvs* s) { return integer_from<uintptr_t>(s); }

float string2s(zvs* s) {
    uint64_t bits;
    if (!raw_from(s, 4, &bits)) return 0;
    return std::bit_cast<float>(static_cast<uint32_t>(bits));
}

double string2d(zvs* s) {
    uint64_t bits;
    if (!raw_from(s, 8, &bits)) return 0;
    return std::bit_cast<double>(bits);
}

long double string2f(zvs* s) {
    if (new_error_is_set()) return 0;
    if (s->length < raw_extended_size) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return raw_get_extended(s->text);
}

int64_t string2bit(zvs* s, uint32_t n) {
    uint64_t bits;
    if (!raw_from(s, raw_bit_size(n), &bits)) return 0;
    return raw_bit_sign_extend(bits, n);
}

uint64_t string2ubit(zvs* s, uint32_t n) {
    uint64_t bits;
    if (!raw_from(s, raw_bit_size(n), &bits)) return 0;
    return bits & raw_bit_mask(n);
}

zvs* func_mksmbf(float value) {
    if (new_error_is_set()) return zvs_new(0, 1);
    uint8_t bytes[4];
    if (!mbf_from_single(value, bytes)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return zvs_new(0, 1);
    }
    return zvs_of_bytes(bytes, 4);
}

zvs* func_mkdmbf(double value) {
    if (new_error_is_set()) return zvs_new(0, 1);
    uint8_t bytes[8];
    if (!mbf_from_double(value, bytes)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return zvs_new(0, 1);
    }
    return zvs_of_bytes(bytes, 8);
}

float func_cvsmbf(zvs* s) {
    if (new_error_is_set()) return 0;
    float value;
    if (!mbf_to_single(s->text, s->length, &value)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return value;
}

double func_cvdmbf(zvs* s) {
    if (new_error_is_set()) return 0;
    double value;
    if (!mbf_to_double(s->text, s->length, &value)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return value;
}
