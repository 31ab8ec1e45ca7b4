// MKSMBF$, MKDMBF$, CVSMBF, CVDMBF: IEEE values to and from Microsoft Binary Format, byte by byte.
#include "number/mbf.h"

#include <bit>

#include "number/raw_bytes.h"

bool mbf_from_single(float value, uint8_t* out4) {
    uint32_t bits = std::bit_cast<uint32_t>(value);
    uint32_t exponent = bits >> 23 & 0xFF;
    // Too large for the format, infinities and not-a-numbers.
    if (exponent >= 254) return false;
    if ((bits & 0x7FFFFFFF) == 0) {
        raw_put(0, 4, out4);
        return true;
    }
    uint32_t mantissa = bits & 0x7FFFFF;
    out4[0] = static_cast<uint8_t>(mantissa);
    out4[1] = static_cast<uint8_t>(mantissa >> 8);
    out4[2] = static_cast<uint8_t>((bits >> 31) << 7 | mantissa >> 16);
    out4[3] = static_cast<uint8_t>(exponent + 2);
    return true;
}

bool mbf_to_single(const uint8_t* bytes, int32_t length, float* value) {
    if (length < 4) return false;
    // Exponent byte 1 lies below every SINGLE the format can come back to: read as 0.
    if (bytes[3] < 2) {
        *value = 0.0f;
        return true;
    }
    uint32_t bits = uint32_t{bytes[2]} >> 7 << 31 | uint32_t{bytes[3] - 2u} << 23 | uint32_t{bytes[2] & 0x7Fu} << 16 |
                    uint32_t{bytes[1]} << 8 | bytes[0];
    *value = std::bit_cast<float>(bits);
    return true;
}

bool mbf_from_double(double value, uint8_t* out8) {
    uint64_t bits = std::bit_cast<uint64_t>(value);
    if ((bits & 0x7FFFFFFFFFFFFFFF) == 0) {
        raw_put(0, 8, out8);
        return true;
    }
    int32_t exponent = static_cast<int32_t>(bits >> 52 & 0x7FF) - 894;
    if (exponent < 0 || exponent > 255) return false;
    // The 52 IEEE mantissa bits are the top 52 of the 55.
    uint64_t mantissa = (bits & 0xFFFFFFFFFFFFF) << 3;
    raw_put(mantissa, 6, out8);
    out8[6] = static_cast<uint8_t>((bits >> 63) << 7 | (mantissa >> 48 & 0x7F));
    out8[7] = static_cast<uint8_t>(exponent);
    return true;
}

bool mbf_to_double(const uint8_t* bytes, int32_t length, double* value) {
    if (length < 8) return false;
    if (bytes[7] == 0) {
        *value = 0.0;
        return true;
    }
    // The bottom three mantissa bits do not fit a DOUBLE.
    if (bytes[0] & 7) return false;
    uint64_t mantissa = raw_get(bytes, 6) | uint64_t{bytes[6] & 0x7Fu} << 48;
    uint64_t bits = uint64_t{bytes[6]} >> 7 << 63 | uint64_t{bytes[7] + 894u} << 52 | mantissa >> 3;
    *value = std::bit_cast<double>(bits);
    return true;
}
