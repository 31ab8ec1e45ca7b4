// What log entries take from the stack-trace module, which comes later: until then
// traces are empty and procedure names stay as passed.
#pragma once
#include <string>

// The frames of the calling thread, one line each; all frames or translated BASIC
// frames only.
std::string libzv_log_get_stacktrace(bool basic_frames_only);
// The BASIC name of a translated procedure ("ZVMAIN(...", "SUB_...", "FUNC_...").
std::string libzv_log_resolve_orvo_symbol(const char* function);
