// _MAPUNICODE: the code page 437 to Unicode table that text output, frames and the
// Unicode key path share.
#include "error/error.h"
#include "font/glyphs.h"
#include "input/key_functions.h"

void sub__mapunicode(int32_t code_point, int32_t index) {
    if (new_error_is_set()) return;
    if (code_point < 0 || code_point > 65535 || index < 0 || index > 255) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    codepage437_to_unicode16[index].store(uint16_t(code_point));
}

int32_t func__mapunicode(int32_t index) {
    if (new_error_is_set()) return 0;
    if (index < 0 || index > 255) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return codepage437_to_unicode16[index].load();
}
