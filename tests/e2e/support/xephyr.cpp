// Xephyr for window tests: started on a display number of its own choosing.
#include "support/xephyr.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

xephyr_server xephyr_start(const std::vector<std::string>& screen_sizes) {
    xephyr_server server;
    // The server picks a free display and writes its number to this pipe once it
    // takes clients; the pipe's read end stays with the test.
    int fds[2];
    if (pipe(fds) != 0) return server;
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    std::vector<std::string> argv{"Xephyr", "+xinerama"};
    for (const std::string& size : screen_sizes) argv.insert(argv.end(), {"-screen", size});
    argv.insert(argv.end(), {"-ac", "-nolisten", "tcp", "-noreset", "-displayfd", std::to_string(fds[1])});
    server.process = child_start(argv);
    close(fds[1]);
    std::string number;
    int64_t deadline = monotonic_ms() + 10000;
    char c = 0;
    while (server.process.pid > 0 && monotonic_ms() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) != 1) continue;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (c == '\n' && !number.empty()) server.display = ":" + number;
    else xephyr_stop(server);
    return server;
}

void xephyr_stop(xephyr_server& server) {
    if (server.process.pid > 0) {
        kill(server.process.pid, SIGTERM);
        child_wait(server.process, 5000);
    }
    server.display.clear();
}
