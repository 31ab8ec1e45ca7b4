// PRINT #: the bytes written, the print column behind the comma and TAB, PRINT #
// USING's writer, and the errors.
#include "file/file_fixture.h"
#include "file/print_file.h"
#include "number/print_using.h"
#include "text/text_cursor.h"

namespace {

enum { input_mode = 3, output_mode = 4, append_mode = 5 };

class PrintFile : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        print_file_register();
    }
    void TearDown() override {
        print_using_set_file_writer(nullptr);
        set_tab_file_column(nullptr);
        tab_spc_cr_size = 1;
        tab_fileno = 0;
        FileTest::TearDown();
    }
    static void print(int32_t n, const std::string& s, int32_t space, int32_t zone, int32_t newline) {
        sub_file_print(n, text(s), space, zone, newline);
    }
};

TEST_F(PrintFile, BytesWrittenFromColumnOne) {
    struct Case {
        std::string text;
        int32_t space, zone, newline;
        std::string bytes;
        int64_t column;
    } cases[] = {
        {"abc", 0, 1, 0, "abc" + std::string(11, ' '), 15},
        {"abcdefghijklmn", 0, 1, 0, "abcdefghijklmn" + std::string(14, ' '), 29},
        {"abcdefghijklm", 0, 1, 0, "abcdefghijklm ", 15},
        {"ab\rc", 0, 1, 0, "ab\rc" + std::string(13, ' '), 15},
        {"ab\nc", 0, 1, 0, "ab\nc" + std::string(11, ' '), 15},
        {"x", 0, 0, 1, "x\r\n", 1},
        {"x", 1, 0, 0, "x ", 3},
        {"x", 1, 1, 0, "x" + std::string(13, ' '), 15},
        {"", 0, 0, 1, "\r\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(open("p", output_mode, 1), 0);
        print(1, c.text, c.space, c.zone, c.newline);
        EXPECT_EQ(take_error(), 0);
        EXPECT_EQ(file(1)->print_column, c.column);
        sub_close(1, 1);
        EXPECT_EQ(read_file("p"), c.bytes);
    }
}

TEST_F(PrintFile, ItemsOfOneLine) {
    ASSERT_EQ(open("p", output_mode, 1), 0);
    print(1, "a", 0, 1, 0);
    print(1, "bb", 0, 1, 0);
    print(1, "c", 0, 0, 1);
    print(1, "d", 0, 0, 1);
    sub_close(1, 1);
    EXPECT_EQ(read_file("p"), "a" + std::string(13, ' ') + "bb" + std::string(12, ' ') + "c\r\nd\r\n");
}

TEST_F(PrintFile, AppendWritesAfterTheOldBytes) {
    write_file("a", "0123456789");
    ASSERT_EQ(open("a", append_mode, 1), 0);
    print(1, "x", 0, 0, 0);
    sub_close(1, 1);
    EXPECT_EQ(read_file("a"), "0123456789x");
}

TEST_F(PrintFile, Errors) {
    write_file("in", "abc");
    ASSERT_EQ(open("in", input_mode, 1), 0);
    print(1, "x", 0, 0, 1);
    EXPECT_EQ(take_error(), 54);
    print(2, "x", 0, 0, 1);
    EXPECT_EQ(take_error(), 52);
    print(-1, "x", 0, 0, 1);
    EXPECT_EQ(take_error(), 0);
    sub_open(text("ro"), output_mode, 2, 0, 3, 0, 0);  // ACCESS READ on an empty file
    ASSERT_EQ(take_error(), 0);
    print(3, "x", 0, 0, 1);
    EXPECT_EQ(take_error(), 75);
    EXPECT_EQ(read_file("in"), "abc");
    EXPECT_EQ(read_file("ro"), "");
    error(5);
    ASSERT_EQ(open("q", output_mode, 4), 5);
}

TEST_F(PrintFile, UsingAndTabWorkFromTheFile) {
    ASSERT_EQ(open("p", output_mode, 1), 0);
    zvs* formatted = text("  1.50");
    print_using_file(1, formatted);
    EXPECT_EQ(take_error(), 0);
    tab_spc_cr_size = 2;
    tab_fileno = 1;
    zvs* to10 = func_tab(10);  // from column 7
    print(1, std::string(reinterpret_cast<char*>(to10->text), to10->length), 0, 0, 0);
    print(1, "x", 0, 0, 0);
    zvs* to5 = func_tab(5);    // from column 11: a new line first
    print(1, std::string(reinterpret_cast<char*>(to5->text), to5->length), 0, 0, 0);
    print(1, "y", 0, 0, 1);
    sub_close(1, 1);
    EXPECT_EQ(read_file("p"), "  1.50   x\r\n    y\r\n");
}

}  // namespace
