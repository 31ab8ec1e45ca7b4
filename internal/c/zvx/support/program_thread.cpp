// The program thread.
#include "program.h"

#include "lifecycle/end.h"

void zv_program_thread(void*) {
    libzv_program().main_module();
    sub_end();  // running off the end of the main module is END
}
