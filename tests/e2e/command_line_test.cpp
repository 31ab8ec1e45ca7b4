// A built program started as `prog a "b c" d` sees its command line as specified,
// its data block holds the start-up layout when the program starts, and it runs in
// its own folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/child.h"

namespace {

std::string run_with_arguments(const std::vector<std::string>& args, std::optional<int>* rc) {
    std::string out_path = ::testing::TempDir() + "command_line_out" + std::to_string(getpid());
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        if (chdir("/") != 0) _exit(126);  // started from another folder than its own
        std::vector<char*> argv{const_cast<char*>(ZV_E2E_COMMAND_LINE)};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(ZV_E2E_COMMAND_LINE, argv.data());
        _exit(127);
    }
    child_process child{pid};
    *rc = child_wait(child, 10000);
    std::ifstream in(out_path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    unlink(out_path.c_str());
    return text.str();
}

TEST(CommandLine, ArgumentsAsTheProgramSeesThem) {
    std::optional<int> rc;
    std::string out = run_with_arguments({"a", "b c", "d"}, &rc);
    ASSERT_EQ(rc, 0);
    std::istringstream lines(out);
    std::string command, second, count, layout, folder;
    std::getline(lines, command);
    std::getline(lines, second);
    std::getline(lines, count);
    std::getline(lines, layout);
    std::getline(lines, folder);
    EXPECT_EQ(command, "a b c d");
    EXPECT_EQ(second, "b c");
    EXPECT_EQ(count, "3");
    // singlespace, nothingstring, nothingvalue; the space at offset 256; cmem_sp.
    EXPECT_EQ(layout, "01000001 00000001 00000000 00000000 20 65520");
    // The program runs in its executable's folder, whatever folder started it.
    std::string exe = ZV_E2E_COMMAND_LINE;
    EXPECT_EQ(folder, exe.substr(0, exe.rfind('/')));
}

TEST(CommandLine, WindowOptionsStayInTheCommandLine) {
    // The window set-up takes "-sync" out of argv; the command line was copied before.
    std::optional<int> rc;
    std::string out = run_with_arguments({"x", "-sync", "y"}, &rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(out.substr(0, 18), "x -sync y\n-sync\n3\n");
}

}  // namespace
