// VARPTR$.
#include "memory/varptr.h"

#include "error/error.h"

zvs* func_varptr_helper(uint8_t type, uint16_t offset) {
    if (new_error_is_set()) return zvs_new(0, 1);
    zvs* s = zvs_new(3, 1);
    s->text[0] = type;
    s->text[1] = uint8_t(offset);
    s->text[2] = uint8_t(offset >> 8);
    return s;
}
