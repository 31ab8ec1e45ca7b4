// Typing, pointing and reading a scenario program's output for window tests.
#include "support/scenario.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "support/child.h"

void xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    auto tool = child_start(args);
    ASSERT_EQ(child_wait(tool, 5000), 0) << args[1];
}

std::vector<std::string> lines_of(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> wait_for_lines(const std::string& path, size_t count, int timeout_ms) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    std::vector<std::string> lines = lines_of(path);
    while (lines.size() < count && monotonic_ms() < deadline) {
        usleep(20000);
        lines = lines_of(path);
    }
    return lines;
}

std::vector<std::string> wait_for_line(const std::string& path, const std::string& line, int timeout_ms) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    std::vector<std::string> lines = lines_of(path);
    while (std::find(lines.begin(), lines.end(), line) == lines.end() && monotonic_ms() < deadline) {
        usleep(20000);
        lines = lines_of(path);
    }
    return lines;
}
