// The folder statements and functions: _CWD$, _STARTDIR$, CHDIR, MKDIR, RMDIR, NAME,
// _FULLPATH$, _FILEEXISTS and _DIREXISTS, in a temporary folder.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "path/folders.h"
#include "path/listing.h"
#include "path/path_fixture.h"
#include "support/private_tmpfs.h"

namespace fs = std::filesystem;

using Folders = PathTest;

TEST_F(Folders, CurrentFolderEndsWithASlashAndFollowsChdir) {
    EXPECT_EQ(str(func__cwd()), root + "/");
    fs::create_directories(root + "/sub/dir");
    sub_chdir(s("sub\\dir"));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(str(func__cwd()), root + "/sub/dir/");
    sub_chdir(s("../../sub/dir/.."));
    EXPECT_EQ(str(func__cwd()), root + "/sub/");
    sub_chdir(s("/"));
    EXPECT_EQ(str(func__cwd()), "/") << "the root already ends with its separator";
    error(5);
    EXPECT_EQ(str(func__cwd()), "") << "while an error is pending";
}

TEST_F(Folders, CurrentFolderThatNoLongerExistsIsError51) {
    fs::create_directory(root + "/gone");
    ASSERT_EQ(chdir("gone"), 0);
    fs::remove(root + "/gone");
    EXPECT_EQ(str(func__cwd()), "");
    EXPECT_EQ(new_error.load(), 51);
}

TEST_F(Folders, StartFolderIsKeptFromTheFirstSaveOnly) {
    folders_reset_for_tests();
    EXPECT_EQ(str(func__startdir()), "");
    FS_SaveStartDirectory();
    fs::create_directory(root + "/elsewhere");
    sub_chdir(s("elsewhere"));
    FS_SaveStartDirectory();
    EXPECT_EQ(str(func__startdir()), root + "/");
    error(5);
    EXPECT_EQ(str(func__startdir()), root + "/") << "runs while an error is pending";
}

TEST_F(Folders, FolderStatementErrors) {
    fs::create_directories("sub/dir");
    fs::create_directory("full");
    fs::create_directory("C:");  // a folder named like a drive is never the drive
    write("full/f", "x");
    write("file", "x");
    const struct {
        const char* what;
        void (*statement)(zvs*);
        const char* path;
        int32_t error;
    } cases[] = {
        {"CHDIR", sub_chdir, "missing", 76},
        {"CHDIR", sub_chdir, "file", 76},
        {"CHDIR", sub_chdir, "Q:\\x", 76},
        {"CHDIR", sub_chdir, "C:\\", 76},
        {"CHDIR", sub_chdir, "", 76},
        {"MKDIR", sub_mkdir, "sub", 75},
        {"MKDIR", sub_mkdir, "file", 75},
        {"MKDIR", sub_mkdir, "missing\\new", 76},
        {"MKDIR", sub_mkdir, "Q:\\x", 76},
        {"RMDIR", sub_rmdir, "full", 75},
        {"RMDIR", sub_rmdir, "sub", 75},
        {"RMDIR", sub_rmdir, "missing", 76},
        {"RMDIR", sub_rmdir, "file", 76},
        {"RMDIR", sub_rmdir, "C:\\", 76},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(error_of([&] { c.statement(s(c.path)); }), c.error) << c.what << " " << c.path;
        EXPECT_EQ(str(func__cwd()), root + "/") << c.what << " " << c.path;
    }
    EXPECT_TRUE(fs::exists("full/f"));
    EXPECT_TRUE(fs::is_directory("sub/dir"));
    EXPECT_TRUE(fs::is_directory("C:"));
}

TEST_F(Folders, MakeAndRemoveWithEitherSeparator) {
    fs::create_directory("a");
    sub_mkdir(s("a\\b"));
    sub_mkdir(s("a/b/c"));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_TRUE(fs::is_directory("a/b/c"));
    sub_rmdir(s("a\\b\\c"));
    sub_rmdir(s("a/b"));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_FALSE(fs::exists("a/b"));
}

TEST_F(Folders, StatementsDoNothingWhileAnErrorIsPending) {
    fs::create_directory("d");
    error(7);
    sub_mkdir(s("new"));
    sub_rmdir(s("d"));
    sub_chdir(s("d"));
    write("a", "A");
    sub_name(s("a"), s("b"));
    EXPECT_EQ(new_error.load(), 7);
    EXPECT_FALSE(fs::exists("new"));
    EXPECT_TRUE(fs::exists("d"));
    EXPECT_TRUE(fs::exists("a"));
    EXPECT_EQ(fs::current_path().string(), root);
}

TEST_F(Folders, NameMovesAFileAndNeverReplacesOne) {
    write("a", "A");
    write("b", "B");
    fs::create_directory("sub");
    sub_name(s("a"), s("sub\\moved"));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(read("sub/moved"), "A");
    EXPECT_FALSE(exists("a"));

    EXPECT_EQ(error_of([&] { sub_name(s("sub/moved"), s("b")); }), 5);
    EXPECT_EQ(read("sub/moved"), "A");
    EXPECT_EQ(read("b"), "B");
}

TEST_F(Folders, NameErrors) {
    write("a", "A");
    const struct { const char *from, *to; int32_t error; } cases[] = {
        {"missing", "x", 53},
        {"a", "nofolder/x", 53},
        {"Q:\\a", "x", 53},
        {"NUL", "x", 75},
        {"nul", "x", 75},
        {"a", "NUL", 75},
        {"a", "a/x", 5},  // into itself: ENOTDIR
    };
    for (const auto& c : cases) EXPECT_EQ(error_of([&] { sub_name(s(c.from), s(c.to)); }), c.error) << c.from << " AS " << c.to;
    EXPECT_EQ(read("a"), "A");
    EXPECT_FALSE(exists("x"));
    EXPECT_FALSE(exists("NUL"));
    struct stat st;
    ASSERT_EQ(stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the null device stays where it is";
}

TEST_F(Folders, NameAndKillOnAReadOnlyFileSystemAreAccessDenied) {
    fs::create_directory("ro");
    tmpfs_outcome outcome = run_on_private_tmpfs(
        root + "/ro", 65536, true, [] { write("a", "A"); return std::string(); },
        [] {
            std::string report = "NAME " + std::to_string(error_of([] { sub_name(s("a"), s("b")); }));
            report += " KILL " + std::to_string(error_of([] { sub_kill(s("a")); }));
            report += " kept " + read("a");
            return report;
        });
    if (!outcome.ran) GTEST_SKIP() << "no read-only tmpfs here: " << outcome.why;
    EXPECT_EQ(outcome.report, "NAME 75 KILL 75 kept A");
}

// NAME to another file system: the old name is on the test's folder, the new one on a
// tmpfs of the test's own. A plain file moves by copy; nothing is ever replaced or lost.
TEST_F(Folders, NameToAnotherFileSystem) {
    const std::string content(100000, 'm');
    const struct {
        const char* name;
        bool read_only;      // the other file system
        size_t bytes;        // its size
        const char* target;  // what is there already: "file", or ""
        bool folder;         // the old name is a folder
        const char* report;
    } cases[] = {
        {"moved", false, 1 << 20, "", false, "error 0; moved: 100000 bytes, mode 640, same mtime, same owner; old: gone"},
        {"target exists", false, 1 << 20, "file", false, "error 5; moved: 6 bytes, mode 644, other mtime; old: kept"},
        {"full", false, 32768, "", false, "error 5; moved: missing; old: kept"},
        {"read-only", true, 1 << 20, "", false, "error 75; moved: missing; old: kept"},
        {"a folder", false, 1 << 20, "", true, "error 5; moved: missing; old: kept"},
    };
    fs::create_directory("other");
    const bool root_user = geteuid() == 0;
    for (const auto& c : cases) {
        fs::remove_all("old");
        if (c.folder) {
            fs::create_directories("old/inner");
        } else {
            write("old", content);
            ASSERT_EQ(chmod("old", 0640), 0);
            const struct timespec times[2] = {{1000000000, 0}, {1200000000, 500}};
            ASSERT_EQ(utimensat(AT_FDCWD, "old", times, 0), 0);
            if (root_user) {
                ASSERT_EQ(chown("old", 1234, 1234), 0);
            }
        }
        struct stat before;
        ASSERT_EQ(stat("old", &before), 0);
        const std::string old_path = root + "/old";
        tmpfs_outcome outcome = run_on_private_tmpfs(
            root + "/other", c.bytes, c.read_only,
            [&] {
                if (*c.target) {
                    write("moved", "target");
                    chmod("moved", 0644);
                }
                return std::string();
            },
            [&] {
                std::string report = "error " + std::to_string(error_of([&] { sub_name(s(old_path), s("moved")); }));
                struct stat st;
                if (lstat("moved", &st) != 0) {
                    report += "; moved: missing";
                } else {
                    char mode[8];
                    snprintf(mode, sizeof mode, "%o", unsigned(st.st_mode & 07777));
                    report += "; moved: " + std::to_string(read("moved").size()) + " bytes, mode " + mode;
                    bool same_time = st.st_mtim.tv_sec == before.st_mtim.tv_sec && st.st_mtim.tv_nsec == before.st_mtim.tv_nsec;
                    report += same_time ? ", same mtime" : ", other mtime";
                    if (same_time) report += st.st_uid == before.st_uid && st.st_gid == before.st_gid ? ", same owner" : ", other owner";
                }
                struct stat old_now;
                bool kept = lstat(old_path.c_str(), &old_now) == 0 &&
                            (c.folder ? fs::is_directory(old_path + "/inner") : read(old_path) == content);
                return report + (kept ? "; old: kept" : lstat(old_path.c_str(), &old_now) == 0 ? "; old: changed" : "; old: gone");
            });
        if (!outcome.ran) GTEST_SKIP() << "no private tmpfs here: " << outcome.why;
        EXPECT_EQ(outcome.report, c.report) << c.name;
    }
}

TEST_F(Folders, NameOfAFolderMovesIt) {
    fs::create_directories("d/inner");
    sub_name(s("d"), s("e"));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_TRUE(fs::is_directory("e/inner"));
    EXPECT_EQ(error_of([&] { sub_name(s("e"), s("e/inner/x")); }), 64) << "a folder into itself";
}

TEST_F(Folders, FullPathOfExistingAndMissingPaths) {
    fs::create_directory("sub");
    write("f", "x");
    const struct { const char* path; std::string answer; int32_t error; } cases[] = {
        {".", root + "/", 0},
        {"sub", root + "/sub/", 0},
        {"sub\\..\\f", root + "/f", 0},
        {"sub/../f", root + "/f", 0},
        {"./sub/.", root + "/sub/", 0},
        {"NUL", "/dev/null", 0},
        {"missing", "", 76},
        {"Q:\\f", "", 76},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        error_reset_for_tests();
        EXPECT_EQ(str(func__fullpath(s(c.path))), c.answer) << c.path;
        EXPECT_EQ(new_error.load(), c.error) << c.path;
    }
    error_reset_for_tests();
    error(9);
    EXPECT_EQ(str(func__fullpath(s("f"))), "") << "while an error is pending";
}

TEST_F(Folders, FullPathConsumesATemporaryArgument) {
    write("f", "x");
    int64_t before = zvs_heap_info_now().live_descriptors;
    zvs* argument = zvs_new(1, 1);
    argument->text[0] = 'f';
    zvs* result = func__fullpath(argument);
    EXPECT_EQ(str(result), root + "/f");
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, before + 1) << "only the result is left";
}

TEST_F(Folders, ExistenceTests) {
    fs::create_directory("sub");
    write("sub/f", "x");
    ASSERT_EQ(symlink("missing-target", "broken"), 0);
    ASSERT_EQ(symlink("sub", "link"), 0);
    fs::create_directories("C:/DATA");  // folders named like a drive and its folder
    write("C:/DATA/X.TXT", "x");
    const struct { const char* path; int32_t file, folder; } cases[] = {
        {"sub\\f", -1, 0}, {"sub/f", -1, 0}, {"sub", 0, -1},   {"missing", 0, 0}, {"", 0, 0},
        {"link", 0, -1},   {"broken", 0, 0}, {"Q:\\sub", 0, 0}, {"NUL", -1, 0},    {".", 0, -1},
        {"C:\\", 0, 0},    {"C:\\DATA", 0, 0}, {"C:/DATA", 0, 0}, {"C:\\DATA\\X.TXT", 0, 0},
    };
    for (bool pending : {false, true}) {
        error_reset_for_tests();
        if (pending) error(5);
        for (const auto& c : cases) {
            EXPECT_EQ(func__fileexists(s(c.path)), c.file) << c.path << (pending ? " pending" : "");
            EXPECT_EQ(func__direxists(s(c.path)), c.folder) << c.path << (pending ? " pending" : "");
        }
        EXPECT_EQ(new_error.load(), pending ? 5 : 0);
    }
}
