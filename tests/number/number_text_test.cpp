// STR$ and _TOSTR$ text of every numeric type, byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "number/number_text.h"

namespace {

std::string str(num_text t) { return std::string(t.view()); }

struct single_case {
    float value;
    const char* text;
};

TEST(NumberText, StrOfSingle) {
    const single_case cases[] = {
        {0.0f, " 0"},
        {-0.0f, " 0"},
        {1.0f, " 1"},
        {-1.0f, "-1"},
        {1234567.0f, " 1234567"},
        {12345678.0f, " 1.234568E+07"},
        {0.1f, " .1"},
        {1E-7f, " .0000001"},
        {1.5E-7f, " 1.5E-07"},
        {1E+20f, " 1E+20"},
        {-0.25f, "-.25"},
        {0.5f, " .5"},
        {1.5f, " 1.5"},
        {3.14159f, " 3.14159"},
        {123456.7f, " 123456.7"},
        {-1E-8f, "-1E-08"},
        {1E+6f, " 1000000"},
        {1E+7f, " 1E+07"},
        {9.999999f, " 9.999999"},
        // Seven digits round up to the next power of ten.
        {999999.96875f, " 1000000"},
        {3.4028235E+38f, " 3.402823E+38"},
        // Subnormal: three exponent digits are never needed for a SINGLE, two suffice.
        {1.4E-45f, " 1.401298E-45"},
    };
    for (const auto& c : cases) EXPECT_EQ(str(num_str(c.value)), c.text) << c.text;
}

struct double_case {
    double value;
    const char* text;
};

TEST(NumberText, StrOfDouble) {
    const double_case cases[] = {
        {0.0, " 0"},
        {-0.0, " 0"},
        {0.1, " .1"},
        {-0.5, "-.5"},
        {1E+16, " 1D+16"},
        {123456789012345678.0, " 1.234567890123457D+17"},
        {1E-300, " 1D-300"},
        {-1.5E-300, "-1.5D-300"},
        // A 16th digit of 9 switches to 15 digits.
        {434.99999999999994, " 435"},
        {1E+23, " 1D+23"},
        {0.30000000000000004, " .3"},
        {1E+15, " 1000000000000000"},
        {1234567890123456.0, " 1234567890123456"},
        {1E-16, " .0000000000000001"},
        {1E-17, " 1D-17"},
        {1.5E-17, " 1.5D-17"},
        {1.7976931348623157E+308, " 1.797693134862316D+308"},
        {4.9406564584124654E-324, " 4.940656458412465D-324"},
        {3.14159, " 3.14159"},
    };
    for (const auto& c : cases) EXPECT_EQ(str(num_str(c.value)), c.text) << c.text;
}

TEST(NumberText, StrOfExtendedGoesThroughDouble) {
    EXPECT_EQ(str(num_str(0.1L)), " .1");
    EXPECT_EQ(str(num_str(1E+20L)), " 1D+20");
    EXPECT_EQ(str(num_str(-2.5L)), "-2.5");
    // Beyond the DOUBLE range the value rounds to infinity.
    EXPECT_EQ(str(num_str(1E+400L)), " INF");
    EXPECT_EQ(str(num_str(-1E+400L)), "-INF");
}

TEST(NumberText, InfinityAndNotANumber) {
    const float fi = std::numeric_limits<float>::infinity();
    const double di = std::numeric_limits<double>::infinity();
    const long double li = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(str(num_str(fi)), " INF");
    EXPECT_EQ(str(num_str(-fi)), "-INF");
    EXPECT_EQ(str(num_str(std::nanf(""))), " NAN");
    EXPECT_EQ(str(num_str(-std::nanf(""))), " NAN");
    EXPECT_EQ(str(num_str(di)), " INF");
    EXPECT_EQ(str(num_str(-di)), "-INF");
    EXPECT_EQ(str(num_str(-std::nan(""))), " NAN");
    EXPECT_EQ(str(num_str(li)), " INF");
    EXPECT_EQ(str(num_str(std::nanl(""))), " NAN");
    EXPECT_EQ(str(num_tostr(fi, 7)), "INF");
    EXPECT_EQ(str(num_tostr(-di, 16)), "-INF");
    EXPECT_EQ(str(num_tostr(std::nanl(""), 19)), "NAN");
}

TEST(NumberText, StrOfIntegers) {
    EXPECT_EQ(str(num_str(int8_t{-128})), "-128");
    EXPECT_EQ(str(num_str(int8_t{0})), " 0");
    EXPECT_EQ(str(num_str(int16_t{-32768})), "-32768");
    EXPECT_EQ(str(num_str(int32_t{5})), " 5");
    EXPECT_EQ(str(num_str(int32_t{-5})), "-5");
    EXPECT_EQ(str(num_str(std::numeric_limits<int64_t>::min())), "-9223372036854775808");
    EXPECT_EQ(str(num_str(std::numeric_limits<int64_t>::max())), " 9223372036854775807");
    EXPECT_EQ(str(num_str(uint8_t{255})), " 255");
    EXPECT_EQ(str(num_str(uint16_t{0})), " 0");
    EXPECT_EQ(str(num_str(uint32_t{4294967295u})), " 4294967295");
    EXPECT_EQ(str(num_str(std::numeric_limits<uint64_t>::max())), " 18446744073709551615");
}

TEST(NumberText, ToStrOfIntegersHasNoSpace) {
    EXPECT_EQ(str(num_tostr(int8_t{-128})), "-128");
    EXPECT_EQ(str(num_tostr(int32_t{42})), "42");
    EXPECT_EQ(str(num_tostr(std::numeric_limits<int64_t>::min())), "-9223372036854775808");
    EXPECT_EQ(str(num_tostr(std::numeric_limits<uint64_t>::max())), "18446744073709551615");
    EXPECT_EQ(str(num_tostr(uint8_t{7})), "7");
}

TEST(NumberText, ToStrOfFloatingValues) {
    EXPECT_EQ(str(num_tostr(1E+20, tostr_double_digits)), "1D+20");
    EXPECT_EQ(str(num_tostr(0.5f, tostr_single_digits)), "0.5");
    EXPECT_EQ(str(num_tostr(1E-5f, tostr_single_digits)), "1E-05");
    EXPECT_EQ(str(num_tostr(1E+20L, tostr_extended_digits)), "1F+20");
    EXPECT_EQ(str(num_tostr(0.1, tostr_double_digits)), "0.1");
    EXPECT_EQ(str(num_tostr(0.1f, tostr_single_digits)), "0.1");
    // 17 digits would show the binary error; 16 do not.
    EXPECT_EQ(str(num_tostr(0.30000000000000004, tostr_double_digits)), "0.3");
    EXPECT_EQ(str(num_tostr(0.1L, tostr_extended_digits)), "0.1");
    EXPECT_EQ(str(num_tostr(1.0L / 3, tostr_extended_digits)), "0.3333333333333333333");
    EXPECT_EQ(str(num_tostr(-123456789.0, tostr_double_digits)), "-123456789");
    EXPECT_EQ(str(num_tostr(1E+16, tostr_double_digits)), "1D+16");
    EXPECT_EQ(str(num_tostr(0.0001, tostr_double_digits)), "0.0001");
    EXPECT_EQ(str(num_tostr(0.00001, tostr_double_digits)), "1D-05");
    EXPECT_EQ(str(num_tostr(1E-300, tostr_double_digits)), "1D-300");
    EXPECT_EQ(str(num_tostr(-1.2345678901234567890E-4000L, tostr_extended_digits)), "-1.234567890123456789F-4000");
}

TEST(NumberText, ToStrDigitsArgument) {
    const float pi = 3.14159f;
    EXPECT_EQ(str(num_tostr(pi, tostr_precision(2, 1, tostr_single_digits))), "3.1");
    EXPECT_EQ(str(num_tostr(pi, tostr_precision(0, 1, tostr_single_digits))), "3");
    EXPECT_EQ(str(num_tostr(pi, tostr_precision(99, 1, tostr_single_digits))), "3.14159");
    // Not passed: the type's largest precision, whatever the digits argument holds.
    EXPECT_EQ(tostr_precision(2, 0, tostr_double_digits), 16);
    EXPECT_EQ(tostr_precision(99, 1, tostr_extended_digits), 19);
    EXPECT_EQ(str(num_tostr(1234.5, tostr_precision(3, 1, tostr_double_digits))), "1.23D+03");
}

}  // namespace
