// String comparisons: the six relational operators, _STRCMP and _STRICMP.
#include <algorithm>
#include <cstring>

#include "error/error.h"
#include "string/string_functions.h"

namespace {

// Unsigned bytes, first difference decides, a prefix is smaller.
int order(const zvs* a, const zvs* b) {
    int32_t common = std::min(a->length, b->length);
    int c = common ? memcmp(a->text, b->text, common) : 0;
    if (c) return c < 0 ? -1 : 1;
    return a->length < b->length ? -1 : a->length > b->length ? 1 : 0;
}

uint8_t fold(uint8_t c) { return c >= 'A' && c <= 'Z' ? uint8_t(c + 32) : c; }

int order_nocase(const zvs* a, const zvs* b) {
    int32_t common = std::min(a->length, b->length);
    for (int32_t i = 0; i < common; i++) {
        uint8_t x = fold(a->text[i]), y = fold(b->text[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a->length < b->length ? -1 : a->length > b->length ? 1 : 0;
}

int32_t truth(bool value) { return value ? -1 : 0; }

}  // namespace

int32_t zvs_equal(zvs* a, zvs* b) {
    if (new_error) return 0;
    return truth(a->length == b->length && (a->length == 0 || memcmp(a->text, b->text, a->length) == 0));
}
int32_t zvs_notequal(zvs* a, zvs* b) {
    if (new_error) return 0;
    return truth(!(a->length == b->length && (a->length == 0 || memcmp(a->text, b->text, a->length) == 0)));
}
int32_t zvs_lessthan(zvs* a, zvs* b) { return new_error ? 0 : truth(order(a, b) < 0); }
int32_t zvs_greaterthan(zvs* a, zvs* b) { return new_error ? 0 : truth(order(a, b) > 0); }
int32_t zvs_lessorequal(zvs* a, zvs* b) { return new_error ? 0 : truth(order(a, b) <= 0); }
int32_t zvs_greaterorequal(zvs* a, zvs* b) { return new_error ? 0 : truth(order(a, b) >= 0); }
int32_t func__str_compare(zvs* a, zvs* b) { return new_error ? 0 : order(a, b); }
int32_t func__str_nc_compare(zvs* a, zvs* b) { return new_error ? 0 : order_nocase(a, b); }
