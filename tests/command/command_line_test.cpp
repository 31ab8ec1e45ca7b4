// The kept command line and CHAIN's removal of its hand-over argument.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/command.h"
#include "error/error.h"

namespace {

struct fake_argv {
    std::vector<std::string> text;
    std::vector<char*> pointers;
    explicit fake_argv(std::vector<std::string> args) : text(std::move(args)) {
        for (auto& t : text) pointers.push_back(t.data());
        pointers.push_back(nullptr);
    }
    int32_t argc() const { return int32_t(text.size()); }
    char** argv() { return pointers.data(); }
};

std::string argument(int64_t n) {
    std::string_view out = "<none>";
    if (!command_argument(n, &out)) return "<none>";
    return std::string(out);
}

TEST(CommandLine, ArgumentsJoinWithSingleSpaces) {
    error_reset_for_tests();
    fake_argv args({"prog", "a", "b c", "d"});
    command_initialize(args.argc(), args.argv());
    EXPECT_EQ(command_line(), "a b c d");
    EXPECT_EQ(func__commandcount(), 3);
    EXPECT_EQ(argument(0), "prog");
    EXPECT_EQ(argument(2), "b c");
    EXPECT_EQ(argument(-1), "<none>");
    EXPECT_EQ(argument(4), "<none>");
    EXPECT_EQ(argument(99), "<none>");
}

TEST(CommandLine, NoArgumentsGiveAnEmptyCommandLine) {
    fake_argv args({"prog"});
    command_initialize(args.argc(), args.argv());
    EXPECT_EQ(command_line(), "");
    EXPECT_EQ(func__commandcount(), 0);
    EXPECT_EQ(argument(1), "<none>");
}

TEST(CommandLine, KeptArgumentsSurviveLaterEditsOfArgv) {
    // The window set-up takes its own options out of argv and compacts it.
    fake_argv args({"prog", "a", "-sync", "b"});
    command_initialize(args.argc(), args.argv());
    args.pointers[2] = args.pointers[3];
    args.pointers[3] = nullptr;
    args.text[1][0] = 'X';
    EXPECT_EQ(argument(2), "-sync");
    EXPECT_EQ(argument(3), "b");
    EXPECT_EQ(argument(1), "a");
    EXPECT_EQ(command_line(), "a -sync b");
}

TEST(CommandLine, DroppingTheHandOverArgumentHidesItEverywhere) {
    fake_argv args({"prog", "x", "(unique-tag:=/@*$+-)chain001.tmp"});
    command_initialize(args.argc(), args.argv());
    command_drop_last_argument();
    EXPECT_EQ(command_line(), "x");
    EXPECT_EQ(func__commandcount(), 1);
    EXPECT_EQ(argument(2), "<none>");
    command_drop_last_argument();
    EXPECT_EQ(command_line(), "");
    command_drop_last_argument();
    EXPECT_EQ(argument(0), "prog") << "the program's path stays";
}

TEST(CommandLine, PendingErrorGivesZeroCount) {
    fake_argv args({"prog", "a"});
    command_initialize(args.argc(), args.argv());
    error(53);
    EXPECT_EQ(func__commandcount(), 0);
    error_reset_for_tests();
}

}  // namespace
