// The program's command line, the process environment and the platform name:
// COMMAND$, _COMMANDCOUNT, ENVIRON, ENVIRON$, _ENVIRONCOUNT and _OS$.
// Program thread only; only the program thread changes the environment.
#pragma once
#include <cstdint>
#include <string_view>

#include "string/zvs.h"

// Keeps a copy of the arguments (the window set-up later edits argv in place)
// and builds COMMAND$: argv[1] to argv[argc - 1] joined by single spaces.
void command_initialize(int32_t argc, char** argv);
// _COMMANDCOUNT: the number of arguments after the program's path.
int32_t func__commandcount();
// argv[n] as kept, or nothing for n outside 0 to argc - 1.
bool command_argument(int64_t n, std::string_view* out);
// COMMAND$ as it stands.
std::string_view command_line();
// CHAIN's hand-over tag is the last argument: removes it from the kept arguments
// and from COMMAND$ (with the space before it), so the started program sees it nowhere.
void command_drop_last_argument();

// ENVIRON text: "NAME=value" or "NAME value" sets NAME; "NAME=" or "NAME " removes it.
// Returns 0, or 5 for a text without a separator, an empty name or a refused change.
int32_t environ_apply(std::string_view text);
// _ENVIRONCOUNT: the number of entries in the environment.
int32_t func__environcount();
// The n-th entry (1-based) "NAME=value", or null beyond the last one.
const char* environ_entry(int64_t n);

// _OS$'s answer.
constexpr std::string_view libzv_os_name = "[LINUX][64BIT]";

// The string entry points. While an error is pending each returns an empty
// temporary (ENVIRON does nothing).
// COMMAND$ (passed 0) or COMMAND$(n): a temporary; "" for n outside 0 to argc - 1.
zvs* func_command(int32_t n, int32_t passed);
// ENVIRON$(name): the variable's value, "" when it is not set; names are case-sensitive.
zvs* func_environ(zvs* name);
// ENVIRON$(n): the n-th entry "NAME=value"; n < 1 is error 5; "" beyond the last.
zvs* func_environ(int32_t n);
// ENVIRON text: error 5 when environ_apply refuses it.
void sub_environ(zvs* text);
// _OS$.
zvs* func__os();
