// INSTR and _INSTRREV: a byte search for find's first byte, the rest compared at candidates.
#include <cstring>

#include "error/error.h"
#include "string/string_functions.h"

namespace {

bool matches_at(const zvs* s, int64_t at, const zvs* find) {
    return memcmp(s->text + at, find->text, find->length) == 0;
}

}  // namespace

int32_t func_instr(int32_t start, zvs* s, zvs* find, int32_t passed) {
    if (new_error) return 0;
    // Positions in 64 bits: a start near the int32 limit must not wrap.
    int64_t from = passed ? start : 1;
    if (s->length == 0) return 0;
    if (from <= 0) {
        if (find->length == 0) return 0;
        from = 1;
    }
    if (from > s->length) return 0;
    if (find->length == 0) return int32_t(from);
    if (from + find->length - 1 > s->length) return 0;
    int64_t last = int64_t(s->length) - find->length;  // last 0-based candidate
    uint8_t first = find->text[0];
    for (int64_t at = from - 1; at <= last;) {
        auto hit = static_cast<const uint8_t*>(memchr(s->text + at, first, last - at + 1));
        if (!hit) return 0;
        at = hit - s->text;
        if (matches_at(s, at, find)) return int32_t(at + 1);
        at++;
    }
    return 0;
}

int32_t func__instrrev(int32_t start, zvs* s, zvs* find, int32_t passed) {
    if (new_error) return 0;
    if (s->length == 0 || find->length > s->length) return 0;
    int64_t last = int64_t(s->length) - find->length + 1;  // last 1-based position find fits at
    int64_t from = start;
    if (!passed) {
        if (find->length == s->length && matches_at(s, 0, find)) return 1;
        from = last;
    }
    if (from <= 0 || from > s->length) from = last;
    if (find->length == 0) return int32_t(from - 1);
    int64_t limit = from + find->length - 1 <= s->length ? from : last;
    // The last occurrence that starts at or before limit, overlapping matches included.
    uint8_t first = find->text[0];
    for (int64_t end = limit; end > 0;) {
        auto hit = static_cast<const uint8_t*>(memrchr(s->text, first, end));
        if (!hit) return 0;
        int64_t at = hit - s->text;
        if (matches_at(s, at, find)) return int32_t(at + 1);
        end = at;
    }
    return 0;
}
