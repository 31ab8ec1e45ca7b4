// HEX$, OCT$ and _BIN$ digits of integers of each width and of rounded floating values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "number/radix_text.h"

namespace {

std::string str(num_text t) { return std::string(t.view()); }

struct radix_case {
    int64_t value;
    int32_t size;  // of the source type: hexadecimal digits for HEX$, bits for OCT$ and _BIN$
    const char* text;
};

TEST(RadixText, Hex) {
    const radix_case cases[] = {
        {0, 4, "0"},
        {255, 4, "FF"},
        {-1, 4, "FFFF"},
        {-1, 8, "FFFFFFFF"},
        {-1, 2, "FF"},
        {-1, 16, "FFFFFFFFFFFFFFFF"},
        {-256, 4, "FF00"},
        {-128, 2, "80"},
        {-129, 2, "FF7F"},
        {-32768, 4, "8000"},
        {-32769, 4, "FFFF7FFF"},
        {std::numeric_limits<int64_t>::min(), 16, "8000000000000000"},
        {std::numeric_limits<int64_t>::max(), 16, "7FFFFFFFFFFFFFFF"},
        {0xABCDEF, 8, "ABCDEF"},
        // A narrow source whose value needs more digits gets 4, 8 or 16.
        {-0x12345, 4, "FFFEDCBB"},
        {-0x123456789, 8, "FFFFFFFEDCBA9877"},
    };
    for (const auto& c : cases) EXPECT_EQ(str(num_hex(c.value, c.size)), c.text) << c.value << " " << c.size;
}

TEST(RadixText, Oct) {
    const radix_case cases[] = {
        {0, 16, "0"},
        {8, 16, "10"},
        {-1, 16, "177777"},
        {-32768, 16, "100000"},
        {-1, 8, "377"},
        {-1, 32, "37777777777"},
        {-1, 64, "1777777777777777777777"},
        {-129, 8, "177577"},
        {511, 16, "777"},
    };
    for (const auto& c : cases) EXPECT_EQ(str(num_oct(c.value, c.size)), c.text) << c.value << " " << c.size;
}

TEST(RadixText, Bin) {
    const radix_case cases[] = {
        {0, 8, "0"},
        {5, 8, "101"},
        {-1, 8, "11111111"},
        {-128, 8, "10000000"},
        {-2, 16, "1111111111111110"},
        {-129, 8, "1111111101111111"},
        {std::numeric_limits<int64_t>::min(), 64,
         "1000000000000000000000000000000000000000000000000000000000000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(str(num_bin(c.value, c.size)), c.text) << c.value << " " << c.size;
}

// HEX$ of a floating value: rounded in the current mode, 8 digits as the source size.
std::string hex_of_float(long double value) {
    int64_t integer;
    if (!num_radix_integer(value, &integer)) return "overflow";
    return str(num_hex(integer, radix_float_hex_digits));
}

TEST(RadixText, FloatForms) {
    EXPECT_EQ(hex_of_float(-1.0f), "FFFFFFFF");
    EXPECT_EQ(hex_of_float(2.5f), "2");
    EXPECT_EQ(hex_of_float(3.5f), "4");
    EXPECT_EQ(hex_of_float(-1E10f), "FFFFFFFDABF41C00");
    EXPECT_EQ(hex_of_float(1E+19), "overflow");
    EXPECT_EQ(hex_of_float(-0x1p63L), "overflow");
    EXPECT_EQ(hex_of_float(std::numeric_limits<double>::infinity()), "overflow");
    EXPECT_EQ(hex_of_float(std::nan("")), "overflow");
    // Just below 2^63 a tie rounds to even, which is 2^63: no int64 holds it.
    EXPECT_EQ(hex_of_float(0x1p63L - 0.5L), "overflow");
    EXPECT_EQ(hex_of_float(-0x1p63L + 0.5L), "8000000000000000");
    EXPECT_EQ(hex_of_float(0x1p63L - 1), "7FFFFFFFFFFFFFFF");
    int64_t integer;
    ASSERT_TRUE(num_radix_integer(-1.0L, &integer));
    EXPECT_EQ(str(num_oct(integer, radix_float_bits)), "37777777777");
    EXPECT_EQ(str(num_bin(integer, radix_float_bits)), "11111111111111111111111111111111");
}

}  // namespace
