// UCASE$ and LCASE$ (ASCII letters only; bytes above 127 are unchanged).
#include "error/error.h"
#include "string/string_functions.h"
#include "string/zvs_internal.h"

namespace {

template <uint8_t from, uint8_t to>
zvs* map_letters(zvs* s) {
    if (new_error) return zvs_pending_result();
    if (s->length == 0) return s;
    zvs* r = s;
    if (!zvs_plain_temporary(s)) {
        r = zvs_new(s->length, 1);
        // s is read after zvs_new: a heap argument may have moved.
        for (int32_t i = 0; i < s->length; i++) r->text[i] = s->text[i];
        zvs_release_if_temporary(s);
    }
    for (int32_t i = 0; i < r->length; i++) {
        uint8_t c = r->text[i];
        if (c >= from && c < from + 26) r->text[i] = uint8_t(c - from + to);
    }
    return r;
}

}  // namespace

zvs* zvs_ucase(zvs* s) { return map_letters<'a', 'A'>(s); }
zvs* zvs_lcase(zvs* s) { return map_letters<'A', 'a'>(s); }
