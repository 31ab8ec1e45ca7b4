// SWAP of two strings and of two memory blocks.
#include "core/swap.h"

#include <cstring>

#include "error/error.h"
#include "string/zvs.h"

void swap_string(zvs* a, zvs* b) {
    if (new_error_is_set()) return;
    zvs* copy = zvs_new(0, 0);
    zvs_set(copy, a);
    zvs_set(a, b);
    zvs_set(b, copy);
    zvs_free(copy);
}

void swap_block(void* p, void* q, int64_t length) {
    auto* a = static_cast<uint8_t*>(p);
    auto* b = static_cast<uint8_t*>(q);
    int64_t i = 0;
    for (; i + 4 <= length; i += 4) {
        uint32_t x, y;
        memcpy(&x, a + i, 4);
        memcpy(&y, b + i, 4);
        memcpy(a + i, &y, 4);
        memcpy(b + i, &x, 4);
    }
    for (; i < length; i++) {
        uint8_t x = a[i];
        a[i] = b[i];
        b[i] = x;
    }
}
