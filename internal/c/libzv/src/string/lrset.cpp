// LSET and RSET: justify a string inside a fixed-length or FIELD string.
#include <cstring>

#include "error/error.h"
#include "string/string_functions.h"
#include "string/zvs_internal.h"

void sub_lset(zvs* dest, zvs* src) {
    if (new_error) return;
    if (dest->read_only) return;
    int32_t n = src->length < dest->length ? src->length : dest->length;
    if (n && dest->text != src->text) memmove(dest->text, src->text, n);
    if (n < dest->length) memset(dest->text + n, ' ', dest->length - n);
    if (dest->field_link) zvs_lrset_field(dest);
}

void sub_rset(zvs* dest, zvs* src) {
    if (new_error) return;
    if (dest->read_only) return;
    if (src->length < dest->length) {
        int32_t pad = dest->length - src->length;
        // The bytes are moved before the padding is written: src may overlap dest.
        if (src->length) memmove(dest->text + pad, src->text, src->length);
        memset(dest->text, ' ', pad);
    } else if (dest->length && dest->text != src->text) {
        memmove(dest->text, src->text, dest->length);
    }
    if (dest->field_link) zvs_lrset_field(dest);
}
