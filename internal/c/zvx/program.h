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

// The statement boundary: errors, traps, the pause and the shutdown reach the
// program thread here. Runtime waits call it with 0, 0, nullptr.
void evnt(uint32_t line, uint32_t include_line, const char* include_file);
// Set by evnt when the statement that raised the handled error must run again.
extern int32_t r;
// The boundary check of runtime waits (_DELAY, _LIMIT, INPUT, SLEEP).
void zv_wait_boundary_check();
// Start-up hook of the program's dynamic settings; empty here.
void set_dynamic_info();

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
#define ZV_PROGRAM(main_module, clear, dispatch, data, data_size) \
    ZV_PROGRAM_WITH_ERROR_HANDLER(main_module, clear, dispatch, data, data_size, nullptr)

// The same for a program with ON ERROR handler code.
#define ZV_PROGRAM_WITH_ERROR_HANDLER(main_module, clear, dispatch, data, data_size, error_handler)          \
    const zv_program zv_program_info{main_module,    clear,         dispatch,       data,         data_size, \
                                     ZV_OPT_CONSOLE, ZV_OPT_HIDDEN, ZV_OPT_ASSERTS, error_handler}
