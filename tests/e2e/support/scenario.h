// Driving a scenario program from a window test: typing and pointing with xdotool,
// and reading the lines the program writes to its output file.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Runs xdotool with the arguments; a failure (or 5 s without an answer) fails the test.
void xdotool(std::vector<std::string> args);
// The lines of a text file (none when it cannot be read).
std::vector<std::string> lines_of(const std::string& path);
// Waits until the file holds at least count lines (or the time is up); returns the lines read.
std::vector<std::string> wait_for_lines(const std::string& path, size_t count, int timeout_ms = 5000);
// Waits until the file holds the line (or the time is up); returns the lines read.
std::vector<std::string> wait_for_line(const std::string& path, const std::string& line, int timeout_ms = 8000);
