// VAL: decimal, based, signed and blank-laden texts in the floating, signed and unsigned forms.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "core/runtime_flags.h"
#include "error/error.h"
#include "number/val.h"

namespace {

class Val : public ::testing::Test {
protected:
    void SetUp() override {
        error_reset_for_tests();
        runtime_flags_reset_for_tests();
    }
    static const uint8_t* bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
    static long double f(const std::string& s) { return val_float(bytes(s), static_cast<int32_t>(s.size())); }
    static int64_t i(const std::string& s) { return val_int64(bytes(s), static_cast<int32_t>(s.size())); }
    static uint64_t u(const std::string& s) { return val_uint64(bytes(s), static_cast<int32_t>(s.size())); }
};

struct val_case {
    const char* text;
    long double value;
};

TEST_F(Val, FloatForm) {
    const val_case cases[] = {
        {"", 0},
        {" 1 2 3", 123},
        {"-1.5E+2xyz", -150},
        {".5", 0.5L},
        {"-.5", -0.5L},
        {"1E", 1},
        {"+-5", 0},
        {"1D3", 1000},
        {"1F3", 1000},
        {"1e-2", 0.01L},
        {"\t-\t4 2", -42},
        {"12.5.6", 12.5L},
        {"1.", 1},
        {"0.000125", 0.000125L},
        {"  abc", 0},
        {"1E2E3", 100},
        {"&H", 0},
        {"&HFF", 255},
        {" &HFF", 255},
        {"& HFF", 0},
        {"&hff", 255},
        {"&H00000000000000001", 1},
        {"&O17", 15},
        {"&B101", 5},
        {"&B102", 2},
        {"&X12", 0},
        {"-&H10", 0},
        {"&HFFFFFFFFFFFFFFFF", 18446744073709551615.0L},
        {"&O1777777777777777777777", 18446744073709551615.0L},
        {"99999999999999999999", 9223372036854775807.0L},
        {"-99999999999999999999", -9223372036854775808.0L},
        {"9223372036854775808", 9223372036854775807.0L},
        {"-9223372036854775808", -9223372036854775808.0L},
        {"1E999999999999999999", std::numeric_limits<long double>::infinity()},
        {"-1E999999999999999999", -std::numeric_limits<long double>::infinity()},
        {"1E-999999", 0},
        // The 19th significant exponent digit ends the number: 1E+10^17.
        {"1E1000000000000000000", std::numeric_limits<long double>::infinity()},
        {"1E-1000000000000000000", 0},
        {"1E0000000000000000000000002", 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(f(c.text), c.value) << c.text;
        EXPECT_EQ(new_error.load(), 0) << c.text;
    }
}

TEST_F(Val, ExtendedPrecisionDecimal) {
    // The decimal text is rounded once, to the extended type.
    EXPECT_EQ(f("0.1"), 0.1L);
    EXPECT_EQ(f("3.141592653589793238"), 3.141592653589793238L);
    EXPECT_EQ(f("1.18973149535723176502E+4932"), std::numeric_limits<long double>::max());
    EXPECT_EQ(f("1.2E+4933"), std::numeric_limits<long double>::infinity());
}

TEST_F(Val, IntegerForms) {
    EXPECT_EQ(i("&HFFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(u("&HFFFFFFFFFFFFFFFF"), std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(i("99999999999999999999"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(u("99999999999999999999"), std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(u("18446744073709551615"), std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(i("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    // Fractions and exponents truncate toward zero and saturate.
    EXPECT_EQ(i("2.9"), 2);
    EXPECT_EQ(i("-2.9"), -2);
    EXPECT_EQ(i("1.5E3"), 1500);
    EXPECT_EQ(i("1E30"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(i("-1E30"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(i("1E999999999999999999"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(u("1E19"), 10000000000000000000u);
    EXPECT_EQ(u("1.5E19"), 15000000000000000000u);
    EXPECT_EQ(u("1E30"), std::numeric_limits<uint64_t>::max());
    // The unsigned form takes the magnitude.
    EXPECT_EQ(u("-5"), 5u);
    EXPECT_EQ(u("-2.5"), 2u);
    EXPECT_EQ(i("0.9"), 0);
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Val, TooManyBasedDigitsIsOverflow) {
    const char* texts[] = {"&H10000000000000000", "&O2000000000000000000000", "&O17777777777777777777777",
                           "&B10000000000000000000000000000000000000000000000000000000000000000"};  // 2^64
    for (const char* t : texts) {
        error_reset_for_tests();
        EXPECT_EQ(f(t), 0) << t;
        EXPECT_EQ(new_error.load(), 6) << t;
        error_reset_for_tests();
        EXPECT_EQ(i(t), 0) << t;
        EXPECT_EQ(new_error.load(), 6) << t;
    }
}

// Short texts take an exact shortcut; it must agree with the general conversion.
TEST_F(Val, ShortDecimalsRoundLikeTheGeneralConversion) {
    uint64_t state = 12345;
    for (int n = 0; n < 20000; n++) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        int digits = 1 + static_cast<int>(state >> 59) % 19;
        int power = static_cast<int>((state >> 40) % 55) - 27;
        std::string mantissa = std::to_string(state >> 1).substr(0, digits);
        std::string text = mantissa + "E" + std::to_string(power);
        long double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(f(text), expected) << text;
    }
}

// Long texts never overrun the digit buffer (checked under the sanitizer build).
TEST_F(Val, LongTexts) {
    std::string digits(300, '7');
    EXPECT_EQ(f(digits), 9223372036854775807.0L);
    std::string fraction = digits + "." + digits;
    long double expected = 7.777777777777777777777777L * 1E+299L;
    EXPECT_NEAR(static_cast<double>(f(fraction) / expected), 1.0, 1E-15);
    std::string small = "." + std::string(400, '0') + "5";
    EXPECT_EQ(f(small), 5E-401L);
    std::string tiny = "." + std::string(5000, '0') + "5";
    EXPECT_EQ(f(tiny), 0);
    EXPECT_EQ(f("1" + std::string(5000, '0') + ".5"), std::numeric_limits<long double>::infinity());
}

}  // namespace
