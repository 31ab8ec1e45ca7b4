// Number text into BASIC strings: a new temporary holding a copy of the bytes.
#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>

#include "string/zvs.h"

inline zvs* zvs_of_bytes(const void* bytes, int32_t length) {
    zvs* s = zvs_new(length, 1);
    if (length > 0) std::memcpy(s->text, bytes, static_cast<size_t>(length));
    return s;
}

inline zvs* zvs_of_text(std::string_view text) { return zvs_of_bytes(text.data(), static_cast<int32_t>(text.size())); }
