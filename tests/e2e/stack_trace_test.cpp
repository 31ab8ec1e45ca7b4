// Stack traces in ERROR entries of a real program, unstripped and stripped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/child.h"

namespace {

std::string temp_path(const std::string& name) { return ::testing::TempDir() + name + std::to_string(getpid()); }

// Runs the program with the console log handler; its standard error.
std::string run_logged(const std::string& program) {
    std::string err_path = temp_path("traces_err");
    pid_t pid = fork();
    if (pid == 0) {
        for (const char* name : {"ORVONX_LOG_SCOPES", "ORVONX_LOG_LEVEL", "ORVONX_LOG_FILE_PATH"}) unsetenv(name);
        setenv("ORVONX_LOG_HANDLERS", "console", 1);
        int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, 2);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    child_process child;
    child.pid = pid;
    EXPECT_EQ(child_wait(child, 20000), 0);
    std::ifstream in(err_path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    unlink(err_path.c_str());
    return s.str();
}

// The trace lines after the entry whose message ends with message.
std::vector<std::string> trace_after(const std::string& log, const std::string& message) {
    std::vector<std::string> lines;
    std::istringstream in(log.substr(log.find(message + "\n") + message.size() + 1));
    for (std::string line; std::getline(in, line) && line.rfind("#", 0) == 0;) lines.push_back(line);
    return lines;
}

const std::regex frame(R"(#([0-9]+) +\[0x[0-9A-F]{16}\] in (.*))");

}  // namespace

TEST(StackTraces, BasicAndFullTracesOfARunningProgram) {
    std::string log = run_logged(ZV_E2E_TRACES);
    std::vector<std::string> basic = trace_after(log, "basic trace 7");
    ASSERT_EQ(basic.size(), 2u) << log;
    EXPECT_TRUE(std::regex_match(basic[0], std::regex(R"(#1  \[0x[0-9A-F]{16}\] in FOO\(short\*\) \(ORVO\))")))
        << basic[0];
    EXPECT_TRUE(std::regex_match(basic[1], std::regex(R"(#2  \[0x[0-9A-F]{16}\] in Main ORVO code)"))) << basic[1];

    std::vector<std::string> full = trace_after(log, "full trace");
    ASSERT_GE(full.size(), 5u) << log;
    const char* const names[] = {"trace_c()", "trace_b()", "FOO(short*) (ORVO)", "Main ORVO code"};
    for (size_t k = 0; k < full.size(); ++k) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(full[k], m, frame)) << full[k];
        EXPECT_EQ(std::stoi(m[1]), int(k + 1)) << full[k];
        EXPECT_EQ(full[k].find("libzv_log"), std::string::npos) << full[k];
        if (k < 4) {
            EXPECT_EQ(m[2], names[k]) << log;
        }
    }
}

TEST(StackTraces, StrippedProgramNamesItsFramesByItsPath) {
    std::string copy = temp_path("traces_stripped");
    std::string command = std::string("strip -o '") + copy + "' '" + ZV_E2E_TRACES + "'";
    ASSERT_EQ(system(command.c_str()), 0);
    std::string log = run_logged(copy);
    std::vector<std::string> full = trace_after(log, "full trace");
    ASSERT_GE(full.size(), 4u) << log;
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(full[k].substr(full[k].find(" in ") + 4), copy) << log;
    // No BASIC name can be found: the BASIC-only trace is empty.
    EXPECT_TRUE(trace_after(log, "basic trace 7").empty()) << log;
    unlink(copy.c_str());
}
