// Stack traces of the calling thread, named from the executable's symbol table.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

// One line per frame ("#1  [0x...] in name\n"), at most 41 frames; the frames of
// the logging functions (names starting libzv_log or libzv_vlog) are left out. In
// BASIC-frames-only mode, only translated procedures, ending after the last of them.
std::string libzv_log_get_stacktrace(bool basic_frames_only) __attribute__((noinline));
// "Main ORVO code" for ZVMAIN(...), "X(...) (ORVO)" for SUB_X(...) and FUNC_X(...).
std::optional<std::string> libzv_log_resolve_orvo_symbol(const char* name);
// The demangled name of the function containing a code address; the module's path
// when its symbols cannot be read; empty when no module contains the address.
std::string libzv_log_resolve_symbol(uintptr_t address);
