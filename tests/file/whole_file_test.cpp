// _READFILE$ and _WRITEFILE: whole files to and from strings.
#include <errno.h>
#include <sys/xattr.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "file/lock.h"
#include "file/replace_file.h"
#include "file/whole_file.h"
#include "file_fixture.h"
#include "full_disk.h"
#include "whole_file_cases.h"
#include "support/private_tmpfs.h"

namespace {

// The names in the current folder.
std::set<std::string> folder_names() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) names.insert(entry.path().filename().string());
    return names;
}

class WholeFileTest : public FileTest {
protected:
    void TearDown() override {
        gfs_os_set_whole_file_write_for_tests(nullptr);
        FileTest::TearDown();
    }
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

TEST_F(WholeFileTest, AFailedWriteLeavesThePreviousFileAsItWas) {
    const std::string previous = "previous contents, byte for byte";
    const std::string next(100000, 'n');
    gfs_os_set_whole_file_write_for_tests(full_disk_write);
    for (int64_t budget : {int64_t(0), int64_t(1), int64_t(previous.size()), int64_t(next.size()) - 1}) {
        write_file("f", previous, 0640);
        full_disk_budget = budget;
        writefile("f", next);
        EXPECT_EQ(take_error(), 75) << budget;
        EXPECT_EQ(read_file("f"), previous) << budget;
        struct stat st;
        ASSERT_EQ(stat("f", &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << budget;
        EXPECT_EQ(folder_names(), std::set<std::string>{"f"}) << "no temporary file stays behind, " << budget;

        full_disk_budget = budget;
        writefile("new", next);
        EXPECT_EQ(take_error(), 75) << budget;
        EXPECT_FALSE(exists("new")) << "a file that was missing stays missing, " << budget;
    }
    full_disk_budget = int64_t(next.size());
    writefile("f", next);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(read_file("f"), next);
}

TEST_F(WholeFileTest, AReplacedFileKeepsItsModeAndLinksAreWrittenThrough) {
    write_file("private", "old", 0600);
    writefile("private", "new");
    EXPECT_EQ(take_error(), 0);
    struct stat st;
    ASSERT_EQ(stat("private", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(read_file("private"), "new");

    // A symbolic link stays a link to the same file; a second name sees the new bytes.
    write_file("target", "old target");
    ASSERT_EQ(symlink("target", "link"), 0);
    writefile("link", "through the link");
    EXPECT_EQ(take_error(), 0);
    struct stat lst;
    ASSERT_EQ(lstat("link", &lst), 0);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));
    EXPECT_EQ(read_file("target"), "through the link");
    ASSERT_EQ(link("target", "second"), 0);
    writefile("target", "both names");
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(read_file("second"), "both names");

    // A file open under a number here is written where its number reads.
    write_file("open", "abc");
    ASSERT_EQ(open("open", 2, 1), 0);
    ASSERT_EQ(stat("open", &st), 0);
    ino_t before = st.st_ino;
    writefile("open", "xyz");
    EXPECT_EQ(take_error(), 0);
    ASSERT_EQ(stat("open", &st), 0);
    EXPECT_EQ(st.st_ino, before);
    EXPECT_EQ(read_file("open"), "xyz");
    EXPECT_EQ(folder_names(), (std::set<std::string>{"private", "target", "link", "second", "open"}));
}

// The mode of the file that the first write of a whole-file write goes into.
mode_t mode_while_written = 0;
ssize_t write_noting_the_mode(int fd, const void* bytes, size_t count) {
    struct stat st;
    if (mode_while_written == 0 && fstat(fd, &st) == 0) mode_while_written = st.st_mode & 07777;
    return ::write(fd, bytes, count);
}

// A file's mode, and its access ACL when it has one.
std::string mode_and_acl(const std::string& name) {
    struct stat st;
    if (stat(name.c_str(), &st) != 0) return "missing";
    char octal[8];
    snprintf(octal, sizeof octal, "%04o", unsigned(st.st_mode & 07777));
    std::string text = octal;
    char acl[1024];
    ssize_t n = getxattr(name.c_str(), "system.posix_acl_access", acl, sizeof acl);
    for (ssize_t i = 0; i < n; i++) {
        snprintf(octal, sizeof octal, "%02x", unsigned(uint8_t(acl[i])));
        text += (i == 0 ? " acl " : "") + std::string(octal);
    }
    return text;
}

// The bytes go into a side file that only the user can open, whatever the file's mode
// or the umask: a descriptor opened on it meanwhile would read the file's new contents
// after the rename. The file then has its previous mode; a new file the mode and ACL a
// plain create gives it in that folder.
TEST_F(WholeFileTest, TheSideFileIsPrivateWhileItIsWritten) {
    struct umask_kept {
        mode_t saved = umask(022);
        ~umask_kept() { umask(saved); }
    } kept;
    const struct {
        const char* name;
        mode_t previous;  // 0: no file yet
        bool default_acl;
    } rows[] = {
        {"0600 file", 0600, false},
        {"0640 file", 0640, false},
        {"0644 file", 0644, false},
        {"new file", 0, false},
        {"new file in a folder with a default ACL", 0, true},
    };
    gfs_os_set_whole_file_write_for_tests(write_noting_the_mode);
    int folder_number = 0;
    for (mode_t mask : {mode_t(022), mode_t(002)}) {
        for (const auto& row : rows) {
            char trace[96];
            snprintf(trace, sizeof trace, "%s, umask %03o", row.name, unsigned(mask));
            SCOPED_TRACE(trace);
            umask(mask);
            const std::string folder = "f" + std::to_string(folder_number++);
            ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
            if (row.default_acl &&
                setxattr(folder.c_str(), "system.posix_acl_default", whole_file_cases::read_for_another_user.data(),
                         whole_file_cases::read_for_another_user.size(), 0) != 0) {
                std::printf("row skipped, no default ACL here: %s\n", strerror(errno));
                continue;
            }
            const std::string target = folder + "/target", plain = folder + "/plain";
            if (row.previous) write_file(target, "previous", row.previous);
            int made = ::open(plain.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            ASSERT_GE(made, 0);
            close(made);

            mode_while_written = 0;
            writefile(target, std::string(70000, 'n'));
            EXPECT_EQ(take_error(), 0);
            EXPECT_EQ(read_file(target), std::string(70000, 'n'));
            char seen[8];
            snprintf(seen, sizeof seen, "%04o", unsigned(mode_while_written));
            char previous[8];
            snprintf(previous, sizeof previous, "%04o", unsigned(row.previous));
            EXPECT_EQ("while written " + std::string(seen) + ", after " + mode_and_acl(target),
                      "while written 0600, after " + (row.previous ? std::string(previous) : mode_and_acl(plain)));
        }
    }
}

TEST_F(WholeFileTest, AFullTmpfsKeepsThePreviousFile) {
    ASSERT_EQ(mkdir("small", 0777), 0);
    const std::string previous = "the file before the disk filled up";
    tmpfs_outcome outcome = run_on_private_tmpfs(
        folder_ + "/small", 65536, false, [&] { write_file("f", previous); return std::string(); },
        [&] {
            std::string report = "error " + std::to_string((writefile("f", std::string(200000, 'x')), take_error()));
            report += read_file("f") == previous ? " kept" : " lost";
            report += folder_names() == std::set<std::string>{"f"} ? " alone" : " with others";
            return report;
        });
    if (!outcome.ran) GTEST_SKIP() << "no small tmpfs here: " << outcome.why;
    EXPECT_EQ(outcome.report, "error 75 kept alone");
}

class WriteFileCases : public WholeFileCases {};

TEST_P(WriteFileCases, Row) {
    const std::string written = whole_file_cases::bytes_of(whole_file_cases::new_size, 7);
    run_row(GetParam().writefile_error, written, [&] {
        sub__writefile(var("f"), var(written));
        return take_error();
    });
}
INSTANTIATE_TEST_SUITE_P(WholeFile, WriteFileCases, ::testing::ValuesIn(whole_file_cases::cases), whole_file_case_name);

}  // namespace
