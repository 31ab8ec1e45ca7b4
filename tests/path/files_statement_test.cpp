// FILES on a text screen, read back from the cells.
#include <filesystem>

#include "path/listing.h"
#include "path/path_fixture.h"
#include "text/text_fixture.h"

namespace fs = std::filesystem;

class FilesStatement : public TextTest {
protected:
    temporary_folder folder;
    std::string work;
    void SetUp() override {
        TextTest::SetUp();
        folder.enter();
        work = folder.root + "/work";
        fs::create_directories(work + "/sub");
        ASSERT_EQ(chdir(work.c_str()), 0);
        for (const char* name : {"README.TXT", "longname.jpeg"}) std::ofstream(name) << "x";
        screen(0);
    }
    void TearDown() override {
        folder.leave();
        TextTest::TearDown();
    }
    // " n Bytes free": STR$ of the free bytes.
    static bool free_bytes_line(const std::string& line) {
        const std::string tail = " Bytes free";
        if (line.size() <= tail.size() + 1 || line[0] != ' ' || line.compare(line.size() - tail.size(), tail.size(), tail) != 0)
            return false;
        std::string digits = line.substr(1, line.size() - tail.size() - 1);
        return digits.find_first_not_of("0123456789") == std::string::npos;
    }
    static std::string trimmed(std::string row) {
        row.erase(row.find_last_not_of(' ') + 1);
        return row;
    }
};

TEST_F(FilesStatement, ListsTheFolderInColumnsThenTheFreeBytes) {
    sub_files(text(""), 0);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(trimmed(row(1)), work + "/");
    EXPECT_EQ(row(2),
              "        .   <DIR> "
              "        ..  <DIR> "
              "longname.jpeg      "
              "README  .TXT      "
              "       ");
    EXPECT_EQ(trimmed(row(3)), "sub         <DIR>") << "an entry that does not fit starts a new line";
    EXPECT_TRUE(free_bytes_line(trimmed(row(4)))) << row(4);
    EXPECT_EQ(y(), 5);
    EXPECT_EQ(x(), 1);
}

TEST_F(FilesStatement, APatternListsItsFolderAndOnlyItsMatches) {
    sub_files(text("sub\\..\\*.TXT"), 1);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(trimmed(row(1)), work + "/");
    EXPECT_EQ(trimmed(row(2)), "README  .TXT") << "the line ends after the last entry";
    EXPECT_TRUE(free_bytes_line(trimmed(row(3)))) << row(3);
    sub_cls(0, 0, 0);
    sub_files(text("sub"), 1);
    EXPECT_EQ(trimmed(row(1)), work + "/sub/");
    EXPECT_EQ(trimmed(row(2)), "        .   <DIR>         ..  <DIR>");
}

TEST_F(FilesStatement, NoMatchPrintsTheHeadingThenRaises53) {
    sub_files(text("*.none"), 1);
    EXPECT_EQ(new_error.load(), 53);
    EXPECT_EQ(trimmed(row(1)), work + "/");
    EXPECT_EQ(trimmed(row(2)), "");
    error_reset_for_tests();
    sub_cls(0, 0, 0);
    error(9);
    sub_files(text(""), 0);
    EXPECT_EQ(trimmed(row(1)), "") << "nothing while an error is pending";
}

TEST_F(FilesStatement, ANameWithABackslashIsPrintedAndMarkedAsItIs) {
    fs::create_directories("k/a/b");  // what "a\b" would name if '\' separated
    std::ofstream("k/a\\b") << "x";
    fs::create_directory("k/c\\d");
    sub_files(text("k/*"), 1);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(trimmed(row(1)), work + "/k/");
    EXPECT_EQ(trimmed(row(2)), "        .   <DIR>         ..  <DIR> a           <DIR> a\\b");
    EXPECT_EQ(trimmed(row(3)), "c\\d         <DIR>");
}
