// Program end in running programs: END's key wait on the terminal of a hidden
// console program, RUN, CLEAR, _ASSERT, _ECHO, trap handlers and _EXIT.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/child.h"
#include "support/x11_probe.h"

namespace {

std::string temp_path(const std::string& name) { return ::testing::TempDir() + name + std::to_string(getpid()); }

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A program with its standard output and error in files and its standard input
// from /dev/null or from a pipe the test writes to.
class program_run {
public:
    program_run(const char* path, const std::vector<std::pair<std::string, std::string>>& env, bool input_pipe)
        : out_path(temp_path("out")), err_path(temp_path("err")) {
        int p[2] = {-1, -1};
        if (input_pipe && pipe(p) != 0) return;
        signal(SIGPIPE, SIG_IGN);
        child.pid = fork();
        if (child.pid == 0) {
            unsetenv("ZV_SCENARIO");
            for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
            int in = input_pipe ? p[0] : open("/dev/null", O_RDONLY);
            dup2(in, 0);
            if (input_pipe) close(p[1]);
            dup2(open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            dup2(open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            execl(path, path, static_cast<char*>(nullptr));
            _exit(127);
        }
        if (input_pipe) {
            close(p[0]);
            input = p[1];
        }
    }
    ~program_run() {
        if (input >= 0) close(input);
        if (child.pid > 0) child_wait(child, 0);
        unlink(out_path.c_str());
        unlink(err_path.c_str());
    }
    std::optional<int> wait(int timeout_ms) { return child_wait(child, timeout_ms); }
    bool running() {
        int status;
        return waitpid(child.pid, &status, WNOHANG) == 0;
    }
    std::string out() const { return read_file(out_path); }
    std::string err() const { return read_file(err_path); }
    void close_input() {
        close(input);
        input = -1;
    }

    child_process child;
    int input = -1;

private:
    std::string out_path, err_path;
};

const char* const prompt = "\nPress any key to continue";

TEST(ProgramEnd, HiddenConsoleEndWaitsForOneByte) {
    program_run run(ZV_E2E_PROGRAM_END, {}, true);
    usleep(400000);
    EXPECT_TRUE(run.running()) << "END did not wait";
    EXPECT_EQ(run.out(), std::string("end of program\n") + prompt);
    ASSERT_EQ(write(run.input, "k", 1), 1);
    EXPECT_EQ(run.wait(5000), 0);
}

TEST(ProgramEnd, HiddenConsoleEndAlsoEndsWhenInputCloses) {
    program_run run(ZV_E2E_PROGRAM_END, {}, true);
    usleep(400000);
    EXPECT_TRUE(run.running()) << "END did not wait";
    run.close_input();
    EXPECT_EQ(run.wait(5000), 0);
    EXPECT_EQ(run.out(), std::string("end of program\n") + prompt);
}

TEST(ProgramEnd, HiddenGraphicalProgramEndsWithoutWaiting) {
    program_run run(ZV_E2E_ERRORS, {}, true);  // its input stays open
    EXPECT_EQ(run.wait(5000), 0);
    EXPECT_FALSE(contains(run.out(), "Press any key")) << run.out();
}

TEST(ProgramEnd, RunOfAMissingProgramRaisesError53AndTheProgramGoesOn) {
    program_run run(ZV_E2E_PROGRAM_END,
                    {{"ZV_SCENARIO", "run_missing"}, {"ZV_RUN_TARGET", temp_path("missing-program")}}, false);
    EXPECT_EQ(run.wait(5000), 0);
    EXPECT_EQ(run.out(), std::string("went on\nend of program\n") + prompt);
    EXPECT_TRUE(contains(run.err(), "Unhandled Error #53 - e2e_program_end: Line: 20 (in main module)\nFile not found\n"))
        << run.err();
}

TEST(ProgramEnd, RunStartsTheProgramWithItsArgumentsAndTheCallerEndsWith0) {
    std::string marker = temp_path("run-marker");
    unlink(marker.c_str());
    program_run run(ZV_E2E_PROGRAM_END,
                    {{"ZV_SCENARIO", "run"}, {"ZV_RUN_TARGET", ZV_E2E_RUN_TARGET}, {"ZV_RUN_MARKER", marker}}, false);
    EXPECT_EQ(run.wait(5000), 0);
    EXPECT_EQ(run.out(), "");
    for (int i = 0; i < 500 && read_file(marker).empty(); ++i) usleep(10000);
    EXPECT_EQ(read_file(marker), marker + std::string("\0a/b\0c d\0", 9));
    unlink(marker.c_str());
}

TEST(ProgramEnd, ClearResetsVariablesArraysDataAndErrorHandling) {
    program_run run(ZV_E2E_PROGRAM_END, {{"ZV_SCENARIO", "clear"}}, false);
    EXPECT_EQ(run.wait(5000), 0);
    EXPECT_EQ(run.out(), std::string("read 11 22 then 11\n"
                                     "static 0 lbound 1 counter 0 on error 0 gosub 0\n"
                                     "dynamic lbound 0\n"
                                     "end of program\n") +
                             prompt);
    EXPECT_TRUE(contains(run.err(), "Unhandled Error #9 - e2e_program_end: Line: 4 (in main module)\n"
                                    "Subscript out of range\n"))
        << run.err();
}

TEST(ProgramEnd, TrapHandlersRunThroughTheProgramsDispatch) {
    program_run run(ZV_E2E_PROGRAM_END, {{"ZV_SCENARIO", "traps"}}, false);
    EXPECT_EQ(run.wait(10000), 0);
    EXPECT_EQ(run.out(), std::string("key handler 77\ntimer ran 3 times, key handler ran 1\nend of program\n") + prompt);
}

TEST(ProgramEnd, EchoWritesOnTheConsole) {
    program_run run(ZV_E2E_PROGRAM_END, {{"ZV_SCENARIO", "echo"}}, false);
    EXPECT_EQ(run.wait(5000), 0);
    EXPECT_EQ(run.out(), std::string("echoed\nend of program\n") + prompt);
}

TEST(ProgramEnd, FailedAssertShowsTheCriticalBoxAndExitsWith0) {
    struct assert_case {
        const char* scenario;
        std::string out, err;
    };
    const assert_case cases[] = {
        {"assert", "", "Critical Error #314 - e2e_program_end: Line: 23 (in main module)\n_ASSERT failed\n"},
        {"assert_message", "x > 0\n",
         "Critical Error #315 - e2e_program_end: Line: 24 (in main module)\n"
         "_ASSERT failed (check console for description)\n"},
        {"assert_true", std::string("end of program\n") + prompt, ""},
    };
    for (const auto& c : cases) {
        program_run run(ZV_E2E_PROGRAM_END, {{"ZV_SCENARIO", c.scenario}}, false);
        EXPECT_EQ(run.wait(5000), 0) << c.scenario;
        EXPECT_EQ(run.out(), c.out) << c.scenario;
        EXPECT_EQ(run.err(), c.err) << c.scenario;
    }
}

TEST(ProgramEnd, ExitTakesTheCloseRequestAndAfterEndTheNextOneEndsTheProgram) {
    program_run run(ZV_E2E_EXIT_REQUEST, {}, false);
    auto window = x11_wait_for_window("Untitled", 10000);
    ASSERT_NE(window.id, 0u);
    for (int i = 0; i < 500 && run.out().empty(); ++i) usleep(10000);
    ASSERT_TRUE(x11_send_close(window.id));
    for (int i = 0; i < 500 && !contains(run.out(), "then"); ++i) usleep(10000);
    EXPECT_EQ(run.out(), "blocked 0\nexit 1\nthen 0\n");
    usleep(300000);
    EXPECT_TRUE(run.running()) << "END did not wait for a key";
    ASSERT_TRUE(x11_send_close(window.id));
    EXPECT_EQ(run.wait(5000), 0);
}

}  // namespace
