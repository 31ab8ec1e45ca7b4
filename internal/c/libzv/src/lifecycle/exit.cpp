// _EXIT.
#include "lifecycle/exit.h"

#include "core/runtime_flags.h"
#include "error/error.h"

int32_t func__exit() {
    if (new_error_is_set()) return 0;
    exit_blocked.store(1);
    // One step: a request arriving between a read and a clear is never lost.
    return exit_value.exchange(0);
}
