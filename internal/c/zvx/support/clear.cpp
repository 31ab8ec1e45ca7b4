// CLEAR: the runtime part of the body that translated code generates per program.
#include "clear.h"

#include <cstdlib>
#include <cstring>

#include "error/error.h"
#include "image/image_statements.h"
#include "lifecycle/end.h"
#include "memory/cmem.h"
#include "memory/mem_lock.h"
#include "memory/return_points.h"
#include "string/zvs.h"

void clear_array_data(void* data, uint32_t* flags, int64_t bytes, mem_lock** lock) {
    if (*flags & ARRAY_STATIC) {
        if (bytes > 0) memset(data, 0, size_t(bytes));
        return;
    }
    if (*flags & ARRAY_CMEM) {
        cmem_dynamic_free(static_cast<uint8_t*>(data));
    } else {
        free(data);
    }
    if (*lock) free_mem_lock(*lock);
    *lock = nullptr;
    *flags &= ~uint32_t(ARRAY_ALLOCATED);
}

void clear_reset_runtime(int32_t* data_offset) {
    *data_offset = 0;
    close_all_files();
    freeallimages();
    next_return_point = 0;
    error_goto_line.store(0);
    if (error_handler_history) zvs_set(error_handler_history, zvs_new_txt(""));
    error_handling.store(0);
}
