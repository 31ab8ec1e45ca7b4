// The program thread.
#include "program.h"

#include "core/end.h"
#include "core/runtime_flags.h"

void zv_program_thread(void*) {
    libzv_program().main_module();
    close_program.store(1);
    end();
}
