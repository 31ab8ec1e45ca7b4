// Starting other programs from a Windows-style command line (RUN, CHAIN, SHELL):
// no shell, the program path resolved, the arguments passed byte for byte.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct process_command {
    std::string program;                  // the resolved file
    std::vector<std::string> arguments;   // argv[1..]
};

// Splits at white space; double quotes group (and are removed).
std::vector<std::string> process_split_arguments(std::string_view text);

// The program is the first token, quoted or up to white space; an unquoted token is
// also tried up to each later space, shortest first, until a file exists. '\' becomes
// '/' in the program path only. A name without '/' is looked up in the executable's
// folder, then the current folder, then PATH; a missing name ending in ".exe" (any
// case) is tried without that suffix. Nothing when no file is found.
std::optional<process_command> process_resolve(std::string_view command_line);

// Resolves and starts the program without waiting for it. False when it cannot start.
bool libzv_process_start(std::string_view command_line);
