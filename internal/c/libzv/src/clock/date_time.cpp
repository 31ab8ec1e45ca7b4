// DATE$ and TIME$ from the local wall clock; DATE$ = and TIME$ = change nothing.
#include <cstdio>
#include <cstring>

#include "clock/clock.h"
#include "clock/date_time.h"
#include "error/error.h"

namespace {

zvs* text_of(const char* text, int32_t length) {
    zvs* s = zvs_new(length, 1);
    memcpy(s->text, text, size_t(length));
    return s;
}

// The local time, or error 5 when it cannot be read or shown in its fixed width.
bool local_time(libzv_local_time* t) {
    if (libzv_local_now(t) && t->year >= 0 && t->year <= 9999) return true;
    error(ERR_ILLEGAL_FUNCTION_CALL);
    return false;
}

}  // namespace

zvs* func_date() {
    libzv_local_time t;
    if (new_error_is_set() || !local_time(&t)) return zvs_new(0, 1);
    char text[32];
    snprintf(text, sizeof text, "%02d-%02d-%04d", t.month % 100, t.day % 100, t.year);
    return text_of(text, 10);
}

zvs* func_time() {
    libzv_local_time t;
    if (new_error_is_set() || !local_time(&t)) return zvs_new(0, 1);
    char text[32];
    snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
    return text_of(text, 8);
}

void sub_date(zvs*) {}

void sub_time(zvs*) {}
