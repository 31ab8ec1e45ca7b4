// LTRIM$, RTRIM$ and _TRIM$: spaces (byte 32) only; tabs and other blanks stay.
#include "error/error.h"
#include "string/string_functions.h"
#include "string/zvs_internal.h"

zvs* zvs_ltrim(zvs* s) {
    if (new_error) return zvs_pending_result();
    int32_t lead = 0;
    while (lead < s->length && s->text[lead] == ' ') lead++;
    return zvs_select(s, lead, s->length - lead);
}

zvs* zvs_rtrim(zvs* s) {
    if (new_error) return zvs_pending_result();
    int32_t keep = s->length;
    while (keep > 0 && s->text[keep - 1] == ' ') keep--;
    return zvs_select(s, 0, keep);
}

zvs* zvs__trim(zvs* s) { return zvs_rtrim(zvs_ltrim(s)); }
