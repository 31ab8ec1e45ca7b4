// The GOSUB return-point stack.
#include "memory/return_points.h"

#include <cstdlib>

#include "error/error.h"

uint32_t* return_point = nullptr;
int64_t return_points = 0;
int64_t next_return_point = 0;

void return_point_global_init() {
    free(return_point);
    return_points = 16384;
    next_return_point = 0;
    return_point = static_cast<uint32_t*>(malloc(size_t(return_points) * sizeof(uint32_t)));
    if (!return_point) {
        return_points = 0;
        error(ERR_OUT_OF_STACK);
    }
}

void more_return_points() {
    int64_t capacity = return_points > 0 ? return_points * 2 : 16384;
    if (capacity > 0x7FFFFFFF) {
        error(ERR_OUT_OF_STACK);
        return;
    }
    auto* grown = static_cast<uint32_t*>(realloc(return_point, size_t(capacity) * sizeof(uint32_t)));
    if (!grown) {
        error(ERR_OUT_OF_STACK);
        return;
    }
    return_point = grown;
    return_points = capacity;
}
