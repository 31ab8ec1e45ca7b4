// The program descriptor: what the runtime needs to know of the translated program.
#pragma once
#include <cstdint>

struct zv_program {
    void (*main_module)();               // ZVMAIN
    void (*clear)();                     // CLEAR's generated body
    void (*dispatch_handler)(int32_t id, int64_t pass);  // runs event handler id with its value
    const uint8_t* data;                 // DATA bytes
    int64_t data_size;
    int32_t console;                     // built as a console program
    int32_t screen_hide_startup;         // the screen starts hidden
    int32_t asserts;                     // _ASSERT compiled in
    // The program's ON ERROR handler code, run when the main module is re-entered
    // for it; nullptr for a program without handler code (entering one exits 99).
    void (*error_handler)();
};

// Set once by main (or by a test) before any other thread starts.
void libzv_set_program(const zv_program* program);
const zv_program& libzv_program();
