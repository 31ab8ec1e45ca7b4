// Runtime paths reaching the system: separators, zero bytes, the null device, drives.
#include <gtest/gtest.h>

#include <string>

#include "platform/os_path.h"

using namespace std::string_literals;

TEST(OsPath, SeparatorsBecomeSlashesOnACopy) {
    const struct { std::string in, out; } cases[] = {
        {"a\\b\\c.txt", "a/b/c.txt"}, {"a/b\\c", "a/b/c"}, {"\\", "/"}, {"", ""}, {"plain", "plain"},
    };
    for (const auto& c : cases) {
        std::string out = "old";
        EXPECT_TRUE(libzv_os_path(c.in, &out)) << c.in;
        EXPECT_EQ(out, c.out) << c.in;
    }
}

TEST(OsPath, AZeroByteIsRefusedAndLeavesTheOutputAlone) {
    std::string out = "old";
    EXPECT_FALSE(libzv_os_path("a\0b"s, &out));
    EXPECT_FALSE(libzv_os_path_device("NUL\0"s, &out));
    EXPECT_EQ(out, "old");
}

TEST(OsPath, NulNamesTheNullDeviceOnlyForOpens) {
    std::string out;
    for (const char* name : {"NUL", "nul", "Nul", "x\\nul.txt", "a/b/NUL.", "nul.tar.gz"}) {
        ASSERT_TRUE(libzv_os_path_device(name, &out));
        EXPECT_EQ(out, "/dev/null") << name;
        ASSERT_TRUE(libzv_os_path(name, &out));
        EXPECT_NE(out, "/dev/null") << name;
    }
    for (const char* name : {"NULL", "xNUL", "NUL/x", "nu.l", ".nul"}) {
        ASSERT_TRUE(libzv_os_path_device(name, &out));
        EXPECT_NE(out, "/dev/null") << name;
    }
}

TEST(OsPath, DriveLetters) {
    const struct { const char* path; bool drive; } cases[] = {
        {"C:\\x", true}, {"q:", true}, {"Z:/a", true}, {"1:", false}, {":", false}, {"ab:", false}, {"/c:", false},
    };
    for (const auto& c : cases) EXPECT_EQ(libzv_path_has_drive(c.path), c.drive) << c.path;
}
