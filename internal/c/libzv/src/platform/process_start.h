// Starting other programs: the one spawn routine (SHELL, the console dialogs, RUN
// and CHAIN) and, for RUN and CHAIN, a Windows-style command line resolved without
// a shell, the arguments passed byte for byte.
#pragma once
#include <sys/types.h>

#include <cstdint>
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
// As process_resolve, for a program inside a folder that came from the system (the
// current or the executable's folder): the folder's bytes are used as they are, a '\'
// in its name being no separator, and only the program's text is converted. Nothing
// is looked up elsewhere. An empty folder: process_resolve.
std::optional<process_command> process_resolve_in(std::string_view folder, std::string_view command_line);

// Resolves and starts the program without waiting for it. False when it cannot start.
bool libzv_process_start(std::string_view command_line);
bool libzv_process_start_in(std::string_view folder, std::string_view command_line);

// Standard streams of a spawned program: each of descriptors 0, 1 and 2 is inherited
// (process_stream_inherit), opened on /dev/null (process_stream_null), or a copy of
// the given descriptor. Descriptors from 3 up are closed in the child, its signal
// mask is empty and every signal has its default action. Standard output and error
// are flushed first when the child shares either of them.
constexpr int process_stream_inherit = -1;
constexpr int process_stream_null = -2;
struct process_streams {
    int fd[3] = {process_stream_inherit, process_stream_inherit, process_stream_inherit};
};

// Starts program (a path, no search) with argv (argv[0] included). The child's pid,
// or -1 when it cannot start.
pid_t process_spawn(const char* program, const std::vector<std::string>& argv, const process_streams& streams = {});

// Waits for that child only, retrying when interrupted: its exit code (0-255), or
// 128 + n when signal n ended it; -1 when it cannot be waited for.
int32_t process_wait(pid_t pid);

// Leaves the child to a detached thread that waits for that pid only, so that no
// zombie remains. Nothing here ever waits for any child or touches SIGCHLD.
void process_reap_detached(pid_t pid);
