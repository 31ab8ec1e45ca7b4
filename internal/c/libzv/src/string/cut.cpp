// LEFT$, RIGHT$ and the MID$ function.
#include <algorithm>

#include "error/error.h"
#include "string/string_functions.h"
#include "string/zvs_internal.h"

zvs* zvs_left(zvs* s, int32_t n) {
    if (new_error) return zvs_pending_result();
    int64_t count = std::clamp<int64_t>(n, 0, s->length);
    return zvs_select(s, 0, count);
}

zvs* zvs_right(zvs* s, int32_t n) {
    if (new_error) return zvs_pending_result();
    int64_t count = std::clamp<int64_t>(n, 0, s->length);
    return zvs_select(s, s->length - count, count);
}

zvs* func_mid(zvs* s, int32_t start, int32_t length, int32_t passed) {
    if (new_error) return zvs_pending_result();
    // Positions in 64 bits: start and length near the int32 limits must not wrap.
    int64_t first = start >= 2 ? start : 1;
    int64_t count;
    if (passed) {
        // Positions before the first byte are lost from the length.
        count = int64_t(length) + (start <= 0 ? start : 1) - 1;
        if (count <= 0 || first > s->length) return zvs_select(s, 0, 0);
        count = std::min<int64_t>(count, s->length - first + 1);
    } else {
        if (first > s->length) return zvs_select(s, 0, 0);
        count = s->length - first + 1;
    }
    return zvs_select(s, first - 1, count);
}
