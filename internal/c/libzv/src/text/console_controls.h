// Console window controls: _CONSOLE, _CONSOLE ON/OFF, _CONSOLETITLE, _CONSOLEFONT,
// the console cursor statement and _CINP. Program thread.
#pragma once
#include <atomic>
#include <cstdint>

struct zvs;

// Whether the console counts as shown (initially 1); read by SHELL's console route.
extern std::atomic<int32_t> console_active;

// _CONSOLE: the console image's handle, -1 while an error is pending.
int32_t func__console();
// _CONSOLE ON (mode 1) / OFF (any other mode), console programs only.
void sub__console(int32_t mode);
// _CONSOLETITLE text: console programs with an active console.
void sub__consoletitle(zvs* text);
// _CONSOLEFONT name, height: the terminal chooses its own font.
void sub__consolefont(zvs* name, int32_t height);
// Console cursor: mode 1 shows, 2 hides (passed 1); size 0-100 (passed 2).
void sub__console_cursor(int32_t mode, int32_t size, int32_t passed);
// _CINP[(n)]: the last console key, then 0; with n given as 0 a release reads as
// scancode + 128.
int32_t func__cinp(int32_t n, int32_t passed);

void console_controls_reset_for_tests();
