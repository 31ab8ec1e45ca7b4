// The string entry points: COMMAND$, ENVIRON$, ENVIRON and _OS$.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "command/command.h"
#include "error/error.h"
#include "string/zvs_debug.h"

extern char** environ;

namespace {

std::string text(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), size_t(s->length)); }

class CommandStrings : public ::testing::Test {
protected:
    std::vector<std::string> args{"prog", "a", "b c", "d"};
    std::vector<char*> argv;
    void SetUp() override {
        zvs_reset_for_tests(1 << 16, 1024, 1024);
        error_reset_for_tests();
        unsetenv("ZVT");
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        command_initialize(int32_t(args.size()), argv.data());
    }
    void TearDown() override {
        unsetenv("ZVT");
        error_reset_for_tests();
        EXPECT_EQ(zvs_check_invariants(), "");
    }
};

TEST_F(CommandStrings, CommandLineAndItsArguments) {
    struct {
        int32_t n;
        int32_t passed;
        const char* expected;
    } cases[] = {{0, 0, "a b c d"}, {2, 1, "b c"}, {0, 1, "prog"}, {3, 1, "d"}, {-1, 1, ""}, {4, 1, ""}, {99, 1, ""}};
    for (const auto& c : cases) {
        zvs* s = func_command(c.n, c.passed);
        EXPECT_EQ(text(s), c.expected) << c.n << " " << c.passed;
        EXPECT_EQ(s->temporary, 1);
    }
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(func__commandcount(), 3);
}

TEST_F(CommandStrings, EnvironmentByNameAndByNumber) {
    setenv("ZVT", "value 1", 1);
    EXPECT_EQ(text(func_environ(zvs_new_txt("ZVT"))), "value 1");
    EXPECT_EQ(text(func_environ(zvs_new_txt("zvt"))), "") << "case-sensitive";
    EXPECT_EQ(text(func_environ(zvs_new_txt("ZVT_NOT_SET"))), "");
    int32_t count = func__environcount();
    for (int32_t k = 1; k <= count; k++) EXPECT_EQ(text(func_environ(k)), environ[k - 1]);
    EXPECT_EQ(text(func_environ(count + 1)), "");
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(text(func_environ(0)), "");
    EXPECT_EQ(new_error.load(), 5);
    zvs_tmp_release_to(1, 0);
}

TEST_F(CommandStrings, EnvironStatement) {
    sub_environ(zvs_new_txt("ZVT 1"));
    EXPECT_STREQ(getenv("ZVT"), "1");
    sub_environ(zvs_new_txt("ZVT="));
    EXPECT_EQ(getenv("ZVT"), nullptr);
    EXPECT_EQ(new_error.load(), 0);
    sub_environ(zvs_new_txt("ZVT"));
    EXPECT_EQ(new_error.load(), 5);
    error_reset_for_tests();
    error(53);
    sub_environ(zvs_new_txt("ZVT=1"));
    EXPECT_EQ(getenv("ZVT"), nullptr) << "nothing while an error is pending";
    zvs_tmp_release_to(1, 0);
}

TEST_F(CommandStrings, OperatingSystemName) {
    EXPECT_EQ(text(func__os()), "[LINUX][64BIT]");
    error(53);
    EXPECT_EQ(text(func__os()), "");
    EXPECT_EQ(text(func_command(0, 0)), "");
    EXPECT_EQ(text(func_environ(zvs_new_txt("PATH"))), "");
    zvs_tmp_release_to(1, 0);
}

}  // namespace
