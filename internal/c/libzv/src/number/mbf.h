// MKSMBF$, MKDMBF$, CVSMBF and CVDMBF on plain buffers: Microsoft Binary Format floating values.
#pragma once
#include <cstdint>

// Each returns false when the value or the bytes cannot be converted (error 5 for the
// caller); ±0 becomes all-zero bytes, since the format has no negative zero.
bool mbf_from_single(float value, uint8_t* out4);
bool mbf_from_double(double value, uint8_t* out8);
bool mbf_to_single(const uint8_t* bytes, int32_t length, float* value);
bool mbf_to_double(const uint8_t* bytes, int32_t length, double* value);
