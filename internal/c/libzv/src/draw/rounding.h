// Float-to-integer conversions of the drawing layer. A value that is not a number or
// lies outside the int32 range gives -2147483648, which lies outside every image.
#pragma once
#include <cmath>
#include <cstdint>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

constexpr int32_t int32_out_of_range = INT32_MIN;

// Rounds in the current rounding mode: ties to even on the program thread.
#if defined(__x86_64__)
// cvtss2si and cvtsd2si round in the current mode, as lrintf and lrint do, without a
// library call, and give exactly -2147483648 for NaN and for everything that does not
// round into int32, so no range test is needed.
inline int32_t round_float_to_int32(float v) { return _mm_cvtss_si32(_mm_set_ss(v)); }
inline int32_t round_double_to_int32(double v) { return _mm_cvtsd_si32(_mm_set_sd(v)); }
#else
inline int32_t round_float_to_int32(float v) {
    // Every float in [-2^31, 2^31) rounds to a value inside int32.
    if (!(v >= -2147483648.0f && v < 2147483648.0f)) return int32_out_of_range;
    return static_cast<int32_t>(std::lrintf(v));
}

inline int32_t round_double_to_int32(double v) {
    if (!(v > -4.0e18 && v < 4.0e18)) return int32_out_of_range;
    long long r = std::llrint(v);
    if (r < INT32_MIN || r > INT32_MAX) return int32_out_of_range;
    return static_cast<int32_t>(r);
}
#endif

// Toward zero.
inline int32_t truncate_float_to_int32(float v) {
    if (!(v > -2147483649.0f && v < 2147483648.0f)) return int32_out_of_range;
    return static_cast<int32_t>(v);
}

// Halves away from zero (LINE's stepping): truncate(v - 0.5) below zero, else
// truncate(v + 0.5), both exact in double for any float.
inline int32_t round_half_away_to_int32(float v) {
    double d = v;
    if (!(d > -2147483648.5 && d < 2147483647.5)) return int32_out_of_range;
    return static_cast<int32_t>(d < 0 ? d - 0.5 : d + 0.5);
}

// The same from 0.5 up (LINE's stepping away from the image's first row and column),
// in single precision: v + 0.5f is exact while it stays in v's binade; when it reaches
// the next binade it lies less than half a unit above a power of two, an integer, so
// the truncation is still right. (Below 0.5 it is not: 0.5 - 2^-25 would give 1.)
inline int32_t round_half_away_from_half_up(float v) { return static_cast<int32_t>(v + 0.5f); }
