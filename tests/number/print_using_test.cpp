// PRINT USING: numeric and string fields byte for byte, chaining across values, errors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "error/error.h"
#include "number/print_using.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

enum class kind { integer, single, dbl, extended, text };

struct value {
    kind k;
    long double number;
    const char* text;
};
value integer(int64_t v) { return {kind::integer, static_cast<long double>(v), nullptr}; }
value single(float v) { return {kind::single, v, nullptr}; }
value dbl(double v) { return {kind::dbl, v, nullptr}; }
value extended(long double v) { return {kind::extended, v, nullptr}; }
value str(const char* t) { return {kind::text, 0, t}; }

class PrintUsing : public ::testing::Test {
protected:
    void SetUp() override {
        zvs_reset_for_tests(1048576, 65536, 65536);
        error_reset_for_tests();
        print_using_reset_for_tests();
        mark_ = zvs_tmp_list_nexti();
        dest_ = zvs_new(0, 0);
    }
    void TearDown() override {
        zvs_tmp_release_to(mark_, 0);
        zvs_free(dest_);
        error_reset_for_tests();
    }
    // One call; the text it appended is in dest_.
    int32_t call(const char* format, value v, int32_t position = 0) {
        zvs* f = zvs_new_txt(format);
        switch (v.k) {
            case kind::integer: return print_using_integer64(f, static_cast<int64_t>(v.number), position, dest_);
            case kind::single: return print_using_single(f, static_cast<float>(v.number), position, dest_);
            case kind::dbl: return print_using_double(f, static_cast<double>(v.number), position, dest_);
            case kind::extended: return print_using_float(f, v.number, position, dest_);
            case kind::text: return print_using(f, position, dest_, zvs_new_txt(v.text));
        }
        return -1;
    }
    std::string using_text(const char* format, value v) {
        zvs_set(dest_, zvs_new_txt(""));
        call(format, v);
        return text();
    }
    std::string text() const { return std::string(reinterpret_cast<const char*>(dest_->text), static_cast<size_t>(dest_->length)); }
    int32_t take_error() {
        int32_t n = new_error.load();
        error_reset_for_tests();
        return n;
    }
    zvs* dest_ = nullptr;
    uint32_t mark_ = 0;
};

struct layout_case {
    const char* format;
    value v;
    const char* result;
};

TEST_F(PrintUsing, FixedFields) {
    const layout_case cases[] = {
        {"##.##", single(5), " 5.00"},
        {"##.##", single(-5), "-5.00"},
        {"##.##", single(0.5f), " 0.50"},
        {"##.##", single(123.456f), "%123.46"},
        {"##.##", single(-0.0f), "-0.00"},
        {"##.##", integer(0), " 0.00"},
        {"#.##", single(0.995f), "1.00"},
        {"#.##", single(9.996f), "%10.00"},
        {"#.##", single(-0.5f), "-.50"},
        {".##", single(0), ".00"},
        {".##", integer(0), ".00"},
        {".##", single(-0.5f), "%-.50"},
        {"+##.##", single(5), "+ 5.00"},
        {"+##.##", single(-5), "- 5.00"},
        {"##.##-", single(-5), " 5.00-"},
        {"##.##-", single(5), " 5.00 "},
        {"##.##+", single(5), " 5.00+"},
        {"##.##+", single(-5), " 5.00-"},
        {"**#.##", single(-1.5f), "*-1.50"},
        {"**#.##", single(1.5f), "**1.50"},
        {"$$#.##", single(1.5f), " $1.50"},
        {"$$#.##", single(-1.5f), "-$1.50"},
        {"**$#.##", single(1.5f), "**$1.50"},
        {"#,###", integer(1234), "1,234"},
        {"#,###", integer(12345), "%12,345"},
        {"#,###", integer(123), "  123"},
        {"#,###", integer(-123), " -123"},
        {"####,###", integer(-123456), "-123,456"},
        {"#,###.##", single(0.5f), "    0.50"},
        {"###", integer(-9223372036854775807LL - 1), "%-9223372036854775808"},
        // Half up on the magnitude, from the exact binary value.
        {"#", single(0.5f), "1"},
        {"#", single(2.5f), "3"},
        {"#", single(-2.5f), "%-3"},
        {"#.##", dbl(0.005), "0.01"},
        {"#.##", single(0.005f), "0.00"},
        {"#.##", extended(-0.5L), "-.50"},
        {"##.##", extended(0.125L), " 0.13"},
        {"#.##", extended(0.005L), "0.00"},  // 0.00499999…
        {"#.##", extended(0.025L), "0.03"},  // 0.02500000…
    };
    for (const auto& c : cases) EXPECT_EQ(using_text(c.format, c.v), c.result) << c.format << " " << c.result;
    EXPECT_EQ(take_error(), 0);
}

TEST_F(PrintUsing, UnsignedIntegers) {
    zvs_set(dest_, zvs_new_txt(""));
    print_using_uinteger64(zvs_new_txt("#,###"), 18446744073709551615ULL, 0, dest_);
    EXPECT_EQ(text(), "%18,446,744,073,709,551,615");
}

TEST_F(PrintUsing, ExponentFields) {
    const layout_case cases[] = {
        {"##.##^^^^", single(1.5f), " 1.50E+00"},
        {"##.##^^^^", single(12345), " 1.23E+04"},
        {"##.##^^^^", single(9.996f), " 1.00E+01"},
        {"##.##^^^^", single(0), " 0.00E+00"},
        {"##.##^^^^", integer(0), " 0.00E+00"},
        {"##.##^^^^", single(-0.00125f), "-1.25E-03"},
        {"##.##^^^^^", integer(-42), "-4.20E+001"},
        {"#.##^^^^", single(1.5f), "0.15E+01"},
        {"#.##^^^^", dbl(1.5), "0.15D+01"},
        {"#.##^^^^", extended(1.5L), "0.15F+01"},
        {"#.##^^^^", single(-1.5f), "-.15E+01"},
        {"#.#^^^^", dbl(1E+100), "%0.1D+101"},
        {".##^^^^", single(1.5f), "0.2E+01"},
        {".##^^^^", single(-1.5f), "-.2E+01"},
        {".#^^^^", single(1.5f), " 2E+00"},
        {".#^^^^", single(-1.5f), "-2E+00"},
        {"#^^^^", single(1.5f), "2E+00"},
        {"#^^^^", single(-1.5f), "%-2E+00"},
        {"+#.##^^^^", single(-1.5f), "-1.50E+00"},
        {"##.##^^^^-", single(-1.5f), "15.00E-01-"},
        {"$$#.##^^^^", single(1.5f), "$ 1.50E+00"},
    };
    for (const auto& c : cases) EXPECT_EQ(using_text(c.format, c.v), c.result) << c.format << " " << c.result;
    EXPECT_EQ(take_error(), 0);
}

TEST_F(PrintUsing, StringFieldsAndLiterals) {
    const layout_case cases[] = {
        {"!", str("abc"), "a"},
        {"!", str(""), " "},
        {"\\  \\", str("ab"), "ab  "},
        {"\\\\", str("abcdef"), "ab"},
        {"&", str("abc"), "abc"},
        {"[&]", str(""), "[]"},
        {"\\ x\\&", str("q"), "\\ x\\q"},
        {"_##", single(5), "#5"},
        {"__##", single(5), "_ 5"},
        {"+.x#", single(5), "+.x5"},
        {"## _", single(5), " 5 _"},
    };
    for (const auto& c : cases) EXPECT_EQ(using_text(c.format, c.v), c.result) << c.format << " " << c.result;
    EXPECT_EQ(take_error(), 0);
}

TEST_F(PrintUsing, ValuesContinueWhereTheLastStopped) {
    EXPECT_EQ(call("## items", integer(1)), 0);
    EXPECT_EQ(call("## items", integer(2), 0), 0);
    EXPECT_EQ(text(), " 1 items 2 items");

    zvs_set(dest_, zvs_new_txt(""));
    EXPECT_EQ(call("## and ##", integer(1)), 7);
    EXPECT_EQ(text(), " 1 and ");
    EXPECT_EQ(call("## and ##", integer(2), 7), 0);
    EXPECT_EQ(text(), " 1 and  2");

    // A string and a number in one statement; the format is reused past its end.
    zvs_set(dest_, zvs_new_txt(""));
    int32_t p = call("& = ##.#; ", str("x"));
    EXPECT_EQ(p, 4);
    p = call("& = ##.#; ", single(1.25f), p);
    EXPECT_EQ(p, 0);
    p = call("& = ##.#; ", str("y"), p);
    EXPECT_EQ(text(), "x =  1.3; y = ");
    EXPECT_EQ(p, 4);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(PrintUsing, Errors) {
    EXPECT_EQ(call("abc", single(1)), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(text(), "abc");

    zvs_set(dest_, zvs_new_txt(""));
    EXPECT_EQ(call("x##", str("s")), 0);
    EXPECT_EQ(take_error(), 13);
    EXPECT_EQ(text(), "x");

    EXPECT_EQ(call("&", integer(1)), 0);
    EXPECT_EQ(take_error(), 13);

    for (float bad : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_EQ(call("##", single(bad)), 0);
        EXPECT_EQ(take_error(), 5);
    }
    EXPECT_EQ(call("##", dbl(std::numeric_limits<double>::infinity())), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(call("##", extended(std::numeric_limits<long double>::quiet_NaN())), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(call("", integer(1)), 0);
    EXPECT_EQ(take_error(), 5);

    // A pending error: nothing happens.
    zvs_set(dest_, zvs_new_txt(""));
    error(53);
    EXPECT_EQ(call("##", integer(1)), 0);
    EXPECT_EQ(call("&", str("a")), 0);
    EXPECT_EQ(text(), "");
    EXPECT_EQ(take_error(), 53);
}

TEST_F(PrintUsing, FormatWithoutFieldAfterTheStartEnds) {
    // The position of an earlier call, in a format with no field: one pass, then error 5.
    EXPECT_EQ(call("abc", integer(1), 3), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(call("abc", integer(1), 1), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(call("abc", integer(1), 99), 0);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(PrintUsing, WideOverflows) {
    std::string t = using_text("#,###", dbl(1E+300));
    EXPECT_EQ(t.size(), 402u);
    EXPECT_EQ(t.substr(0, 27), "%1,000,000,000,000,000,052,");
    EXPECT_EQ(t.substr(t.size() - 8), ",000,000");

    // Extended values beyond the digit buffers of old: every integer digit shows.
    // 1E+1000 as an extended value is 9.99…E+999: a thousand integer digits.
    t = using_text("#", extended(1E+1000L));
    EXPECT_EQ(t.size(), 1001u);
    EXPECT_EQ(t.substr(0, 4), "%999");
    EXPECT_EQ(t.find_first_not_of("0123456789", 1), std::string::npos);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(PrintUsing, FileSeam) {
    zvs* out = zvs_new_txt("x");
    print_using_file(1, out);
    EXPECT_EQ(take_error(), 52);
    static int32_t written_to = 0;
    print_using_set_file_writer([](int32_t n, zvs*) { written_to = n; });
    print_using_file(3, out);
    EXPECT_EQ(written_to, 3);
    EXPECT_EQ(take_error(), 0);
}

}  // namespace
