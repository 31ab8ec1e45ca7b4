// _READFILE$ and _WRITEFILE: whole files to and from strings.
#include "file/lock.h"
#include "file/whole_file.h"
#include "file_fixture.h"

namespace {

class WholeFileTest : public FileTest {
protected:
    static std::string readfile(const std::string& name) {
        zvs* n = var(name);
        return str(func__readfile(n));
    }
    static void writefile(const std::string& name, const std::string& bytes) { sub__writefile(var(name), var(bytes)); }
};

TEST_F(WholeFileTest, ReadFile) {
    std::string zeros(300, '\0');
    zeros[7] = 'x';
    write_file("zeros", zeros);
    write_file("empty", "");
    std::filesystem::create_directory("folder");
    struct row {
        const char* name;
        std::string result;
        int32_t error;
    };
    const row rows[] = {
        {"missing", "", 53}, {"empty", "", 0}, {"zeros", zeros, 0}, {"folder", "", 53}, {"missing\\x", "", 53},
    };
    for (const row& r : rows) {
        EXPECT_EQ(readfile(r.name), r.result) << r.name;
        EXPECT_EQ(take_error(), r.error) << r.name;
    }
}

TEST_F(WholeFileTest, ReadFileOfASystemFileThatReportsNoSize) {
    std::string status = readfile("/proc/self/status");
    EXPECT_EQ(take_error(), 0);
    EXPECT_NE(status.find("Name:"), std::string::npos);
}

TEST_F(WholeFileTest, ReadFileOfALargeFileReadsItWhole) {
    std::string big(300000, 'a');
    for (size_t i = 0; i < big.size(); i++) big[i] = char(i * 7);
    write_file("big", big);
    EXPECT_EQ(readfile("big"), big);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(WholeFileTest, WriteFile) {
    writefile("new", std::string("a\0b", 3));
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(read_file("new"), std::string("a\0b", 3));
    write_file("full", "old contents");
    writefile("full", "");
    EXPECT_EQ(take_error(), 0);
    EXPECT_TRUE(exists("full"));
    EXPECT_EQ(read_file("full"), "");
    writefile("sub\\missing\\f", "x");
    EXPECT_EQ(take_error(), 76);
    write_file("ro", "keep", 0444);
    writefile("ro", "lost");
    EXPECT_EQ(take_error(), 76);
    EXPECT_EQ(read_file("ro"), "keep");
    std::filesystem::create_directory("sub");
    writefile("sub\\f", "back");
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(readfile("sub/f"), "back");
}

TEST_F(WholeFileTest, AFailedWriteIsReported) {
    writefile("/dev/full", "no room");
    EXPECT_EQ(take_error(), 75);
}

TEST_F(WholeFileTest, BothWorkWhileAnErrorIsPending) {
    error(5);
    writefile("p", "pending");
    EXPECT_EQ(readfile("p"), "pending");
    EXPECT_EQ(take_error(), 5);
}

TEST_F(WholeFileTest, ALockedFileIsNeitherReadNorWritten) {
    write_file("l", "locked bytes");
    ASSERT_EQ(open("l", 2, 1), 0);
    sub_lock(1, 0, 0, 0);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(readfile("l"), "");
    EXPECT_EQ(take_error(), 75);
    writefile("l", "other");
    EXPECT_EQ(take_error(), 75);
    sub_close(1, 1);
    EXPECT_EQ(read_file("l").substr(0, 6), "locked");
}

}  // namespace
