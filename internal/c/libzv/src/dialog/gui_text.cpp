// Texts between BASIC strings and the dialog layer.
#include "dialog/gui_text.h"

#include <cstring>

#include "dialog/dialog_layer.h"
#include "string/zvs.h"

std::string gui_text(zvs* s, bool given) {
    if (!given || !s || s->length <= 0) return "";
    const void* zero = memchr(s->text, 0, size_t(s->length));
    size_t n = zero ? size_t(static_cast<const uint8_t*>(zero) - s->text) : size_t(s->length);
    return std::string(reinterpret_cast<const char*>(s->text), n);
}

std::string gui_name(zvs* s) { return ascii_lower(gui_text(s, true).c_str()); }

zvs* gui_answer(const char* answer) {
    size_t n = answer ? strlen(answer) : 0;
    if (n > 0x7FFFFFFF) n = 0x7FFFFFFF;
    zvs* out = zvs_new(int32_t(n), 1);
    if (n) memcpy(out->text, answer, n);
    return out;
}
