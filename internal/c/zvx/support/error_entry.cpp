// Entry of the program's error handler from the main module's prologue.
#include "error/error.h"
#include "platform/process_exit.h"
#include "program.h"
#include "shape.h"

bool zv_enter_error_handler() {
    if (!error_occurred.load()) return false;
    error_occurred.store(0);
    void (*handler)() = libzv_program().error_handler;
    // A handler target was set in a program that has no handler code.
    if (!handler) libzv_process_exit(99);
    handler();
    return true;
}
