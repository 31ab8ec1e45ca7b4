// Concatenation (zvs_add).
#include <cstring>

#include "string/zvs_internal.h"

zvs* zvs_add(zvs* a, zvs* b) {
    if (b->length == 0) return a;
    if (a->length == 0) return b;
    int64_t length = int64_t(a->length) + b->length;
    // Past the length limit (fatal error 512) the result is empty.
    zvs* r = zvs_new(zvs_length_fits(length) ? int32_t(length) : 0, 1);
    if (r->length == length) {
        // a and b are read after zvs_new: compaction or growth may have moved them.
        memcpy(r->text, a->text, a->length);
        memcpy(r->text + a->length, b->text, b->length);
    }
    zvs_release_if_temporary(a);
    if (b != a) zvs_release_if_temporary(b);
    return r;
}
