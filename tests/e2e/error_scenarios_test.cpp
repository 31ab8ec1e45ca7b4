// Errors at statement boundaries in a running program: the unhandled box and its
// answers, the fatal and critical exits, exit 99, SIGSEGV, and the log of a run.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/child.h"

namespace {

struct run_result {
    std::optional<int> rc;
    std::string out, err;
};

std::string temp_path(const std::string& name) { return ::testing::TempDir() + name + std::to_string(getpid()); }

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const char* const log_variables[] = {"ORVONX_LOG_HANDLERS", "ORVONX_LOG_SCOPES", "ORVONX_LOG_LEVEL",
                                     "ORVONX_LOG_FILE_PATH"};

// Runs the scenario program with these variables (the log variables are unset
// unless given), standard output and error captured.
run_result run_scenario(const std::vector<std::pair<std::string, std::string>>& env) {
    std::string out_path = temp_path("out"), err_path = temp_path("err");
    pid_t pid = fork();
    if (pid == 0) {
        for (const char* name : log_variables) unsetenv(name);
        unsetenv("ZV_SCENARIO");
        for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
        int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        execl(ZV_E2E_ERRORS, ZV_E2E_ERRORS, static_cast<char*>(nullptr));
        _exit(127);
    }
    child_process child;
    child.pid = pid;
    run_result result;
    result.rc = child_wait(child, 20000);
    result.out = read_file(out_path);
    result.err = read_file(err_path);
    unlink(out_path.c_str());
    unlink(err_path.c_str());
    return result;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ErrorScenarios, ErrorInTheMiddleAnsweredYesRunsTheThirdStatement) {
    auto run = run_scenario({});
    EXPECT_EQ(run.rc, 0);
    EXPECT_EQ(run.out, "statement 1\nstatement 3\n");
    EXPECT_TRUE(contains(run.err,
                         "Unhandled Error #53 - e2e_errors: Line: 2 (in main module)\nFile not found\nContinue?\n"))
        << run.err;
}

TEST(ErrorScenarios, AnsweredNoEndsThroughTheShutdownWithCode0) {
    std::string log = temp_path("no.log");
    unlink(log.c_str());
    auto run = run_scenario({{"ZV_SCENARIO", "no"},
                             {"ORVONX_LOG_HANDLERS", "file"},
                             {"ORVONX_LOG_SCOPES", "libzv"},
                             {"ORVONX_LOG_FILE_PATH", log}});
    EXPECT_EQ(run.rc, 0);
    EXPECT_EQ(run.out, "statement 1\n");
    EXPECT_TRUE(contains(run.err, "Unhandled Error #53 - e2e_errors: Line: 2 (in main module)\nFile not found\n"
                                  "Continue?\nanswered No\n"))
        << run.err;
    EXPECT_TRUE(contains(read_file(log), ": Program exiting with code: 0\n")) << read_file(log);
    unlink(log.c_str());
}

TEST(ErrorScenarios, HandlerEnteredWithoutHandlerCodeExits99) {
    auto run = run_scenario({{"ZV_SCENARIO", "onerror"}});
    EXPECT_EQ(run.rc, 99);
    EXPECT_EQ(run.out, "statement 1\n");
    EXPECT_FALSE(contains(run.err, "Unhandled Error")) << run.err;
}

TEST(ErrorScenarios, ErrorInAnIfConditionEntersTheThenBranch) {
    auto run = run_scenario({{"ZV_SCENARIO", "if"}});
    EXPECT_EQ(run.rc, 0);
    EXPECT_EQ(run.out, "then\n");
    EXPECT_TRUE(contains(run.err, "Unhandled Error #5 - e2e_errors: Line: 11 (in main module)\n")) << run.err;
}

TEST(ErrorScenarios, IntegerDivisionByZeroIsFatal) {
    auto run = run_scenario({{"ZV_SCENARIO", "divide"}});
    EXPECT_EQ(run.rc, 0);
    EXPECT_EQ(run.out, "statement 1\n");
    EXPECT_EQ(run.err, "Critical Error: Division by zero\n");
}

TEST(ErrorScenarios, CriticalErrorShowsItsBoxAndExitsWithCode0) {
    auto run = run_scenario({{"ZV_SCENARIO", "critical"}});
    EXPECT_EQ(run.rc, 0);
    EXPECT_EQ(run.out, "statement 1\n");
    EXPECT_EQ(run.err, "Critical Error #300 - e2e_errors: Line: 2 (in main module)\nMemory region out of range\n");
}

TEST(ErrorScenarios, SegmentationFaultIsLoggedAndExitsWithCode1) {
    auto run = run_scenario({{"ZV_SCENARIO", "segv"}, {"ORVONX_LOG_HANDLERS", "console"}});
    EXPECT_EQ(run.rc, 1);
    EXPECT_EQ(run.out, "statement 1\n");
    EXPECT_TRUE(std::regex_search(run.err, std::regex(R"(\[[0-9]+\.[0-9]{5}\] ERROR libzv )"
                                                      R"(internal/c/libzv/src/core/signal_handlers\.cpp: segv_handler: )"
                                                      R"([0-9]+: Recieved SIGSEGV! Review below stacktrace:\n)")))
        << run.err;
}

TEST(ErrorScenarios, LogFileOfARunInTheExactLineFormat) {
    std::string log = temp_path("run.log");
    unlink(log.c_str());
    auto run = run_scenario(
        {{"ORVONX_LOG_HANDLERS", "file"}, {"ORVONX_LOG_SCOPES", "libzv"}, {"ORVONX_LOG_FILE_PATH", log}});
    EXPECT_EQ(run.rc, 0);
    std::string text = read_file(log);
    const std::regex expected(
        R"(\[[0-9]+\.[0-9]{5}\] INFO libzv internal/c/libzv/main\.cpp: main: [0-9]+: Program starting\.\n)"
        R"(\[[0-9]+\.[0-9]{5}\] INFO libzv tests/e2e/programs/error_scenarios\.cpp: Main ORVO code: [0-9]+: )"
        R"(ORVO code starting\.\n)"
        R"(\[[0-9]+\.[0-9]{5}\] ERROR libzv internal/c/libzv/src/error/error\.cpp: error: [0-9]+: )"
        R"(ORVO Error 53 reported: File not found\n)"
        // The ERROR entry's trace, from the caller of the log call on.
        R"(#1  \[0x[0-9A-F]{16}\] in error\(int\)\n)"
        R"((#[0-9]+ +\[0x[0-9A-F]{16}\] in [^\n]+\n)+)"
        R"(\[[0-9]+\.[0-9]{5}\] INFO libzv internal/c/libzv/src/glut/glut_queue\.cpp: libzv_exit: [0-9]+: )"
        R"(Program exiting with code: 0\n\n)");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
    unlink(log.c_str());
}

TEST(ErrorScenarios, WithoutHandlersNothingIsLogged) {
    std::string log = temp_path("off.log");
    unlink(log.c_str());
    auto run = run_scenario({{"ORVONX_LOG_SCOPES", "libzv"}, {"ORVONX_LOG_FILE_PATH", log}});
    EXPECT_EQ(run.rc, 0);
    EXPECT_EQ(access(log.c_str(), F_OK), -1);
    EXPECT_FALSE(contains(run.err, "ORVO Error")) << run.err;
}

}  // namespace
