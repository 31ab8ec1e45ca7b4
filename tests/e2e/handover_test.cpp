// CHAIN and RUN hand the terminal over as SHELL does: the started console program
// finds the terminal as a freshly started program finds it, whatever mode the caller
// had set, and the ending caller never touches it again. Once both have ended the
// terminal is as it was before the first started.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "support/child.h"

extern char** environ;

namespace {

constexpr char mouse_on[] = "\x1b[?1003h\x1b[?1006h";
constexpr char mouse_off[] = "\x1b[?1003l\x1b[?1006l";
constexpr int scancode_k = 37;  // what _CINP gives for K

struct handover_row {
    const char* name;
    bool caller_reads_keys;  // the caller used _CONSOLEINPUT before handing over
    const char* by;          // "chain" or "run"
    bool target_reads_keys;  // the target reads keys, else a line
    int tries;               // the hold below can come too late: rows whose fault needs it run more often
};

void PrintTo(const handover_row& row, std::ostream* out) { *out << row.name; }

// The line discipline's flags that tell line mode from key mode.
std::string line_flags(const termios& t) {
    return std::string(t.c_lflag & ICANON ? "icanon" : "-icanon") + (t.c_lflag & ECHO ? " echo" : " -echo");
}
std::string describe(const termios& t) {
    return line_flags(t) + " min=" + std::to_string(t.c_cc[VMIN]) + " time=" + std::to_string(t.c_cc[VTIME]);
}

// "on", "off" or "none": the last mouse tracking sequence in the text.
std::string last_mouse(const std::string& text) {
    size_t on = text.rfind(mouse_on), off = text.rfind(mouse_off);
    if (on == std::string::npos && off == std::string::npos) return "none";
    if (on == std::string::npos) return "off";
    if (off == std::string::npos) return "on";
    return on > off ? "on" : "off";
}

// A fresh pseudo-terminal: the programs get the slave as standard input, output and
// error; the test reads what they write and types on the master.
class terminal {
public:
    terminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
        fcntl(master_, F_SETFD, FD_CLOEXEC);
        winsize ws{};
        ws.ws_col = 80;
        ws.ws_row = 25;
        ioctl(master_, TIOCSWINSZ, &ws);
    }
    ~terminal() {
        if (slave_ >= 0) close(slave_);
        if (master_ >= 0) close(master_);
    }
    terminal(const terminal&) = delete;
    terminal& operator=(const terminal&) = delete;

    bool ok() const { return slave_ >= 0; }
    int slave() const { return slave_; }
    termios mode() const {
        termios t{};
        tcgetattr(slave_, &t);
        return t;
    }
    // Reads until the output matches (or the time is up); true when it matches, with
    // the first group of the match in found.
    bool read_until(const std::regex& want, int timeout_ms) {
        int64_t deadline = monotonic_ms() + timeout_ms;
        for (;;) {
            std::smatch match;
            if (std::regex_search(output, match, want)) {
                found = match.size() > 1 ? match.str(1) : match.str(0);
                return true;
            }
            if (monotonic_ms() >= deadline) return false;
            read_some(20);
        }
    }
    // Everything written so far.
    void drain() {
        while (read_some(0)) {
        }
    }
    void type(const std::string& bytes) {
        ASSERT_EQ(write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }

    std::string output, found;

private:
    bool read_some(int timeout_ms) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, timeout_ms) <= 0 || !(p.revents & POLLIN)) return false;
        char buffer[512];
        ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) return false;
        output.append(buffer, size_t(n));
        return true;
    }

    int master_ = -1, slave_ = -1;
};

// Waits for a process that is this test's child, or a child of the caller that was
// handed to this process when the caller ended. The exit code; -1 when it is not
// ours to wait for, nothing when it did not end in time (it is then killed).
std::optional<int> wait_process(pid_t pid, int timeout_ms) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    for (;;) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r < 0) return -1;
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (monotonic_ms() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return std::nullopt;
        }
        usleep(2000);
    }
}

// Whether the process has a child, from the parents in /proc/<pid>/stat.
bool has_child(pid_t parent) {
    DIR* proc = opendir("/proc");
    if (!proc) return false;
    bool found = false;
    while (dirent* e = readdir(proc)) {
        if (e->d_name[0] < '1' || e->d_name[0] > '9') continue;
        char stat[512];
        FILE* f = fopen(("/proc/" + std::string(e->d_name) + "/stat").c_str(), "r");
        if (!f) continue;
        size_t n = fread(stat, 1, sizeof stat - 1, f);
        fclose(f);
        stat[n] = 0;
        const char* name_end = strrchr(stat, ')');  // the name may hold anything
        int ppid = 0;
        if (name_end && sscanf(name_end + 1, " %*c %d", &ppid) == 1 && ppid == parent) {
            found = true;
            break;
        }
    }
    closedir(proc);
    return found;
}

// Stops the caller as soon as it has a child, its target; false when it ended first.
bool stop_once_target_starts(pid_t caller, int timeout_ms) {
    for (int64_t deadline = monotonic_ms() + timeout_ms; monotonic_ms() < deadline; usleep(200)) {
        if (has_child(caller)) return kill(caller, SIGSTOP) == 0;
        siginfo_t info{};
        if (waitid(P_PID, id_t(caller), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == caller) return false;
    }
    return false;
}

// Kills whatever is still running when a try ends early.
struct process_guard {
    std::vector<pid_t> pids;
    ~process_guard() {
        for (pid_t pid : pids) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
            }
        }
    }
};

class ChainOrRun : public ::testing::TestWithParam<handover_row> {
protected:
    // The target ends after its caller: it is handed to this process, which can then
    // wait for it.
    static void SetUpTestSuite() { prctl(PR_SET_CHILD_SUBREAPER, 1); }
    static void TearDownTestSuite() { prctl(PR_SET_CHILD_SUBREAPER, 0); }

    void SetUp() override {
        char tmpl[] = "/tmp/zvhandover-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        // CHAIN "to.bas" from this folder starts to.exe, or to, in it.
        // A copy, not a link: a program starts in the folder its file is in.
        ASSERT_EQ(std::system(("cp '" + std::string(ZV_E2E_HANDOVER_TO) + "' '" + dir + "/to'").c_str()), 0);
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    // The caller on the terminal, in the folder, with the row's settings.
    pid_t start_caller(const terminal& tty, const handover_row& row) {
        std::vector<std::string> settings{
            "ZV_HANDOVER_DIR=" + dir,
            std::string("ZV_HANDOVER_BY=") + row.by,
            std::string("ZV_HANDOVER_TARGET=") + (std::string(row.by) == "chain" ? "to.bas" : dir + "/to"),
            std::string("ZV_HANDOVER_READ=") + (row.target_reads_keys ? "keys" : "line")};
        if (row.caller_reads_keys) settings.emplace_back("ZV_HANDOVER_KEYS=1");
        std::vector<char*> env;
        for (char** e = environ; *e; ++e)
            if (std::string(*e).rfind("ZV_HANDOVER_", 0) != 0) env.push_back(*e);
        for (auto& s : settings) env.push_back(s.data());
        env.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        for (int fd = 0; fd < 3; fd++) posix_spawn_file_actions_adddup2(&actions, tty.slave(), fd);
        char* argv[] = {const_cast<char*>(ZV_E2E_HANDOVER_FROM), nullptr};
        pid_t pid = -1;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, env.data()) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    void one_try(const handover_row& row) {
        terminal tty;
        ASSERT_TRUE(tty.ok());
        const termios before = tty.mode();
        process_guard running;
        pid_t caller = start_caller(tty, row);
        ASSERT_GT(caller, 0);
        running.pids.push_back(caller);

        // The caller is held from the moment its target exists until the target reads:
        // the caller then ends after the target took the terminal, the order in which
        // anything the ending caller still does to the terminal shows.
        bool held = stop_once_target_starts(caller, 10000);
        ASSERT_TRUE(tty.read_until(std::regex("reading (\\d+)\r?\n"), 10000)) << "the target did not start: " << tty.output;
        pid_t target = pid_t(std::stol(tty.found));
        running.pids.push_back(target);
        if (held) kill(caller, SIGCONT);
        ASSERT_EQ(wait_process(caller, 10000), 0);
        tty.drain();

        // The mode in force while the target reads. A line reader enters its mode just
        // after the marker.
        termios reading = tty.mode();
        if (!row.target_reads_keys) {
            for (int64_t until = monotonic_ms() + 2000;
                 (reading.c_lflag & (ICANON | ECHO)) != (ICANON | ECHO) && monotonic_ms() < until;
                 reading = tty.mode())
                usleep(5000);
        }
        EXPECT_EQ(line_flags(reading), row.target_reads_keys ? "-icanon -echo" : "icanon echo")
            << "while the target reads: " << describe(reading);
        if (row.target_reads_keys)
            EXPECT_EQ(last_mouse(tty.output), "on") << "mouse reports while the target reads keys";
        else
            EXPECT_NE(last_mouse(tty.output), "on") << "mouse reports while the target reads a line";

        tty.found.clear();
        if (row.target_reads_keys) {
            tty.type("k");
            const std::regex key("key:(\\d+)");
            bool without_enter = tty.read_until(key, 2000);
            EXPECT_TRUE(without_enter) << "the key did not arrive without Enter; mode " << describe(tty.mode());
            if (!without_enter) {
                tty.type("\n");  // the line mode the target was left in lets it go on
                tty.read_until(key, 2000);
            }
            EXPECT_EQ(tty.found, std::to_string(scancode_k)) << tty.output;
        } else {
            tty.type("hello\n");
            EXPECT_TRUE(tty.read_until(std::regex("hello\r?\n[\\s\\S]*got:\\[hello\\]"), 3000))
                << "the line was not echoed and read: " << tty.output;
        }

        EXPECT_EQ(wait_process(target, 5000), 0) << "the target did not end by itself";
        tty.drain();
        const termios after = tty.mode();
        EXPECT_EQ(describe(after), describe(before)) << "the terminal after both ended";
        EXPECT_NE(last_mouse(tty.output), "on") << "mouse reports stay on after both ended";
    }

    std::string dir;
};

TEST_P(ChainOrRun, TheTargetFindsTheTerminalAsAFreshProgramAndLeavesItAsFound) {
    const handover_row& row = GetParam();
    for (int i = 0; i < row.tries && !HasFailure(); i++) {
        SCOPED_TRACE("try " + std::to_string(i + 1));
        one_try(row);
    }
}

const handover_row rows[] = {
    {"ChainLineReader", false, "chain", false, 1},
    {"ChainKeyReader", false, "chain", true, 1},
    {"RunLineReader", false, "run", false, 1},
    {"RunKeyReader", false, "run", true, 1},
    {"ConsoleInputThenChainLineReader", true, "chain", false, 5},
    {"ConsoleInputThenChainKeyReader", true, "chain", true, 5},
    {"ConsoleInputThenRunLineReader", true, "run", false, 5},
    {"ConsoleInputThenRunKeyReader", true, "run", true, 5},
};

INSTANTIATE_TEST_SUITE_P(Handover, ChainOrRun, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<handover_row>& info) { return std::string(info.param.name); });

}  // namespace
