// The BASIC entry points on real strings: STR$, _TOSTR$, HEX$, OCT$, _BIN$, raw number
// strings, MBF, VAL and READ into string variables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/runtime_flags.h"
#include "error/error.h"
#include "number/decomposed.h"
#include "number/radix_functions.h"
#include "number/raw_strings.h"
#include "number/read_data.h"
#include "number/str_functions.h"
#include "number/val.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

std::string text(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), s->length); }
std::vector<uint8_t> bytes(const zvs* s) { return std::vector<uint8_t>(s->text, s->text + s->length); }

class NumberStrings : public ::testing::Test {
protected:
    void SetUp() override {
        zvs_reset_for_tests(1048576, 65536, 65536);
        error_reset_for_tests();
        runtime_flags_reset_for_tests();
        number_reset_for_tests();
        mark_ = zvs_tmp_list_nexti();
    }
    // Every result is a temporary: the statement-end release takes them all.
    void TearDown() override { zvs_tmp_release_to(mark_, 0); }
    zvs* raw(std::vector<uint8_t> b) {
        zvs* s = zvs_new(static_cast<int32_t>(b.size()), 1);
        if (!b.empty()) std::memcpy(s->text, b.data(), b.size());
        return s;
    }
    zvs* lit(const char* t) { return zvs_new_txt(t); }
    int32_t take_error() {
        int32_t n = new_error.load();
        error_reset_for_tests();
        return n;
    }
    uint32_t mark_ = 0;
};

TEST_F(NumberStrings, StrResultsAreTemporaries) {
    zvs* s = zvs_str(int32_t{42});
    EXPECT_EQ(text(s), " 42");
    EXPECT_TRUE(s->temporary);
    EXPECT_FALSE(s->read_only);
    EXPECT_EQ(text(zvs_str(int8_t{-128})), "-128");
    EXPECT_EQ(text(zvs_str(uint64_t{18446744073709551615u})), " 18446744073709551615");
    EXPECT_EQ(text(zvs_str(12345678.0f)), " 1.234568E+07");
    EXPECT_EQ(text(zvs_str(1E-300)), " 1D-300");
    EXPECT_EQ(text(zvs_str(0.1L)), " .1");
    EXPECT_EQ(text(zvs_str(-std::numeric_limits<double>::infinity())), "-INF");
}

TEST_F(NumberStrings, ToStr) {
    EXPECT_EQ(text(zvs__tostr(1E+20, 0, 0)), "1D+20");
    EXPECT_EQ(text(zvs__tostr(0.5f, 0, 0)), "0.5");
    EXPECT_EQ(text(zvs__tostr(3.14159f, 2, 1)), "3.1");
    EXPECT_EQ(text(zvs__tostr(3.14159f, 0, 1)), "3");
    EXPECT_EQ(text(zvs__tostr(3.14159f, 99, 1)), "3.14159");
    // Not passed: a negative digits argument means nothing.
    EXPECT_EQ(text(zvs__tostr(3.14159f, -1, 0)), "3.14159");
    EXPECT_EQ(text(zvs__tostr(1E+20L, 0, 0)), "1F+20");
    EXPECT_EQ(text(zvs__tostr(int64_t{-7}, -1, 1)), "-7");
    EXPECT_EQ(take_error(), 0);
    zvs* refused = zvs__tostr(3.14159, -1, 1);
    EXPECT_EQ(refused->length, 0);
    EXPECT_TRUE(refused->read_only);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(NumberStrings, RadixFunctions) {
    EXPECT_EQ(text(func_hex(-1, 4)), "FFFF");
    EXPECT_EQ(text(func_hex(-1, 8)), "FFFFFFFF");
    EXPECT_EQ(text(func_hex(255, 4)), "FF");
    EXPECT_EQ(text(func_oct(-1, 16)), "177777");
    EXPECT_EQ(text(func__bin(-1, 8)), "11111111");
    EXPECT_EQ(text(func__bin(5, 16)), "101");
    EXPECT_EQ(text(func_hex_float(-1.0f)), "FFFFFFFF");
    EXPECT_EQ(text(func_hex_float(2.5f)), "2");
    EXPECT_EQ(text(func_oct_float(8.0)), "10");
    EXPECT_EQ(text(func__bin_float(-1.0)), "11111111111111111111111111111111");
    EXPECT_EQ(take_error(), 0);
    for (long double bad : {1E+19L, -1E+19L, std::numeric_limits<long double>::infinity(), std::nanl("")}) {
        EXPECT_EQ(func_hex_float(bad)->length, 0);
        EXPECT_EQ(take_error(), 6);
        EXPECT_EQ(func_oct_float(bad)->length, 0);
        EXPECT_EQ(take_error(), 6);
        EXPECT_EQ(func__bin_float(bad)->length, 0);
        EXPECT_EQ(take_error(), 6);
    }
}

TEST_F(NumberStrings, PendingErrorGivesEmptyResults) {
    error(53);
    EXPECT_EQ(zvs_str(int32_t{5})->length, 0);
    EXPECT_EQ(zvs_str(1.5)->length, 0);
    EXPECT_EQ(zvs__tostr(1.5, 2, 1)->length, 0);
    EXPECT_EQ(func_hex(255, 4)->length, 0);
    EXPECT_EQ(func_hex_float(1E+30L)->length, 0);
    EXPECT_EQ(i2string(5)->length, 0);
    EXPECT_EQ(func_mksmbf(1.0f)->length, 0);
    EXPECT_EQ(string2i(raw({1, 0})), 0);
    EXPECT_EQ(func_cvsmbf(raw({0, 0, 0, 0x81})), 0);
    EXPECT_EQ(zvs_val(lit("&H1" "0000000000000000")), 0);
    EXPECT_EQ(take_error(), 53);
}

TEST_F(NumberStrings, RawStrings) {
    EXPECT_EQ(bytes(i2string(-2)), (std::vector<uint8_t>{0xFE, 0xFF}));
    EXPECT_EQ(string2i(raw({0xFE, 0xFF})), -2);
    EXPECT_EQ(string2ui(raw({0xFE, 0xFF})), 65534);
    EXPECT_EQ(bytes(b2string(-1)), (std::vector<uint8_t>{0xFF}));
    EXPECT_EQ(string2ub(raw({0xFF, 0x12})), 255);
    EXPECT_EQ(bytes(ul2string(0x12345678u)), (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(string2l(raw({0x78, 0x56, 0x34, 0x12, 0x99})), 0x12345678);
    EXPECT_EQ(bytes(o2string(-2)), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(string2uo(raw({1, 0, 0, 0, 0, 0, 0, 0x80})), uintptr_t{0x8000000000000001u});
    EXPECT_EQ(string2i64(i642string(std::numeric_limits<int64_t>::min())), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(string2ui64(ui642string(std::numeric_limits<uint64_t>::max())), std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(string2s(s2string(-1.5f)), -1.5f);
    EXPECT_EQ(string2d(d2string(0.1)), 0.1);
    EXPECT_EQ(bytes(bit2string(12, -1)), (std::vector<uint8_t>{0xFF, 0x0F}));
    EXPECT_EQ(string2bit(raw({0xFF, 0x0F}), 12), -1);
    EXPECT_EQ(string2ubit(raw({0xFF, 0x0F}), 12), 4095u);
    EXPECT_EQ(bytes(ubit2string(1, 3)), (std::vector<uint8_t>{0x01}));
    EXPECT_EQ(bit2string(0, -1)->length, 0);
    const long double x = -1.0L / 3;
    zvs* f = f2string(x);
    ASSERT_EQ(f->length, 32);
    for (int i = 10; i < 32; i++) EXPECT_EQ(f->text[i], 0) << i;
    EXPECT_EQ(string2f(f), x);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(NumberStrings, ShortRawStringsAreError5) {
    EXPECT_EQ(string2l(raw({1, 2, 3})), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(string2o(raw({1, 2, 3, 4})), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(string2f(raw(std::vector<uint8_t>(31, 0x40))), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(string2b(lit("")), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(string2bit(raw({0xFF}), 12), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(string2s(raw({0, 0, 0x80})), 0);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(NumberStrings, MbfFunctions) {
    EXPECT_EQ(bytes(func_mksmbf(1.0f)), (std::vector<uint8_t>{0, 0, 0, 0x81}));
    EXPECT_EQ(bytes(func_mksmbf(-1.0f)), (std::vector<uint8_t>{0, 0, 0x80, 0x81}));
    EXPECT_EQ(bytes(func_mksmbf(-0.0f)), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(func_cvsmbf(raw({0, 0, 0x80, 0x81})), -1.0f);
    EXPECT_EQ(bytes(func_mkdmbf(1.0)), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0x81}));
    EXPECT_EQ(bytes(func_mkdmbf(-0.0)), std::vector<uint8_t>(8, 0));
    EXPECT_EQ(func_cvdmbf(raw({0, 0, 0, 0, 0, 0, 0, 0x81})), 1.0);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(func_mksmbf(3E38f)->length, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func_mkdmbf(1E-40)->length, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func_mkdmbf(2E+38)->length, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func_cvdmbf(raw({1, 0, 0, 0, 0, 0, 0, 0x81})), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func_cvsmbf(raw({0, 0, 0x81})), 0);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(NumberStrings, ValOfStrings) {
    EXPECT_EQ(zvs_val(lit(" 1 2 3")), 123);
    EXPECT_EQ(zvs_val(lit("-1.5E+2xyz")), -150);
    EXPECT_EQ(zvs_val(lit("&HFFFFFFFFFFFFFFFF")), 18446744073709551615.0L);
    EXPECT_EQ(zvs_val_int64(lit("&HFFFFFFFFFFFFFFFF")), -1);
    EXPECT_EQ(zvs_val_uint64(lit("&HFFFFFFFFFFFFFFFF")), std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(zvs_val(lit("")), 0);
    // Counted bytes: a zero byte ends the number like any other byte.
    zvs* with_zero = raw({'4', 0, '2'});
    EXPECT_EQ(zvs_val(with_zero), 4);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(zvs_val(lit("&H10000000000000000")), 0);
    EXPECT_EQ(take_error(), 6);
    // VAL only reads its argument: a temporary stays for the statement-end release.
    zvs* t = raw({'7'});
    EXPECT_EQ(zvs_val_int64(t), 7);
    EXPECT_EQ(text(t), "7");
}

TEST_F(NumberStrings, ReadStringItems) {
    const std::string data = "\",\",a\"b,\"ab\"x,5,last";
    const uint8_t* d = reinterpret_cast<const uint8_t*>(data.data());
    const int32_t length = static_cast<int32_t>(data.size());
    int32_t position = 0;
    zvs* v = zvs_new(0, 0);
    sub_read_string(d, &position, length, v);
    EXPECT_EQ(text(v), ",");
    sub_read_string(d, &position, length, v);
    EXPECT_EQ(text(v), "a\"b");
    sub_read_string(d, &position, length, v);
    EXPECT_EQ(text(v), "");
    EXPECT_EQ(take_error(), 4);
    EXPECT_EQ(func_read_float(d, &position, length, 16), 5);
    sub_read_string(d, &position, length, v);
    EXPECT_EQ(text(v), "last");
    sub_read_string(d, &position, length, v);
    EXPECT_EQ(text(v), "");
    EXPECT_EQ(take_error(), 4);
    // A pending error leaves the variable alone.
    position = 0;
    zvs_set(v, zvs_new_txt("keep"));
    error(53);
    sub_read_string(d, &position, length, v);
    EXPECT_EQ(text(v), "keep");
    EXPECT_EQ(position, 0);
    EXPECT_EQ(take_error(), 53);
    zvs_free(v);
}

TEST_F(NumberStrings, ReadIntoAFixedLengthString) {
    const std::string data = "ab,toolong";
    const uint8_t* d = reinterpret_cast<const uint8_t*>(data.data());
    int32_t position = 0;
    uint8_t storage[4];
    zvs* v = zvs_new_fixed(storage, 4, 0);
    sub_read_string(d, &position, static_cast<int32_t>(data.size()), v);
    EXPECT_EQ(text(v), "ab  ");
    sub_read_string(d, &position, static_cast<int32_t>(data.size()), v);
    EXPECT_EQ(text(v), "tool");
    zvs_free(v);
}

}  // namespace
