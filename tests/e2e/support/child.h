// Child processes for window tests.
#pragma once
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

struct child_process {
    pid_t pid = -1;
};

// Starts argv[0] with the arguments; env_unset names variables removed for the child.
child_process child_start(const std::vector<std::string>& argv, const std::vector<std::string>& env_unset = {});
// The exit code, or nothing when the child did not end within timeout_ms (it is then killed).
// A child ended by a signal gives 128 + the signal.
std::optional<int> child_wait(child_process& child, int timeout_ms);
// Whether the child still runs (a child that ended is reaped).
bool child_running(child_process& child);
int64_t monotonic_ms();
