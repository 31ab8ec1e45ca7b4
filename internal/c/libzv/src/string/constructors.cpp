// Strings that view bytes they do not own: read-only wrappers and fixed-length strings.
#include <cstring>

#include "string/zvs_internal.h"

zvs* zvs_new_txt(const char* text) {
    int64_t length = text ? int64_t(strlen(text)) : 0;
    if (!zvs_length_fits(length)) length = 0;
    return zvs_new_txt_len(text, int32_t(length));
}

zvs* zvs_new_txt_len(const void* text, int32_t length) {
    static const uint8_t no_text = 0;
    if (!text) text = &no_text, length = 0;
    zvs* s = zvs_take_descriptor();
    // Never written through: the read-only flag keeps every editing path away.
    s->text = static_cast<uint8_t*>(const_cast<void*>(text));
    s->length = length > 0 ? length : 0;
    s->read_only = 1;
    zvs_tmp_register(s);
    return s;
}

zvs* zvs_new_fixed(void* bytes, uint32_t length, uint8_t temporary) {
    if (!zvs_length_fits(length)) length = 0;
    zvs* s = zvs_take_descriptor();
    s->text = static_cast<uint8_t*>(bytes);
    s->length = int32_t(length);
    s->fixed_length = 1;
    if (temporary)
        zvs_tmp_register(s);
    else
        zvs_cmem()->new_fixed_cmem(s->text, length, 0, s);
    return s;
}
