// MK...$ and CV... on plain buffers: numbers as their little-endian machine bytes.
#pragma once
#include <bit>
#include <cstdint>

#include "number/extended.h"

// An extended value's raw string: its 10 value bytes, then zeros up to 32.
constexpr int32_t raw_extended_size = 32;

// The low `size` bytes of `bits`, least significant first.
inline void raw_put(uint64_t bits, int32_t size, uint8_t* out) {
    for (int32_t i = 0; i < size; i++) out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

inline uint64_t raw_get(const uint8_t* bytes, int32_t size) {
    uint64_t bits = 0;
    for (int32_t i = 0; i < size; i++) bits |= uint64_t{bytes[i]} << (8 * i);
    return bits;
}

inline void raw_put_single(float value, uint8_t* out) { raw_put(std::bit_cast<uint32_t>(value), 4, out); }
inline void raw_put_double(double value, uint8_t* out) { raw_put(std::bit_cast<uint64_t>(value), 8, out); }
inline float raw_get_single(const uint8_t* bytes) { return std::bit_cast<float>(static_cast<uint32_t>(raw_get(bytes, 4))); }
inline double raw_get_double(const uint8_t* bytes) { return std::bit_cast<double>(raw_get(bytes, 8)); }

// 32 bytes: the 10 value bytes and 22 zero bytes.
void raw_put_extended(long double value, uint8_t* out);
// Reads the 10 value bytes; the padding of the result is zero.
long double raw_get_extended(const uint8_t* bytes);

// Bit fields of n bits (translated code passes 1 to 63; 64 and more count as 64).
int32_t raw_bit_size(uint32_t n);
uint64_t raw_bit_mask(uint32_t n);
// The low n bits with bit n - 1 copied into every higher bit.
int64_t raw_bit_sign_extend(uint64_t bits, uint32_t n);
