// What a translated program provides and what is compiled with every program.
#pragma once
#include <cstdint>

#include "core/program.h"

// The program's descriptor, defined once per program with ZV_PROGRAM.
extern const zv_program zv_program_info;

// Program thread: runs the main module; a program that runs off its end ends there.
void zv_program_thread(void* argument);
// Timer thread: the ON TIMER clock.
void TIMERTHREAD(void* argument);

#ifndef ZV_OPT_CONSOLE
#define ZV_OPT_CONSOLE 0
#endif
#ifndef ZV_OPT_HIDDEN
#define ZV_OPT_HIDDEN 0
#endif
#ifndef ZV_OPT_ASSERTS
#define ZV_OPT_ASSERTS 0
#endif

// Defines the descriptor; the options come from add_zv_program.
#define ZV_PROGRAM(main_module, clear, dispatch, data, data_size)                                     \
    const zv_program zv_program_info{main_module, clear,          dispatch,      data,                 \
                                     data_size,   ZV_OPT_CONSOLE, ZV_OPT_HIDDEN, ZV_OPT_ASSERTS}
