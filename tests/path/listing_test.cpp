// The folder enumerator, its wildcard matcher, _FILES$ and KILL.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "file/file_numbers.h"
#include "file/gfs.h"
#include "path/folders.h"
#include "path/listing.h"
#include "path/path_fixture.h"

namespace fs = std::filesystem;

TEST(Wildcard, MatchesWithoutBackingUpWithinTheName) {
    const struct { const char *pattern, *name; bool match; } cases[] = {
        {"*", "x", true},          {"*", "", true},           {"*.*", "README", false}, {"*.*", "a.b", true},
        {"*.BAS", "prog.bas", true}, {"*.bas", "a.bas.bas", true}, {"*aab", "aaab", false}, {"*ab", "aab", true},
        {"*B", "ab", true},        {"a?", "a", true},         {"?", "ab", false},       {"?", "", true},
        {"a*c", "ABBC", true},     {"a*c", "abcd", false},    {"README", "readme", true}, {"x", "y", false},
        {"*.txt", "a.txt.bak", false}, {"a*", "b", false},    {"*x*", "axbxc", true},   {"", "", true},
    };
    for (const auto& c : cases) EXPECT_EQ(FS_WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(Wildcard, ReturnsForNamesWithZeroBytes) {
    using namespace std::string_view_literals;
    const struct { std::string_view pattern, name; bool match; } cases[] = {
        {"*"sv, "a\0b"sv, true},     {"a*"sv, "a\0"sv, true},      {"*"sv, "\0"sv, true},
        {"*.txt"sv, "a\0.txt"sv, true}, {"*x"sv, "\0\0y"sv, false}, {"a?c"sv, "a\0c"sv, true},
        {"*\0*"sv, "a\0b"sv, true},  {"a*b*"sv, "a\0\0"sv, false},
    };
    for (const auto& c : cases) EXPECT_EQ(FS_WildcardMatch(c.pattern, c.name), c.match) << c.pattern.size();
}

class Listing : public PathTest {
protected:
    void SetUp() override {
        PathTest::SetUp();
        files_reset_for_tests();
        for (const char* name : {"a.txt", "B.TXT", "c.bas"}) write(name, name);
        fs::create_directory("sub");
        write("sub/inner.txt", "i");
    }
    std::string files(const std::string& spec) { return str(func__files(s(spec), 1)); }
    std::string files_next() { return str(func__files(s(""), 0)); }
    // The rest of the listing under way.
    std::vector<std::string> rest() {
        std::vector<std::string> names;
        for (std::string name = files_next(); !name.empty(); name = files_next()) names.push_back(name);
        return names;
    }
    std::vector<std::string> listing(const std::string& spec) {
        std::vector<std::string> names;
        std::string first = files(spec);
        if (first.empty()) return names;
        names.push_back(first);
        for (const std::string& n : rest()) names.push_back(n);
        return names;
    }
    using names = std::vector<std::string>;
};

TEST_F(Listing, FilesHandsOutEachMatchOnceThenError5) {
    EXPECT_EQ(files("*.TXT"), "a.txt");
    EXPECT_EQ(files_next(), "B.TXT");
    EXPECT_EQ(files_next(), "");
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(files_next(), "");
    EXPECT_EQ(new_error.load(), 5) << "no listing under way";
}

TEST_F(Listing, FilesListsFoldersSortedWithATrailingSlash) {
    write("_x", "");
    write("Zz", "");
    write("a", "");
    EXPECT_EQ(listing(""), (names{"./", "../", "a", "a.txt", "B.TXT", "c.bas", "home/", "sub/", "Zz", "_x"}))
        << "upper-cased bytewise: '_' sorts after every capital, so after lower-case letters too";
    EXPECT_EQ(listing("sub"), (names{"./", "../", "inner.txt"}));
    EXPECT_EQ(listing("sub\\"), (names{"./", "../", "inner.txt"}));
    EXPECT_EQ(listing("sub\\*.TXT"), (names{"inner.txt"}));
    EXPECT_EQ(listing("./S*"), (names{"sub/"}));
    EXPECT_EQ(listing("c.bas"), (names{"c.bas"}));
    EXPECT_EQ(listing("sub/inner.txt"), (names{"inner.txt"}));
    EXPECT_EQ(listing("*.none"), names{});
    EXPECT_EQ(listing("missing/*"), names{});
    EXPECT_EQ(listing("missing"), names{});
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Listing, EnumeratorTakesASnapshotAndTiesSortByRawBytes) {
    write("ab", "");
    write("AB", "");
    write("aB", "");
    DirectoryContext context;
    EXPECT_EQ(FS_NextMatchingEntry(&context, "a?"), "AB");
    fs::remove("aB");
    write("aX", "");
    EXPECT_EQ(FS_NextMatchingEntry(&context, ""), "aB") << "names are taken when the listing starts";
    EXPECT_EQ(FS_NextMatchingEntry(&context, ""), "ab");
    EXPECT_EQ(FS_NextMatchingEntry(&context, ""), "");
    EXPECT_EQ(FS_NextMatchingEntry(&context, ""), "");
}

TEST_F(Listing, FilesWhileAnErrorIsPendingAndWithATemporarySpec) {
    error(9);
    EXPECT_EQ(files("*"), "");
    EXPECT_EQ(new_error.load(), 9);
    error_reset_for_tests();
    int64_t before = zvs_heap_info_now().live_descriptors;
    zvs* spec = zvs_new(5, 1);
    memcpy(spec->text, "c.bas", 5);
    EXPECT_EQ(str(func__files(spec, 1)), "c.bas");
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, before + 1);
}

class Kill : public Listing {};

TEST_F(Kill, PatternsDeleteOnlyMatchingPlainFiles) {
    fs::create_directory("dir.txt");
    sub_kill(s("*.TXT"));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_FALSE(exists("a.txt"));
    EXPECT_FALSE(exists("B.TXT"));
    EXPECT_TRUE(exists("c.bas"));
    EXPECT_TRUE(fs::is_directory("dir.txt")) << "folders are never deleted";
    EXPECT_TRUE(exists("sub/inner.txt"));
    sub_kill(s("sub\\*"));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_FALSE(exists("sub/inner.txt"));
    EXPECT_TRUE(fs::is_directory("sub"));
}

TEST_F(Kill, Errors) {
    fs::create_directory("other");
    write("other/a.txt", "o");
    write("sub/a.txt", "s");
    const struct { const char* spec; int32_t error; } cases[] = {
        {"*.none", 53},  {"s*", 53},   {"missing", 53}, {"missing/*", 53},
        {"sub", 53},     {"sub\\", 53}, {"NUL", 75},     {"Q:\\a.txt", 53},
    };
    for (const auto& c : cases) EXPECT_EQ(error_of([&] { sub_kill(s(c.spec)); }), c.error) << c.spec;
    // Naming a folder deletes nothing, in it or beside it.
    for (const char* kept : {"a.txt", "B.TXT", "c.bas", "sub/inner.txt", "sub/a.txt", "other/a.txt"})
        EXPECT_TRUE(exists(kept)) << kept;
    EXPECT_TRUE(fs::is_directory("sub"));
    struct stat st;
    ASSERT_EQ(stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(Kill, APlainNameDeletesJustThatFile) {
    sub_kill(s("sub\\inner.txt"));
    sub_kill(s("a.txt"));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_FALSE(exists("sub/inner.txt"));
    EXPECT_FALSE(exists("a.txt"));
    EXPECT_TRUE(exists("B.TXT"));
    EXPECT_EQ(error_of([&] { sub_kill(s("a.txt")); }), 53);
}

TEST_F(Kill, AReadOnlyFileStaysAndTheOthersGo) {
    write("d.txt", "d");
    ASSERT_EQ(chmod("B.TXT", 0444), 0);
    EXPECT_EQ(error_of([&] { sub_kill(s("*.txt")); }), 75);
    EXPECT_FALSE(exists("a.txt"));
    EXPECT_FALSE(exists("d.txt"));
    EXPECT_EQ(read("B.TXT"), "B.TXT");
}

TEST_F(Kill, LinksGoButNotWhatTheyNameAndOtherEntriesStay) {
    ASSERT_EQ(symlink("c.bas", "link.lnk"), 0);
    ASSERT_EQ(symlink("missing", "broken.lnk"), 0);
    ASSERT_EQ(symlink("sub", "folder.lnk"), 0);
    ASSERT_EQ(mkfifo("pipe.lnk", 0666), 0);
    EXPECT_EQ(error_of([&] { sub_kill(s("*.lnk")); }), 75) << "the pipe";
    EXPECT_FALSE(exists("link.lnk"));
    EXPECT_FALSE(exists("broken.lnk"));
    EXPECT_TRUE(exists("folder.lnk")) << "a link to a folder lists as a folder";
    EXPECT_TRUE(exists("pipe.lnk"));
    EXPECT_EQ(read("c.bas"), "c.bas");
}

TEST_F(Kill, NothingWhileAnErrorIsPending) {
    error(9);
    sub_kill(s("*"));
    EXPECT_EQ(new_error.load(), 9);
    EXPECT_TRUE(exists("a.txt"));
}

TEST_F(Kill, AFileOpenHereStays) {
    gfs_reset_for_tests();
    sub_open(s("a.txt"), 2, 0, 0, 1, 0, 0);
    ASSERT_EQ(new_error.load(), 0);
    EXPECT_EQ(error_of([&] { sub_kill(s("*.txt")); }), 75);
    EXPECT_EQ(read("a.txt"), "a.txt");
    EXPECT_FALSE(exists("B.TXT")) << "the loop goes on";
    EXPECT_EQ(error_of([&] { sub_name(s("a.txt"), s("moved")); }), 75);
    EXPECT_TRUE(exists("a.txt"));
    sub_close(1, 1);
    sub_name(s("a.txt"), s("moved"));
    sub_kill(s("moved"));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_FALSE(exists("moved"));
}

// A '\' is an ordinary byte of a name here. KILL deletes each listed name inside the
// folder that listed it; what the program writes ('\' or '/') still separates folders.
class KillNames : public PathTest {
protected:
    // Every file and link under the current folder, as paths relative to it.
    static std::vector<std::string> files_left() {
        std::vector<std::string> left;
        for (const auto& e : fs::recursive_directory_iterator("."))
            if (!e.is_directory()) left.push_back(e.path().lexically_relative(".").string());
        std::sort(left.begin(), left.end());
        return left;
    }
};

TEST_F(KillNames, EachListedNameIsDeletedInsideItsOwnFolder) {
    const struct {
        const char* pattern;
        std::vector<std::string> files;  // "<here>" stands for the row's folder, written with '\'
        std::vector<std::string> left;
        int32_t error;
    } cases[] = {
        {"k6/*.txt", {"k6/a/b.txt", "k6/a\\b.txt"}, {"k6/a/b.txt"}, 0},
        {"k6\\*.txt", {"k6/a/b.txt", "k6/a\\b.txt"}, {"k6/a/b.txt"}, 0},
        {"k17/*.txt", {"up.txt", "k17/..\\up.txt"}, {"up.txt"}, 0},
        {"*.vic", {"x/victim.vic", "<here>\\x\\victim.vic"}, {"x/victim.vic"}, 0},
        {"*.txt", {"a/b.txt", "a\\b.txt", "c.bas"}, {"a/b.txt", "c.bas"}, 0},
        {"d/*", {"d/\\", "d/..\\e", "e"}, {"e"}, 0},
        // Written by the program, '\' is a folder separator.
        {"a\\b.txt", {"a/b.txt", "a\\b.txt"}, {"a\\b.txt"}, 0},
        {"a\\*.txt", {"a/b.txt", "a\\b.txt"}, {"a\\b.txt"}, 0},
        // A listed name that reads as a folder once converted is still a plain file.
        {"m/*", {"m/s\\..", "m/s/keep"}, {"m/s/keep"}, 0},
        {"n/*.none", {"n/x\\y.none/"}, {}, 53},
    };
    int row = 0;
    for (const auto& c : cases) {
        std::string here = root + "/row" + std::to_string(row++);
        fs::create_directory(here);
        ASSERT_EQ(chdir(here.c_str()), 0);
        std::string here_backslashed = here;
        std::replace(here_backslashed.begin(), here_backslashed.end(), '/', '\\');
        for (std::string name : c.files) {
            if (size_t at = name.find("<here>"); at != std::string::npos) name.replace(at, 6, here_backslashed);
            fs::create_directories(fs::path(name).parent_path().empty() ? "." : fs::path(name).parent_path());
            if (name.back() == '/')
                fs::create_directory(name);
            else
                write(name, name);
        }
        std::vector<std::string> left = c.left;
        if (c.error) left = files_left();
        EXPECT_EQ(error_of([&] { sub_kill(s(c.pattern)); }), c.error) << c.pattern;
        EXPECT_EQ(files_left(), left) << "KILL " << c.pattern;
        ASSERT_EQ(chdir(root.c_str()), 0);
    }
}

TEST_F(Listing, FolderMarksTestTheListedNameAsItIs) {
    fs::create_directories("k/a/b");  // what "a\b" would name if '\' separated
    write("k/a\\b", "file");
    fs::create_directory("k/c\\d");  // a folder whose name holds a '\'
    EXPECT_EQ(listing("k/*"), (names{"./", "../", "a/", "a\\b", "c\\d/"}));
    EXPECT_EQ(listing("k\\*"), (names{"./", "../", "a/", "a\\b", "c\\d/"}));
    EXPECT_EQ(new_error.load(), 0);
}
