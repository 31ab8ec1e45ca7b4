// INPUT # of strings and numbers, LINE INPUT # and INPUT$ on real files.
#include "file/file_fixture.h"
#include "file/input_dollar.h"
#include "file/input_file.h"
#include "file/line_input_file.h"
#include "file/file_queries.h"
#include "number/file_input.h"
#include "number/type_word.h"

namespace {

enum { random_mode = 1, binary_mode = 2, input_mode = 3, output_mode = 4 };

class InputFile : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        input_file_register();
    }
    void TearDown() override {
        number_set_file_source(nullptr);
        input_dollar_set_key_source(nullptr);
        FileTest::TearDown();
    }
    // Items read with INPUT # of strings until the end, each with its error.
    std::vector<std::string> input_strings(const std::string& bytes, size_t items) {
        write_file("i", bytes);
        EXPECT_EQ(open("i", input_mode, 1), 0);
        std::vector<std::string> got;
        for (size_t k = 0; k < items; k++) {
            zvs* v = var("old");
            sub_file_input_string(1, v);
            got.push_back(str(v) + "|" + std::to_string(take_error()));
        }
        sub_close(1, 1);
        return got;
    }
    std::vector<std::string> line_input(const std::string& bytes, int32_t mode, size_t lines) {
        write_file("l", bytes);
        EXPECT_EQ(open("l", mode, 1), 0);
        std::vector<std::string> got;
        for (size_t k = 0; k < lines; k++) {
            zvs* v = var("old");
            sub_file_line_input_string(1, v);
            EXPECT_EQ(take_error(), 0);
            got.push_back(str(v));
        }
        return got;
    }
};

TEST_F(InputFile, StringItems) {
    using V = std::vector<std::string>;
    EXPECT_EQ(input_strings("  \"x, y\"  ,z", 3), (V{"x, y|0", "z|0", "|62"}));
    EXPECT_EQ(input_strings("hello  , world", 2), (V{"hello|0", "world|0"}));
    EXPECT_EQ(input_strings("a\r\nb\n\rc\rd\ne", 5), (V{"a|0", "b|0", "c|0", "d|0", "e|0"}));
    EXPECT_EQ(input_strings("\t\"q\"junk,r", 2), (V{"q|0", "r|0"}));
    EXPECT_EQ(input_strings("\"open", 2), (V{"open|0", "|62"}));
    EXPECT_EQ(input_strings("a,,b", 3), (V{"a|0", "|0", "b|0"}));
    EXPECT_EQ(input_strings("last\x1a" "hidden", 2), (V{"last|0", "|62"}));
}

TEST_F(InputFile, ByteTwentySixEndsTheFile) {
    write_file("i", "abc\x1a" "def");
    ASSERT_EQ(open("i", input_mode, 1), 0);
    zvs* v = var();
    sub_file_input_string(1, v);
    EXPECT_EQ(str(v), "abc");
    EXPECT_EQ(func_eof(1), -1);
    EXPECT_EQ(gfs_getpos(gfs_get_fileno(1)), 3);  // the 26 stays unread
    zvs* rest = func_input(1, 1, 1);
    EXPECT_EQ(take_error(), 62);
    EXPECT_EQ(str(rest), "");
}

TEST_F(InputFile, StringItemErrors) {
    write_file("o", "");
    ASSERT_EQ(open("o", output_mode, 1), 0);
    zvs* v = var("keep");
    sub_file_input_string(1, v);
    EXPECT_EQ(take_error(), 54);
    sub_file_input_string(2, v);
    EXPECT_EQ(take_error(), 52);
    sub_file_input_string(-1, v);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(str(v), "keep");
}

TEST_F(InputFile, NumbersReadThroughTheByteReaders) {
    write_file("n", "  12abc, 7\r\n-4.5E1 &H1F\x1a" "99");
    ASSERT_EQ(open("n", input_mode, 1), 0);
    const uint32_t single_word = type_word_float | 32;
    for (long double expected : {12.0L, 7.0L, -45.0L, 31.0L}) EXPECT_EQ(func_file_input_float(1, single_word), expected);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(func_eof(1), -1);
    EXPECT_EQ(func_file_input_float(1, single_word), 0);
    EXPECT_EQ(take_error(), 62);
    ASSERT_EQ(open("o", output_mode, 2), 0);
    func_file_input_float(2, single_word);
    EXPECT_EQ(take_error(), 54);
    func_file_input_float(3, single_word);
    EXPECT_EQ(take_error(), 52);
    func_file_input_float(-1, single_word);
    EXPECT_EQ(take_error(), 258);
}

TEST_F(InputFile, LineInput) {
    using V = std::vector<std::string>;
    struct Case {
        std::string bytes;
        int32_t mode;
        V lines;
    } cases[] = {
        {"ab\r\nc\r\n", input_mode, {"ab", "c"}},
        {"ab\n\rc", input_mode, {"ab", "c"}},
        {"ab\rc", input_mode, {"ab", "c"}},
        {"\r\n\r\nz", input_mode, {"", "", "z"}},
        {"abc\nd", binary_mode, {"abc", "d"}},
        {"abc\r\n", binary_mode, {"abc"}},
        {"ab\rc\r", binary_mode, {"ab\rc\r"}},
        {std::string(513, 'q'), binary_mode, {std::string(513, 'q')}},
        {std::string(2000, 'w') + "\nx", binary_mode, {std::string(2000, 'w'), "x"}},
        {std::string(1 << 20, 'm'), binary_mode, {std::string(1 << 20, 'm')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 10));
        EXPECT_EQ(line_input(c.bytes, c.mode, c.lines.size()), c.lines);
        EXPECT_EQ(func_eof(1), -1);
        zvs* v = var("keep");
        sub_file_line_input_string(1, v);
        EXPECT_EQ(take_error(), 62);
        sub_close(1, 1);
    }
}

TEST_F(InputFile, LineInputInTheMiddleOfABinaryFile) {
    write_file("b", "one\r\ntwo\nthree");
    ASSERT_EQ(open("b", binary_mode, 1), 0);
    zvs* v = var();
    sub_file_line_input_string(1, v);
    EXPECT_EQ(str(v), "one");
    EXPECT_EQ(func_seek(1), 6);
    EXPECT_EQ(func_eof(1), 0);
    sub_file_line_input_string(1, v);
    EXPECT_EQ(str(v), "two");
    sub_file_line_input_string(1, v);
    EXPECT_EQ(str(v), "three");
    EXPECT_EQ(func_eof(1), -1);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(InputFile, LineInputErrors) {
    write_file("f", "abc");
    ASSERT_EQ(open("f", output_mode, 1), 0);
    ASSERT_EQ(open("f", random_mode, 2), 0);
    zvs* v = var("keep");
    struct Case {
        int32_t n, error;
    } cases[] = {{1, 75}, {2, 54}, {3, 52}, {-1, 52}};
    for (const Case& c : cases) {
        sub_file_line_input_string(c.n, v);
        EXPECT_EQ(take_error(), c.error) << c.n;
    }
    EXPECT_EQ(str(v), "keep");
}

TEST_F(InputFile, InputDollarFromFiles) {
    write_file("three", "abc");
    ASSERT_EQ(open("three", input_mode, 1), 0);
    EXPECT_EQ(str(func_input(3, 1, 1)), "abc");
    EXPECT_EQ(func_eof(1), -1);
    sub_close(1, 1);
    ASSERT_EQ(open("three", input_mode, 1), 0);
    EXPECT_EQ(str(func_input(2, 1, 1)), "ab");
    EXPECT_EQ(func_eof(1), 0);
    EXPECT_EQ(str(func_input(2, 1, 1)), "c");  // only the bytes collected
    EXPECT_EQ(take_error(), 62);
    sub_close(1, 1);

    ASSERT_EQ(open("three", binary_mode, 2), 0);
    EXPECT_EQ(str(func_input(1, 2, 1)), "a");
    EXPECT_EQ(str(func_input(5, 2, 1)), "bc");
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(func_eof(2), -1);
    EXPECT_EQ(str(func_input(0, 2, 1)), "");

    ASSERT_EQ(open("three", random_mode, 3), 0);
    ASSERT_EQ(open("out", output_mode, 4), 0);
    struct Case {
        int32_t count, n, error;
    } cases[] = {{1, 3, 62}, {1, 4, 62}, {1, 9, 52}, {-1, 2, 52}, {-1, 3, 62}};
    for (const Case& c : cases) {
        EXPECT_EQ(str(func_input(c.count, c.n, 1)), "");
        EXPECT_EQ(take_error(), c.error) << c.n;
    }
}

std::string typed;
zvs* typed_key() {
    // One key every other poll, as a keyboard would deliver them.
    static bool gap = false;
    gap = !gap;
    if (gap || typed.empty()) return zvs_new(0, 1);
    zvs* k = zvs_new(1, 1);
    k->text[0] = static_cast<uint8_t>(typed[0]);
    typed.erase(0, 1);
    return k;
}

TEST_F(InputFile, InputDollarFromTheKeyboard) {
    input_dollar_set_key_source(typed_key);
    typed = "hello";
    EXPECT_EQ(str(func_input(3, 0, 0)), "hel");
    EXPECT_EQ(str(func_input(2, 0, 0)), "lo");
    EXPECT_EQ(str(func_input(0, 0, 0)), "");
    func_input(-1, 0, 0);
    EXPECT_EQ(take_error(), 52);
}

}  // namespace
