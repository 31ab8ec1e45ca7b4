// The folder statements and functions: _CWD$, _STARTDIR$, CHDIR, MKDIR, RMDIR, NAME,
// _FULLPATH$, _FILEEXISTS and _DIREXISTS, in a temporary folder.
#include <sys/stat.h>

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
        {"CHDIR", sub_chdir, "", 76},
        {"MKDIR", sub_mkdir, "sub", 75},
        {"MKDIR", sub_mkdir, "file", 75},
        {"MKDIR", sub_mkdir, "missing\\new", 76},
        {"MKDIR", sub_mkdir, "Q:\\x", 76},
        {"RMDIR", sub_rmdir, "full", 75},
        {"RMDIR", sub_rmdir, "sub", 75},
        {"RMDIR", sub_rmdir, "missing", 76},
        {"RMDIR", sub_rmdir, "file", 76},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(error_of([&] { c.statement(s(c.path)); }), c.error) << c.what << " " << c.path;
        EXPECT_EQ(str(func__cwd()), root + "/") << c.what << " " << c.path;
    }
    EXPECT_TRUE(fs::exists("full/f"));
    EXPECT_TRUE(fs::is_directory("sub/dir"));
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
    const struct { const char* path; int32_t file, folder; } cases[] = {
        {"sub\\f", -1, 0}, {"sub/f", -1, 0}, {"sub", 0, -1},   {"missing", 0, 0}, {"", 0, 0},
        {"link", 0, -1},   {"broken", 0, 0}, {"Q:\\sub", 0, 0}, {"NUL", -1, 0},    {".", 0, -1},
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
