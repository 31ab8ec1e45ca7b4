// INPUT # of numbers through an in-memory character source.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "core/runtime_flags.h"
#include "error/error.h"
#include "number/decomposed.h"
#include "number/file_input.h"
#include "number/type_word.h"
#include "number/fake_file_source.h"

namespace {

constexpr uint32_t int16_word = 16;
constexpr uint32_t single_word = type_word_float | 32;
constexpr uint32_t double_word = type_word_float | 64;

class FileInput : public ::testing::Test {
protected:
    void SetUp() override {
        error_reset_for_tests();
        runtime_flags_reset_for_tests();
        number_reset_for_tests();
        fake_files::install();
    }
    void TearDown() override { number_reset_for_tests(); }
    int32_t take_error() {
        int32_t n = new_error.load();
        error_reset_for_tests();
        return n;
    }
};

TEST_F(FileInput, ItemsSeparatedByCommasBlanksAndLineEnds) {
    fake_files::open(1, "  12abc, 7");
    EXPECT_EQ(func_file_input_float(1, single_word), 12);
    EXPECT_EQ(func_file_input_float(1, single_word), 7);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(take_error(), 62);

    fake_files::open(2, "1\r\n\r\n2 3\n\r-4.5E1,&H1F 1e2");
    EXPECT_EQ(func_file_input_float(2, double_word), 1);
    EXPECT_EQ(func_file_input_float(2, double_word), 0);
    EXPECT_EQ(func_file_input_float(2, double_word), 2);
    EXPECT_EQ(func_file_input_float(2, double_word), 3);
    EXPECT_EQ(func_file_input_float(2, double_word), -45);
    EXPECT_EQ(func_file_input_float(2, double_word), 31);
    EXPECT_EQ(func_file_input_float(2, double_word), 100);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(FileInput, OnlySpacesAreSkippedBeforeAnItem) {
    fake_files::open(1, "\t5,6");
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(func_file_input_float(1, single_word), 6);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(FileInput, EndOfFile) {
    fake_files::open(1, "   ");
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(take_error(), 62);
    // Byte 26 ends a text file.
    fake_files::open(2, "8\x1A" "9");
    EXPECT_EQ(func_file_input_int64(2), 8);
    EXPECT_EQ(func_file_input_int64(2), 0);
    EXPECT_EQ(take_error(), 62);
}

TEST_F(FileInput, BasedNumbers) {
    fake_files::open(1, "&HFFFF,&hffff,&O17 &B101,&X5,&");
    EXPECT_EQ(func_file_input_float(1, int16_word), -1);
    EXPECT_EQ(func_file_input_int64(1), 65535);
    EXPECT_EQ(func_file_input_uint64(1), 15u);
    EXPECT_EQ(func_file_input_float(1, single_word), 5);
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(FileInput, RangesAndOverflow) {
    fake_files::open(1, "32768,1E39,-0.5,18446744073709551616,2.5,9");
    EXPECT_EQ(func_file_input_float(1, int16_word), 0);
    EXPECT_EQ(take_error(), 6);
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(take_error(), 6);
    EXPECT_EQ(func_file_input_uint64(1), 0u);
    EXPECT_EQ(take_error(), 6);
    EXPECT_EQ(func_file_input_uint64(1), 0u);
    EXPECT_EQ(take_error(), 6);
    EXPECT_EQ(func_file_input_float(1, int16_word), 2);
    // The item after a failed one is read normally.
    EXPECT_EQ(func_file_input_float(1, int16_word), 9);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(FileInput, TooManyDigitsSkipsTheItem) {
    fake_files::open(1, std::string(257, '1') + "99,5," + "1E" + std::string(19, '1') + "x,6");
    EXPECT_EQ(func_file_input_float(1, double_word), 0);
    EXPECT_EQ(take_error(), 6);
    EXPECT_EQ(func_file_input_float(1, double_word), 5);
    EXPECT_EQ(func_file_input_float(1, double_word), 0);
    EXPECT_EQ(take_error(), 6);
    EXPECT_EQ(func_file_input_float(1, double_word), 6);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(FileInput, FileChecks) {
    fake_files::open(1, "5", 54);
    fake_files::open(2, "5", 75);
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(take_error(), 54);
    EXPECT_EQ(func_file_input_int64(2), 0);
    EXPECT_EQ(take_error(), 75);
    EXPECT_EQ(func_file_input_uint64(3), 0u);
    EXPECT_EQ(take_error(), 52);
    // A negative number goes to the byte reader, which refuses it.
    EXPECT_EQ(func_file_input_float(-1, single_word), 0);
    EXPECT_EQ(take_error(), 258);
}

TEST_F(FileInput, WithoutTheFileStatementsNoFileIsOpen) {
    number_set_file_source(nullptr);
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(take_error(), 52);
    EXPECT_EQ(func_file_input_int64(-1), 0);
    EXPECT_EQ(take_error(), 258);
}

TEST_F(FileInput, PendingErrorReadsNothing) {
    fake_files::open(1, "5");
    error(53);
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(take_error(), 53);
    EXPECT_EQ(func_file_input_float(1, single_word), 5);
}

}  // namespace
