// SHELL tests: a clean runtime, a scratch folder, and the standard streams captured.
#pragma once
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "core/program.h"
#include "core/runtime_flags.h"
#include "display/presenter.h"
#include "error/error.h"
#include "shell/shell.h"
#include "shell/shell_flags.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"
#include "text/console_controls.h"

// Descriptor n goes to a pipe until read() is called; read() puts it back.
class captured_fd {
public:
    explicit captured_fd(int fd) : fd_(fd) {
        int p[2];
        if (pipe(p) != 0) abort();
        read_end_ = p[0];
        saved_ = dup(fd);
        dup2(p[1], fd);
        close(p[1]);
    }
    ~captured_fd() { read(); }
    std::string read() {
        if (saved_ < 0) return text_;
        dup2(saved_, fd_);
        close(saved_);
        saved_ = -1;
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(read_end_, buffer, sizeof buffer)) > 0) text_.append(buffer, size_t(n));
        close(read_end_);
        return text_;
    }

private:
    int fd_, saved_ = -1, read_end_ = -1;
    std::string text_;
};

class ShellTest : public ::testing::Test {
protected:
    std::string dir;
    static inline const zv_program console_program{nullptr, nullptr, nullptr, nullptr, 0, 1, 0, 0, nullptr};

    void SetUp() override {
        runtime_flags_reset_for_tests();
        error_reset_for_tests();
        zvs_reset_for_tests(1048576, 65536, 65536);
        console_controls_reset_for_tests();
        shell_call_in_progress = 0;
        full_screen = 0;
        full_screen_set = -1;
        char tmpl[] = "/tmp/zvshell-XXXXXX";
        dir = mkdtemp(tmpl);
    }
    void TearDown() override {
        shell_set_interpreter_for_tests(nullptr);
        libzv_set_program(nullptr);
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    static zvs* text(const std::string& s) { return zvs_new_txt_len(s.data(), int32_t(s.size())); }
    bool exists(const std::string& name) const { return access((dir + "/" + name).c_str(), F_OK) == 0; }
    std::string in_dir(const std::string& command) const { return "cd '" + dir + "' && " + command; }
};
