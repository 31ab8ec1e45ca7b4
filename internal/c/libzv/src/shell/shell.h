// SHELL: the statement forms, _HIDE and _DONTWAIT, and the functions that return
// the command's exit code. Program thread only.
#pragma once
#include <cstdint>

struct zvs;

// SHELL [command]: shown, waits. given non-zero: the command is present.
void sub_shell(zvs* command, int32_t given);
// SHELL _HIDE command: hidden, waits. passed 2: the command is present; 1: _DONTWAIT too.
void sub_shell2(zvs* command, int32_t passed);
// SHELL _DONTWAIT [command]: shown, does not wait. passed 2: the command; 1: _HIDE too.
void sub_shell3(zvs* command, int32_t passed);
// SHELL _HIDE _DONTWAIT command: hidden, does not wait. passed 2: the command.
void sub_shell4(zvs* command, int32_t passed);
// SHELL(command): shown, waits; the exit code.
int64_t func_shell(zvs* command);
// _SHELLHIDE(command): hidden, waits; the exit code.
int64_t func__shellhide(zvs* command);

// Tests: the command interpreter started for every command (nullptr: /bin/sh).
void shell_set_interpreter_for_tests(const char* path);
