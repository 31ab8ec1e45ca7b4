// Raw number strings and Microsoft Binary Format bytes.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "number/mbf.h"
#include "number/raw_bytes.h"

namespace {

using bytes = std::vector<uint8_t>;

TEST(RawBytes, IntegersLittleEndian) {
    uint8_t b[8];
    raw_put(static_cast<uint16_t>(int16_t{-2}), 2, b);
    EXPECT_EQ(bytes(b, b + 2), (bytes{0xFE, 0xFF}));
    EXPECT_EQ(static_cast<int16_t>(raw_get(b, 2)), -2);
    EXPECT_EQ(static_cast<uint16_t>(raw_get(b, 2)), 65534);
    // The offset is 64-bit on this platform.
    raw_put(static_cast<uint64_t>(int64_t{-2}), 8, b);
    EXPECT_EQ(bytes(b, b + 8), (bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    raw_put(0x12345678u, 4, b);
    EXPECT_EQ(bytes(b, b + 4), (bytes{0x78, 0x56, 0x34, 0x12}));
}

TEST(RawBytes, FloatingValues) {
    uint8_t b[8];
    raw_put_single(1.0f, b);
    EXPECT_EQ(bytes(b, b + 4), (bytes{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(raw_get_single(b), 1.0f);
    raw_put_double(-2.0, b);
    EXPECT_EQ(bytes(b, b + 8), (bytes{0, 0, 0, 0, 0, 0, 0, 0xC0}));
    EXPECT_EQ(raw_get_double(b), -2.0);
}

TEST(RawBytes, ExtendedHasTenValueBytesThenZeros) {
    uint8_t b[raw_extended_size];
    std::fill(b, b + raw_extended_size, 0xAA);
    const long double x = -1.0L / 3;
    raw_put_extended(x, b);
    for (int i = extended_value_bytes; i < raw_extended_size; i++) EXPECT_EQ(b[i], 0) << i;
    // Sign and exponent 0x3FFD, explicit integer bit set.
    EXPECT_EQ(b[9], 0xBF);
    EXPECT_EQ(b[8], 0xFD);
    EXPECT_EQ(b[7] & 0x80, 0x80);
    long double back = raw_get_extended(b);
    EXPECT_EQ(std::memcmp(&back, &x, extended_value_bytes), 0);
    EXPECT_EQ(back, x);
}

TEST(RawBytes, BitFields) {
    uint8_t b[8];
    EXPECT_EQ(raw_bit_size(12), 2);
    raw_put(static_cast<uint64_t>(int64_t{-1}) & raw_bit_mask(12), raw_bit_size(12), b);
    EXPECT_EQ(bytes(b, b + 2), (bytes{0xFF, 0x0F}));
    EXPECT_EQ(raw_bit_sign_extend(raw_get(b, 2), 12), -1);
    EXPECT_EQ(raw_get(b, 2) & raw_bit_mask(12), 4095u);
    raw_put(static_cast<uint64_t>(int64_t{-1}) & raw_bit_mask(63), raw_bit_size(63), b);
    EXPECT_EQ(bytes(b, b + 8), (bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(raw_bit_sign_extend(raw_get(b, 8), 63), -1);
    EXPECT_EQ(raw_bit_size(1), 1);
    EXPECT_EQ(raw_bit_mask(1), 1u);
    EXPECT_EQ(raw_bit_sign_extend(1, 1), -1);
    EXPECT_EQ(raw_bit_sign_extend(0x800, 12), -2048);
    EXPECT_EQ(raw_bit_sign_extend(0x7FF, 12), 2047);
    // Guards: no shift by 64, no bit -1.
    EXPECT_EQ(raw_bit_size(64), 8);
    EXPECT_EQ(raw_bit_mask(64), ~uint64_t{0});
    EXPECT_EQ(raw_bit_size(0), 0);
    EXPECT_EQ(raw_bit_sign_extend(5, 0), 0);
}

struct mbf_single_case {
    float value;
    bytes mbf;
};

TEST(Mbf, SingleBothWays) {
    const mbf_single_case cases[] = {
        {1.0f, {0x00, 0x00, 0x00, 0x81}},
        {-1.0f, {0x00, 0x00, 0x80, 0x81}},
        {0.0f, {0x00, 0x00, 0x00, 0x00}},
        {0.5f, {0x00, 0x00, 0x00, 0x80}},
        {10.0f, {0x00, 0x00, 0x20, 0x84}},
        {-0.75f, {0x00, 0x00, 0xC0, 0x80}},
    };
    for (const auto& c : cases) {
        uint8_t b[4];
        ASSERT_TRUE(mbf_from_single(c.value, b));
        EXPECT_EQ(bytes(b, b + 4), c.mbf) << c.value;
        float back = 99;
        ASSERT_TRUE(mbf_to_single(c.mbf.data(), 4, &back));
        EXPECT_EQ(back, c.value);
    }
}

TEST(Mbf, SingleEdges) {
    uint8_t b[4];
    // MBF has no negative zero.
    ASSERT_TRUE(mbf_from_single(-0.0f, b));
    EXPECT_EQ(bytes(b, b + 4), (bytes{0, 0, 0, 0}));
    EXPECT_FALSE(mbf_from_single(3E38f, b));
    EXPECT_FALSE(mbf_from_single(std::numeric_limits<float>::infinity(), b));
    EXPECT_FALSE(mbf_from_single(std::nanf(""), b));
    // Subnormal SINGLEs come back through exponent byte 2.
    const float tiny = std::numeric_limits<float>::denorm_min();
    ASSERT_TRUE(mbf_from_single(tiny, b));
    EXPECT_EQ(bytes(b, b + 4), (bytes{1, 0, 0, 2}));
    float back = 0;
    ASSERT_TRUE(mbf_to_single(b, 4, &back));
    EXPECT_EQ(back, tiny);
    const uint8_t exponent_one[4] = {0x12, 0x34, 0x56, 0x01};
    ASSERT_TRUE(mbf_to_single(exponent_one, 4, &back));
    EXPECT_EQ(back, 0.0f);
    EXPECT_FALSE(mbf_to_single(exponent_one, 3, &back));
}

TEST(Mbf, DoubleBothWays) {
    uint8_t b[8];
    ASSERT_TRUE(mbf_from_double(1.0, b));
    EXPECT_EQ(bytes(b, b + 8), (bytes{0, 0, 0, 0, 0, 0, 0, 0x81}));
    ASSERT_TRUE(mbf_from_double(-10.0, b));
    EXPECT_EQ(bytes(b, b + 8), (bytes{0, 0, 0, 0, 0, 0, 0xA0, 0x84}));
    double back = 0;
    ASSERT_TRUE(mbf_to_double(b, 8, &back));
    EXPECT_EQ(back, -10.0);
    ASSERT_TRUE(mbf_from_double(-0.0, b));
    EXPECT_EQ(bytes(b, b + 8), bytes(8, 0));
    EXPECT_FALSE(mbf_from_double(1E-40, b));
    EXPECT_FALSE(mbf_from_double(2E+38, b));
    EXPECT_FALSE(mbf_from_double(std::numeric_limits<double>::infinity(), b));
    const uint8_t inexact[8] = {0x01, 0, 0, 0, 0, 0, 0, 0x81};
    EXPECT_FALSE(mbf_to_double(inexact, 8, &back));
    EXPECT_FALSE(mbf_to_double(inexact, 7, &back));
    const uint8_t zero_exponent[8] = {0x01, 0, 0, 0, 0, 0, 0x55, 0};
    ASSERT_TRUE(mbf_to_double(zero_exponent, 8, &back));
    EXPECT_EQ(back, 0.0);
}

// Every DOUBLE whose IEEE exponent the format holds comes back bit for bit.
TEST(Mbf, DoubleRoundTripsOverTheFormatsRange) {
    for (uint64_t exponent = 895; exponent <= 1149; exponent += 7) {
        for (uint64_t mantissa : {uint64_t{0}, uint64_t{1}, uint64_t{0xFFFFFFFFFFFFF}, uint64_t{0x8765432112345}}) {
            for (uint64_t sign : {uint64_t{0}, uint64_t{1}}) {
                double x = std::bit_cast<double>(sign << 63 | exponent << 52 | mantissa);
                uint8_t b[8];
                ASSERT_TRUE(mbf_from_double(x, b)) << exponent;
                double back = 0;
                ASSERT_TRUE(mbf_to_double(b, 8, &back));
                EXPECT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(x));
            }
        }
    }
}

}  // namespace
