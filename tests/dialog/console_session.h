// A console question asked in a child process whose terminal is a new pseudo-terminal
// (standard input and output both): the test reads the screen and types keys; the
// child hands back its answer through a pipe.
#pragma once
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

class console_session {
public:
    explicit console_session(const std::function<std::string()>& question) {
        int answer_pipe[2];
        if (pipe(answer_pipe) != 0) abort();
        pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
        if (pid_ < 0) abort();
        if (pid_ == 0) {
            close(answer_pipe[0]);
            std::string answer = question();
            if (write(answer_pipe[1], answer.data(), answer.size()) < 0) _exit(2);
            _exit(0);
        }
        close(answer_pipe[1]);
        answer_fd_ = answer_pipe[0];
    }
    ~console_session() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0) close(master_);
        if (answer_fd_ >= 0) close(answer_fd_);
    }
    console_session(const console_session&) = delete;
    console_session& operator=(const console_session&) = delete;

    // Reads the screen until it holds the text (line ends as LF), at most 5 s.
    bool wait_for(std::string_view text) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (screen_.find(text, seen_) == std::string::npos) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !read_screen(static_cast<int>(left.count()))) return false;
        }
        seen_ = screen_.find(text, seen_) + text.size();
        return true;
    }
    void type(std::string_view bytes) {
        if (write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) abort();
    }
    // Waits for the child's end: its answer, and the rest of the screen read.
    std::string answer() {
        std::string text;
        char buffer[256];
        ssize_t n;
        while ((n = read(answer_fd_, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        ended_normally_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        while (read_screen(100)) {
        }
        return text;
    }
    bool ended_normally() const { return ended_normally_; }
    // Everything shown so far, CR LF read as LF.
    const std::string& screen() const { return screen_; }
    // What was shown after the last text waited for.
    std::string screen_after_wait() const { return screen_.substr(seen_); }

private:
    bool read_screen(int timeout_ms) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, timeout_ms) <= 0) return false;
        char buffer[4096];
        ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) return false;
        for (ssize_t i = 0; i < n; i++) {
            if (buffer[i] == '\n' && !screen_.empty() && screen_.back() == '\r') screen_.pop_back();
            screen_ += buffer[i];
        }
        return true;
    }

    pid_t pid_ = -1;
    int master_ = -1, answer_fd_ = -1;
    std::string screen_;
    size_t seen_ = 0;
    bool ended_normally_ = false;
};
