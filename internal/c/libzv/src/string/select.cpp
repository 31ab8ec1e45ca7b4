// The result rule shared by the string functions that cut a string (LEFT$, RIGHT$, MID$, trims).
#include <cstring>

#include "string/zvs_internal.h"

zvs* zvs_select(zvs* s, int64_t start, int64_t length) {
    if (start == 0 && length == s->length) return s;
    if (zvs_plain_temporary(s)) {
        s->text += start;
        s->length = int32_t(length);
        return s;
    }
    zvs* r = zvs_new(int32_t(length), 1);
    // s is read after zvs_new: a heap argument may have moved.
    if (length) memcpy(r->text, s->text + start, length);
    zvs_release_if_temporary(s);
    return r;
}
