// A hidden console program prints through the terminal and SLEEPs until a key or the end of input;
// running off its end, END's prompt waits for a last key.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "support/child.h"

extern char** environ;

namespace {

// The program with standard input and output on the given descriptors.
child_process start_on(int in_fd, int out_fd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in_fd, 0);
    posix_spawn_file_actions_adddup2(&actions, out_fd, 1);
    char* argv[] = {const_cast<char*>(ZV_E2E_CONSOLE_TEXT), nullptr};
    child_process child;
    if (posix_spawn(&child.pid, argv[0], &actions, nullptr, argv, environ) != 0) child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

// Reads from fd until the text holds want (or the time runs out); returns all read.
std::string read_until(int fd, std::string& text, const std::string& want, int timeout_ms) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    while (text.find(want) == std::string::npos && monotonic_ms() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
            char buffer[512];
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, static_cast<size_t>(n));
        }
    }
    return text;
}

TEST(ConsoleText, PrintsOnTheTerminalAndSleepEndsOnOneByte) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios before{};
    tcgetattr(slave, &before);
    auto program = start_on(slave, slave);
    ASSERT_GT(program.pid, 0);

    std::string out;
    read_until(master, out, "b\r\n", 10000);
    EXPECT_NE(out.find("ready\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\x1b[3;5Hat 7 \r\n"), std::string::npos) << out;
    EXPECT_NE(out.find("a        b\r\n"), std::string::npos) << out;
    // The key mode of SLEEP: mouse tracking is on while it waits.
    read_until(master, out, "\x1b[?1006h", 5000);
    ASSERT_NE(out.find("\x1b[?1006h"), std::string::npos) << out;
    EXPECT_EQ(out.find("woke"), std::string::npos);
    usleep(300000);
    read_until(master, out, "woke", 200);
    EXPECT_EQ(out.find("woke"), std::string::npos) << "SLEEP ended without a key";

    int64_t typed = monotonic_ms();
    ASSERT_EQ(write(master, "x", 1), 1);
    read_until(master, out, "woke", 5000);
    EXPECT_NE(out.find("woke"), std::string::npos) << out;
    EXPECT_LT(monotonic_ms() - typed, 1000);
    read_until(master, out, "done", 5000);
    EXPECT_NE(out.find("done"), std::string::npos) << out;
    EXPECT_GE(monotonic_ms() - typed, 1000) << "SLEEP 1 was shorter than a second";
    // Running off its end is END: its prompt drops what was typed before, then
    // waits for one more key; keys are typed until the program has ended.
    read_until(master, out, "Press any key to continue", 5000);
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < 100 && ended == 0; i++) {
        ASSERT_EQ(write(master, "y", 1), 1);
        usleep(100000);
        ended = waitpid(program.pid, &status, WNOHANG);
    }
    if (ended == 0) kill(program.pid, SIGKILL);
    ASSERT_EQ(ended, program.pid) << "END did not end on a key";
    program.pid = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    termios after{};
    tcgetattr(slave, &after);
    EXPECT_EQ(after.c_lflag, before.c_lflag) << "the terminal mode was not put back";
    close(slave);
    close(master);
}

TEST(ConsoleText, TheEndOfInputEndsTheWaitForAKeyButNotTheTimedSleep) {
    int null_fd = open("/dev/null", O_RDONLY);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int64_t started = monotonic_ms();
    auto program = start_on(null_fd, fds[1]);
    close(fds[1]);
    std::string out;
    read_until(fds[0], out, "woke\n", 10000);
    int64_t woke = monotonic_ms();
    read_until(fds[0], out, "done\n", 10000);
    EXPECT_GE(monotonic_ms() - woke, 900);
    read_until(fds[0], out, "continue", 5000);
    EXPECT_EQ(out, "ready\nat 7 \na        b\nwoke\ndone\n\nPress any key to continue")
        << "a pipe gets no escape sequences";
    EXPECT_EQ(child_wait(program, 10000), 0);
    EXPECT_LT(woke - started, 5000);
    close(fds[0]);
    close(null_fd);
}

}  // namespace
