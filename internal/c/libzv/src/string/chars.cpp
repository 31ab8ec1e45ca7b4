// ASC, CHR$, SPACE$ and STRING$.
#include <cstring>

#include "error/error.h"
#include "string/string_functions.h"
#include "string/zvs_internal.h"

int32_t zvs_asc(zvs* s) {
    if (new_error) return 0;
    if (s->length == 0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return s->text[0];
}

int32_t zvs_asc(zvs* s, uint32_t position) {
    if (new_error) return 0;
    if (position == 0 || position > uint32_t(s->length)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return s->text[position - 1];
}

zvs* func_chr(int32_t code) {
    if (new_error) return zvs_pending_result();
    if (code < 0 || code > 255) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return zvs_new(0, 1);
    }
    zvs* r = zvs_new(1, 1);
    r->text[0] = uint8_t(code);
    return r;
}

zvs* func_string(int32_t n, int32_t code) {
    if (new_error) return zvs_pending_result();
    zvs* r = zvs_new(n > 0 ? n : 0, 1);
    memset(r->text, code & 0xFF, r->length);
    return r;
}

zvs* func_space(int32_t n) { return func_string(n, ' '); }
