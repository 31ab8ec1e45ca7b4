// EOF, LOF, LOC, SEEK() and SEEK in each mode, and which file entry points answer
// while an error is pending.
#include <functional>

#include "file/file_fixture.h"
#include "file/file_queries.h"
#include "file/input_dollar.h"
#include "file/input_file.h"
#include "file/line_input_file.h"
#include "file/print_file.h"

namespace {

enum { random_mode = 1, binary_mode = 2, input_mode = 3, output_mode = 4, append_mode = 5 };

using FileQueries = FileTest;

TEST_F(FileQueries, PositionsInTheUnitsOfEachMode) {
    write_file("r", std::string(100, 'r'));
    ASSERT_EQ(open("r", random_mode, 1, 10, 1), 0);
    sub_seek(1, 3);
    EXPECT_EQ(func_loc(1), 2);
    EXPECT_EQ(func_seek(1), 3);
    uint8_t record[10];
    ASSERT_EQ(gfs_read(gfs_get_fileno(1), -1, record, 10), 0);  // what GET #1, 3 reads
    EXPECT_EQ(func_loc(1), 3);
    EXPECT_EQ(func_seek(1), 4);
    EXPECT_EQ(func_lof(1), 100);

    ASSERT_EQ(open("o", output_mode, 2), 0);
    sub_file_print(2, text(std::string(300, 'o')), 0, 0, 0);
    EXPECT_EQ(func_loc(2), 2);
    EXPECT_EQ(func_seek(2), 301);

    ASSERT_EQ(open("b", binary_mode, 3), 0);
    EXPECT_EQ(func_seek(3), 1);
    EXPECT_EQ(func_loc(3), 0);
    sub_seek(3, 5);
    EXPECT_EQ(func_loc(3), 4);
    EXPECT_EQ(func_seek(3), 5);
    EXPECT_EQ(func_eof(3), 0);  // BINARY: only a read past the end counts

    write_file("a", "0123456789");
    ASSERT_EQ(open("a", append_mode, 4), 0);
    EXPECT_EQ(func_seek(4), 11);
    EXPECT_EQ(func_loc(4), 0);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(FileQueries, SeekStatement) {
    write_file("f", "abcdef");
    ASSERT_EQ(open("f", input_mode, 1), 0);
    ASSERT_EQ(open("f", random_mode, 2, 128, 1), 0);
    sub_seek(1, 6);
    EXPECT_EQ(str(func_input(1, 1, 1)), "f");
    EXPECT_EQ(func_eof(1), -1);
    sub_seek(1, 1);  // back before the end: the flags are cleared
    EXPECT_EQ(func_eof(1), 0);
    struct Case {
        int32_t n;
        int64_t position;
        int32_t error;
    } cases[] = {{1, 0, 63}, {1, -5, 63}, {2, 0, 63}, {2, int64_t(1) << 62, 63}, {9, 1, 52}, {-1, 1, 52}};
    for (const Case& c : cases) {
        sub_seek(c.n, c.position);
        EXPECT_EQ(take_error(), c.error) << c.n << " " << c.position;
    }
    sub_seek(2, 1000);  // past the end is allowed
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(func_seek(2), 1000);
}

TEST_F(FileQueries, EndOfFileInInputMode) {
    write_file("e", "");
    ASSERT_EQ(open("e", input_mode, 1), 0);
    EXPECT_EQ(func_eof(1), -1);
    write_file("z", "\x1a" "abc");
    ASSERT_EQ(open("z", input_mode, 2), 0);
    EXPECT_EQ(func_eof(2), -1);
    write_file("t", "abc");
    ASSERT_EQ(open("t", input_mode, 3), 0);
    EXPECT_EQ(func_eof(3), 0);
}

TEST_F(FileQueries, TheScreenDeviceAndUnboundNumbers) {
    ASSERT_EQ(open("SCRN:", output_mode, 1), 0);
    struct Case {
        std::function<int64_t()> query;
        int32_t error;
    } cases[] = {
        {[] { return func_eof(1); }, 5},  {[] { return func_lof(1); }, 5},  {[] { return func_loc(1); }, 5},
        {[] { return func_seek(1); }, 0}, {[] { return func_eof(2); }, 52}, {[] { return func_lof(2); }, 52},
        {[] { return func_loc(2); }, 52}, {[] { return func_seek(2); }, 52}, {[] { return func_loc(-3); }, 52},
    };
    for (size_t k = 0; k < std::size(cases); k++) {
        EXPECT_EQ(cases[k].query(), 0) << k;
        EXPECT_EQ(take_error(), cases[k].error) << k;
    }
    sub_seek(1, 1);
    EXPECT_EQ(take_error(), 54);
}

// Queries answer while an error is pending; statements wait.
TEST_F(FileQueries, WhatRunsWhileAnErrorIsPending) {
    write_file("f", "abc\r\n");
    ASSERT_EQ(open("f", binary_mode, 1), 0);
    ASSERT_EQ(open("f", input_mode, 2), 0);
    ASSERT_EQ(open("o", output_mode, 3), 0);
    error(5);
    EXPECT_EQ(func_lof(1), 5);
    EXPECT_EQ(func_eof(1), 0);
    EXPECT_EQ(func_loc(1), 0);
    EXPECT_EQ(func_seek(1), 1);
    EXPECT_EQ(func_freefile(), 4);
    zvs* v = var("keep");
    sub_file_input_string(2, v);
    sub_file_line_input_string(2, v);
    EXPECT_EQ(str(func_input(2, 1, 1)), "");
    sub_file_print(3, text("x"), 0, 0, 1);
    sub_seek(1, 3);
    sub_open(text("new"), binary_mode, 0, 0, 4, 0, 0);
    sub_close(1, 1);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(str(v), "keep");
    EXPECT_EQ(func_seek(1), 1);
    EXPECT_EQ(func_seek(2), 1);
    EXPECT_EQ(read_file("o"), "");
    EXPECT_FALSE(exists("new"));
    EXPECT_EQ(gfs_fileno_valid(1), 1);
}

}  // namespace
