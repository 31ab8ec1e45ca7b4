// Path helpers: separators, file-name parts, extensions, split and join.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "path/path.h"
#include "string/zvs_debug.h"

TEST(FilePath, SplitKeepsTheSeparatorWithTheFolder) {
    const struct { const char *path, *folder, *name; } cases[] = {
        {"a\\b.txt", "a\\", "b.txt"}, {"b.txt", "", "b.txt"},  {"x/y\\z", "x/y\\", "z"},
        {"dir/", "dir/", ""},         {"/", "/", ""},           {"", "", ""},
    };
    for (const auto& c : cases) {
        std::string folder = "old", name = "old";
        filepath_split(c.path, &folder, &name);
        EXPECT_EQ(folder, c.folder) << c.path;
        EXPECT_EQ(name, c.name) << c.path;
    }
    // The path may be one of the outputs.
    std::string path = "a/b/c.bas", name;
    filepath_split(path, &path, &name);
    EXPECT_EQ(path, "a/b/");
    EXPECT_EQ(name, "c.bas");
}

TEST(FilePath, JoinAddsASlashOnlyWhereOneIsMissing) {
    const struct { const char *folder, *name, *joined; } cases[] = {
        {"a", "b", "a/b"}, {"a/", "b", "a/b"}, {"a\\", "b", "a\\b"}, {"", "b", "b"}, {"/", "x", "/x"},
    };
    for (const auto& c : cases) {
        std::string out = "old";
        filepath_join(&out, c.folder, c.name);
        EXPECT_EQ(out, c.joined) << c.folder << " + " << c.name;
    }
}

TEST(FilePath, FileNamesAndExtensions) {
    const struct { const char *path, *name, *extension; } cases[] = {
        {"x.tar.gz", "x.tar.gz", "gz"}, {"d.d/file", "file", ""}, {"a\\b.BAS", "b.BAS", "BAS"},
        {"noext", "noext", ""},         {"dir/", "", ""},         {"a.", "a.", ""},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(filepath_get_filename(c.path), c.name) << c.path;
        EXPECT_EQ(filepath_get_filename(std::string_view(c.path)), c.name) << c.path;
        const char* extension = filepath_get_extension(c.path);
        EXPECT_STREQ(extension, c.extension) << c.path;
        // A pointer into the path itself.
        EXPECT_TRUE(extension >= c.path && extension <= c.path + strlen(c.path)) << c.path;
    }
    EXPECT_EQ(filepath_get_filename(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_STREQ(filepath_get_extension(nullptr), "");
}

TEST(FilePath, HasExtensionIgnoresCase) {
    const struct { const char *path, *extension; int32_t answer; } cases[] = {
        {"A.BAS", "bas", 1}, {"prog.bas", "BAS", 1}, {"prog.bas", "ba", 0}, {"prog.basx", "bas", 0},
        {"d.bas/file", "bas", 0}, {"noext", "", 1}, {nullptr, "bas", 0}, {"a.bas", nullptr, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(filepath_has_extension(c.path, c.extension), c.answer) << (c.path ? c.path : "null");
}

TEST(FilePath, FixDirectoryNeverTouchesAProgramString) {
    zvs_reset_for_tests(1 << 16, 256, 256);
    std::string own = "a\\b/c\\";
    EXPECT_EQ(filepath_fix_directory(own), "a/b/c/");
    char text[] = "x\\y";
    EXPECT_STREQ(filepath_fix_directory(text), "x/y");
    zvs* program = zvs_new(3, 0);
    memcpy(program->text, "p\\q", 3);
    EXPECT_EQ(filepath_fix_directory(static_cast<const zvs*>(program)), "p/q");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(program->text), 3), "p\\q");
    zvs_free(program);
}
