// RUN: restarting the program, or starting another program in its place.
#pragma once
#include <cstdint>
#include <string_view>

struct zvs;

// RUN without a file: resets the runtime after translated code has run CLEAR's body
// and before it jumps back to the program's start: ON KEY handlers forgotten (ON
// TIMER and ON STRIG traps stay), SCREEN 0 with active and visual page 0, WIDTH 80,
// 25, VIEW PRINT of the whole page, the mode's palette, COLOR 7, 0, the RND seeds
// and _KEYCLEAR.
void sub_run_init();
// RUN "file [arguments]": starts the program (error 53 when it cannot be started,
// and the program goes on), then ends this one through the shutdown with code 0.
void sub_run(zvs* file);

// Starts another program that takes over from this one (RUN, CHAIN), inside a system
// folder when one is given (process_resolve_in), and ends this program when it
// starts. The terminal is lent to it as this program found it, and never touched
// again once it runs. Returns only when it could not start, with the terminal back.
void run_hand_over(std::string_view folder, std::string_view command_line);

// What sub_run_init needs of modules that register later; until then each does
// nothing.
struct run_init_calls {
    void (*width_80_25)();  // WIDTH 80, 25
    void (*reset_rnd)();    // both RND seeds back to 0x50000
    void (*keyclear)();     // _KEYCLEAR
};
void run_set_init_calls(const run_init_calls* calls);  // nullptr: none
