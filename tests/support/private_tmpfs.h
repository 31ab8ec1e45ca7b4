// Runs a piece of a test on a small tmpfs of its own: in a forked child, inside a
// private mount namespace (a user namespace too when the test does not run as root),
// so that nothing is mounted where other processes can see it and nothing stays
// mounted when the child ends. The child reports back through a pipe as text.
#pragma once
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

struct tmpfs_outcome {
    bool ran = false;    // false: the file system could not be had (see why)
    std::string why;     // why it could not, for GTEST_SKIP
    std::string report;  // what the body returned
};

namespace private_tmpfs_detail {

inline bool write_text(const char* path, const std::string& text) {
    int fd = open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = write(fd, text.data(), text.size()) == ssize_t(text.size());
    close(fd);
    return ok;
}

// A mount namespace of our own; a user namespace first when plain unsharing is refused.
inline std::string enter_namespace() {
    if (unshare(CLONE_NEWNS) == 0) return "";
    std::string refused = std::string("unshare(CLONE_NEWNS): ") + strerror(errno);
    uid_t uid = getuid();
    gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return refused + "; with a user namespace: " + strerror(errno);
    write_text("/proc/self/setgroups", "deny");
    if (!write_text("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n") ||
        !write_text("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n"))
        return refused + "; user namespace maps refused";
    return "";
}

}  // namespace private_tmpfs_detail

// Mounts a tmpfs of `bytes` (and more_options, such as "nr_inodes=2") on `folder`
// (which must exist), runs setup and then, when read_only is set, remounts it
// read-only; then runs body with the folder as the current folder. Setup answers ""
// or what the machine lacks for the case, which is then skipped. Neither may use
// gtest assertions: they run in the child.
inline tmpfs_outcome run_on_private_tmpfs(const std::string& folder, size_t bytes, bool read_only,
                                          const std::function<std::string()>& setup,
                                          const std::function<std::string()>& body,
                                          const std::string& more_options = "") {
    tmpfs_outcome outcome;
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0) {
        outcome.why = "pipe failed";
        return outcome;
    }
    pid_t child = fork();
    if (child < 0) {
        close(pipe_fds[0]);
        close(pipe_fds[1]);
        outcome.why = "fork failed";
        return outcome;
    }
    if (child == 0) {
        close(pipe_fds[0]);
        // First byte: 'R' ran, 'S' skipped; the text follows.
        auto finish = [&](char kind, const std::string& text) {
            std::string message = kind + text;
            ssize_t ignored = write(pipe_fds[1], message.data(), message.size());
            (void)ignored;
            _exit(0);
        };
        std::string why = private_tmpfs_detail::enter_namespace();
        if (!why.empty()) finish('S', why);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            finish('S', std::string("making / private: ") + strerror(errno));
        std::string options = "size=" + std::to_string(bytes) + (more_options.empty() ? "" : "," + more_options);
        if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
            finish('S', std::string("mounting a tmpfs: ") + strerror(errno));
        if (chdir(folder.c_str()) != 0) finish('S', "cannot enter the tmpfs");
        std::string lacking = setup();
        if (!lacking.empty()) finish('S', lacking);
        if (read_only && mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            finish('S', std::string("remounting read-only: ") + strerror(errno));
        finish('R', body());
    }
    close(pipe_fds[1]);
    std::string message;
    char buffer[4096];
    for (;;) {
        ssize_t n = read(pipe_fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        message.append(buffer, size_t(n));
    }
    close(pipe_fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (message.empty()) {
        outcome.ran = true;
        outcome.report = "the child ended without a report (status " + std::to_string(status) + ")";
    } else if (message[0] == 'S') {
        outcome.why = message.substr(1);
    } else {
        outcome.ran = true;
        outcome.report = message.substr(1);
    }
    return outcome;
}
