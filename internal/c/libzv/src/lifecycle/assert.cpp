// _ASSERT.
#include "core/program.h"
#include "error/error.h"
#include "lifecycle/diagnostics.h"

void sub__assert(int32_t condition, zvs* message, int32_t passed) {
    if (!libzv_program().asserts) return;
    if (new_error_is_set() || condition) return;
    if (libzv_program().console && (passed & 1)) {
        sub__echo(message);
        error(ERR_ASSERT_FAILED_SEE_CONSOLE);
    } else {
        error(ERR_ASSERT_FAILED);
    }
}
