// Strict UTF-8 decoding and encoding, shared by the console and the dialogs.
#include "support/utf8.h"

bool utf8_decode(const unsigned char* s, size_t length, size_t* at, uint32_t* out) {
    unsigned char c = s[*at];
    size_t n;
    uint32_t cp, min;
    if (c < 0x80) {
        *out = c;
        ++*at;
        return true;
    }
    if (c >= 0xC2 && c <= 0xDF) n = 1, cp = c & 0x1F, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF) n = 2, cp = c & 0x0F, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4) n = 3, cp = c & 0x07, min = 0x10000;
    else return false;
    if (*at + n >= length) return false;
    for (size_t i = 1; i <= n; ++i) {
        unsigned char t = s[*at + i];
        if ((t & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    *out = cp;
    *at += n + 1;
    return true;
}

bool utf8_valid(const char* text, size_t length) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    uint32_t cp;
    for (size_t at = 0; at < length;)
        if (!utf8_decode(s, length, &at, &cp)) return false;
    return true;
}

void utf8_append(std::string* out, uint32_t c) {
    if (c < 0x80) {
        out->push_back(char(c));
    } else if (c < 0x800) {
        out->push_back(char(0xC0 | (c >> 6)));
        out->push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(char(0xE0 | (c >> 12)));
        out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(char(0x80 | (c & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (c >> 18)));
        out->push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(char(0x80 | (c & 0x3F)));
    }
}
