// SHELL's forms: exit codes, the leading-space rule, errors, streams, descriptors
// and signals of the child, waiting and not waiting, the terminal's mode for the
// child, and the full-screen hand-over.
#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <cerrno>
#include <regex>
#include <thread>

#include "clock/clock.h"
#include "lifecycle/main_loop.h"
#include "platform/console_terminal.h"
#include "platform/pty_fixture.h"
#include "shell/shell_fixture.h"
#include "support/fake_clock.h"
#include "text/console_input.h"

namespace {

TEST_F(ShellTest, FunctionsReturnTheExitCodeOrOneHundredTwentyEightPlusTheSignal) {
    struct {
        const char* command;
        bool hidden;
        int64_t expected;
    } cases[] = {
        {"exit 3", false, 3},       {"exit 255", false, 255}, {"kill -9 $$", false, 137},
        {"true", true, 0},          {"false", true, 1},       {"exit 300", true, 44},
        // A document is not opened by its type, and Windows commands are not found.
        {"notes.txt", true, 127},   {"cmd /c dir", true, 127},
    };
    for (const auto& c : cases) {
        int64_t code = c.hidden ? func__shellhide(text(c.command)) : func_shell(text(c.command));
        EXPECT_EQ(code, c.expected) << c.command;
    }
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(ShellTest, ACommandBeginningWithASpaceStartsNothing) {
    EXPECT_EQ(func_shell(text(" " + in_dir("touch f1"))), 0);
    EXPECT_EQ(func__shellhide(text(" " + in_dir("touch f2"))), 1);
    sub_shell(text(" " + in_dir("touch f3")), 1);
    sub_shell2(text(" " + in_dir("touch f4")), 2);
    EXPECT_FALSE(exists("f1"));
    EXPECT_FALSE(exists("f2"));
    EXPECT_FALSE(exists("f3"));
    EXPECT_FALSE(exists("f4"));
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(ShellTest, TheConsoleRouteOfAConsoleProgramRunsTheTextAsGiven) {
    libzv_set_program(&console_program);
    EXPECT_EQ(func_shell(text(" exit 3")), 3);
    console_active = 0;  // _CONSOLE OFF: the launch route again
    EXPECT_EQ(func_shell(text(" exit 3")), 0);
}

TEST_F(ShellTest, MissingCommandsOfTheFormsThatNeedOneAreIllegalFunctionCalls) {
    struct {
        const char* name;
        void (*call)(zvs*);
    } cases[] = {
        {"_SHELLHIDE(\"\")", [](zvs* empty) { EXPECT_EQ(func__shellhide(empty), 1); }},
        {"SHELL _HIDE without a command", [](zvs*) { sub_shell2(nullptr, 0); }},
        {"SHELL _HIDE \"\"", [](zvs* empty) { sub_shell2(empty, 2); }},
        {"SHELL _HIDE _DONTWAIT \"\"", [](zvs* empty) { sub_shell4(empty, 2); }},
        {"SHELL _HIDE _DONTWAIT through SHELL _HIDE", [](zvs*) { sub_shell2(nullptr, 1); }},
        {"SHELL _DONTWAIT _HIDE without a command", [](zvs*) { sub_shell3(nullptr, 1); }},
    };
    for (const auto& c : cases) {
        clear_error();
        c.call(text(""));
        EXPECT_EQ(new_error.load(), 5) << c.name;
    }
}

TEST_F(ShellTest, NothingRunsWhileAnErrorIsPending) {
    error(53);
    sub_shell(text(in_dir("touch a")), 1);
    sub_shell2(text(in_dir("touch b")), 2);
    sub_shell3(text(in_dir("touch c")), 2);
    EXPECT_EQ(func_shell(text(in_dir("touch d"))), 0);
    EXPECT_EQ(func__shellhide(text(in_dir("touch e"))), 0);
    usleep(100000);
    for (const char* name : {"a", "b", "c", "d", "e"}) EXPECT_FALSE(exists(name)) << name;
    EXPECT_EQ(new_error.load(), 53);
}

TEST_F(ShellTest, AnInterpreterThatCannotStartGivesOne) {
    std::string missing = dir + "/no-such-shell";
    shell_set_interpreter_for_tests(missing.c_str());
    EXPECT_EQ(func_shell(text("exit 0")), 1);
    EXPECT_EQ(func__shellhide(text("exit 0")), 1);
    EXPECT_EQ(shell_call_in_progress.load(), 0);
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(ShellTest, AZeroByteInTheCommandStartsNothingRatherThanACutCommand) {
    EXPECT_EQ(func__shellhide(text(in_dir("touch g") + std::string("\0; touch h", 10))), 1);
    EXPECT_FALSE(exists("g"));
}

TEST_F(ShellTest, HiddenFormsWriteNothingAndShownFormsShareTheStreams) {
    captured_fd out(1), err(2);
    EXPECT_EQ(func__shellhide(text("echo s; echo e >&2")), 0);
    sub_shell2(text("echo s2; echo e2 >&2"), 2);
    sub_shell(text("echo shown"), 1);
    EXPECT_EQ(func_shell(text("echo to-err >&2")), 0);
    EXPECT_EQ(out.read(), "shown\n");
    EXPECT_EQ(err.read(), "to-err\n");
}

TEST_F(ShellTest, TheProgramsBufferedConsoleTextComesBeforeTheCommands) {
    libzv_set_program(&console_program);
    captured_fd out(1);  // a pipe: the runtime's stdout is fully buffered
    console_write("a\n", 2);
    sub_shell(text("echo b"), 1);
    console_write("c\n", 2);
    console_flush();
    EXPECT_EQ(out.read(), "a\nb\nc\n");
}

TEST_F(ShellTest, TheChildGetsNoDescriptorsBeyondTheStandardOnes) {
    int file = open((dir + "/held").c_str(), O_CREAT | O_WRONLY, 0600);  // inheritable
    ASSERT_GE(file, 0);
    ASSERT_EQ(dup2(file, 40), 40);
    EXPECT_EQ(func__shellhide(text("[ -e /proc/$$/fd/40 ] && exit 1; [ -e /proc/$$/fd/3 ] && exit 2; exit 0")), 0);
    EXPECT_EQ(func_shell(text("[ -e /proc/$$/fd/40 ] && exit 1; exit 0")), 0);
    close(40);
    close(file);
}

TEST_F(ShellTest, TheChildStartsWithNoBlockedOrIgnoredSignals) {
    signal(SIGPIPE, SIG_IGN);
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &block, nullptr);
    // Signals 32 and 33 belong to the C library, which hands them on ignored.
    const char* check =
        "ign=$(sed -n 's/^SigIgn:[[:space:]]*//p' /proc/$$/status); "
        "[ $(( 0x$ign & ~0x180000000 )) -eq 0 ] || exit 1; "
        "[ \"$(sed -n 's/^SigBlk:[[:space:]]*//p' /proc/$$/status)\" = 0000000000000000 ] || exit 2; exit 0";
    EXPECT_EQ(func__shellhide(text(check)), 0);
    pthread_sigmask(SIG_UNBLOCK, &block, nullptr);
    signal(SIGPIPE, SIG_DFL);
}

TEST_F(ShellTest, NoWaitFormsReturnAtOnceAndLeaveNoZombie) {
    sub_shell3(text(in_dir("sleep 1; touch f")), 2);
    EXPECT_FALSE(exists("f"));  // the command is still sleeping
    sub_shell4(text(in_dir("sleep 1; touch g")), 2);
    sub_shell2(text(in_dir("sleep 1; touch h")), 2 | 1);
    EXPECT_FALSE(exists("g"));
    EXPECT_FALSE(exists("h"));
    EXPECT_EQ(shell_call_in_progress.load(), 0);
    for (int i = 0; i < 500 && !(exists("f") && exists("g") && exists("h")); i++) usleep(10000);
    EXPECT_TRUE(exists("f"));
    EXPECT_TRUE(exists("g"));
    EXPECT_TRUE(exists("h"));
    // The reapers have taken every child: none is left to any waitpid.
    bool no_child = false;
    for (int i = 0; i < 300 && !no_child; i++) {
        no_child = waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD;
        if (!no_child) usleep(10000);
    }
    EXPECT_TRUE(no_child);
}

TEST_F(ShellTest, SHELLDontWaitWithoutACommandStartsNothing) {
    sub_shell3(nullptr, 0);
    sub_shell3(text(""), 2);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

TEST_F(ShellTest, TheHousekeepingLoopIsToldWhileAWaitingShellRuns) {
    std::atomic<bool> seen_running{false}, done{false};
    std::thread watcher([&] {
        while (!done.load())
            if (shell_call_in_progress.load() == 1) seen_running = true;
    });
    sub_shell(text("sleep 0.3"), 1);
    int32_t after = shell_call_in_progress.load();
    done = true;
    watcher.join();
    EXPECT_TRUE(seen_running.load());
    EXPECT_EQ(after, 0);
}

TEST_F(ShellTest, ManyShellsAgainstTheHousekeepingPassNeverLeaveItIdling) {
    fake_clock clock;
    static const main_loop_hooks quiet{[] {}, [] {}, [] {}, [] {}, [] {}};
    main_loop_set_hooks(&quiet);
    std::atomic<bool> done{false};
    std::thread housekeeping([&] {
        main_loop_state state;
        while (!done.load()) main_loop_pass(state);
    });
    for (int i = 0; i < 1000; i++) sub_shell(text("true"), 1);
    done = true;
    housekeeping.join();
    main_loop_set_hooks(nullptr);
    EXPECT_EQ(shell_call_in_progress.load(), 0);
}

// The presenter's side of the full-screen hand-over, as the window thread does it.
void present_full_screen_requests(std::atomic<bool>& done, std::atomic<bool>& windowed_while_running) {
    while (!done.load()) {
        int32_t request = full_screen_set.load();
        if (request != -1) {
            full_screen.store(request);
            full_screen_set.compare_exchange_strong(request, -1);
        }
        if (shell_call_in_progress.load() != 0 && full_screen.load() == 0) windowed_while_running = true;
        std::this_thread::yield();
    }
}

TEST_F(ShellTest, AShownWaitingShellLeavesFullScreenAndReturnsToIt) {
    full_screen = 2;
    std::atomic<bool> done{false}, windowed{false};
    std::thread presenter(present_full_screen_requests, std::ref(done), std::ref(windowed));
    EXPECT_EQ(func_shell(text("sleep 0.1; exit 4")), 4);
    int32_t after = full_screen.load();
    done = true;
    presenter.join();
    EXPECT_TRUE(windowed.load());
    EXPECT_EQ(after, 2);
}

TEST_F(ShellTest, FullScreenHandOverEndsWhenTheProgramStops) {
    full_screen = 1;  // no presenter answers
    stop_program = 1;
    sub_shell(text("true"), 1);
    EXPECT_EQ(full_screen_set.load(), 1);  // asked back, nobody applied either request
}

TEST_F(ShellTest, HiddenAndNoWaitFormsKeepFullScreen) {
    full_screen = 1;  // no presenter: a hand-over would never end
    EXPECT_EQ(func__shellhide(text("true")), 0);
    sub_shell2(text("true"), 2);
    sub_shell3(text("true"), 2);
    EXPECT_EQ(full_screen_set.load(), -1);
}

// _CONSOLEINPUT leaves the terminal reading keys without echo and with mouse reports.
// A SHELL command gets it as the program found it, line mode with echo and no mouse
// reports, and the key mode comes back when the command ends.
TEST_F(ShellTest, ACommandAfterConsoleInputHasTheTerminalInLineModeWithEcho) {
    pseudo_terminal pty;
    int saved_input = dup(0);
    dup2(pty.slave(), 0);
    EXPECT_EQ(func__getconsoleinput(), 0);
    ASSERT_FALSE(pty.mode().c_lflag & ICANON);
    pty.output();
    // The line is typed once the terminal is in line mode (or after 2 s, in vain).
    std::thread typist([&pty] {
        for (int i = 0; i < 200 && !(pty.mode().c_lflag & ICANON); i++) usleep(10000);
        pty.type("hello\n");
    });
    captured_fd out(1);
    int64_t code = func_shell(text("stty -a; read -r x; echo \"got:[$x]\""));
    typist.join();
    std::string shown = out.read();
    dup2(saved_input, 0);
    close(saved_input);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(std::regex_search(shown, std::regex("(^|\\s)icanon(\\s|;|$)"))) << shown;
    EXPECT_TRUE(std::regex_search(shown, std::regex("(^|\\s)echo(\\s|;|$)"))) << shown;
    EXPECT_NE(shown.find("got:[hello]"), std::string::npos) << shown;
    EXPECT_FALSE(pty.mode().c_lflag & (ICANON | ECHO));
    // Mouse reports off for the command (which echoes the typed line), on again after it.
    EXPECT_EQ(pty.output(), "\x1b[?1003l\x1b[?1006lhello\n\x1b[?1003h\x1b[?1006h");
}

TEST_F(ShellTest, AnInteractiveShellNeedsATerminalOnStandardInput) {
    int saved = dup(0);
    int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    close(null);
    EXPECT_EQ(func_shell(text("")), -1);
    sub_shell(nullptr, 0);
    EXPECT_EQ(new_error.load(), 0);

    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    dup2(slave, 0);
    const char typed[] = "exit 7\n";
    ASSERT_EQ(write(master, typed, sizeof typed - 1), ssize_t(sizeof typed - 1));
    captured_fd err(2);  // the interpreter's prompt
    EXPECT_EQ(func_shell(text("")), 7);
    err.read();
    dup2(saved, 0);
    close(saved);
    close(slave);
    close(master);
}

}  // namespace
