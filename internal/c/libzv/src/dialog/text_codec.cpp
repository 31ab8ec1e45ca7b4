// The dialog layer's text: strict UTF-8 and UTF-16 codecs, Windows-1252, the six
// conversion functions, texts in and out of the back ends, and the small text helpers.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"

namespace {

// Windows-1252 0x80-0x9F; the five bytes it leaves undefined keep their own value.
constexpr char16_t cp1252_high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t cp1252_decode(uint8_t b) { return b >= 0x80 && b < 0xA0 ? cp1252_high[b - 0x80] : b; }

char cp1252_encode(uint32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return char(c);
    for (int i = 0; i < 32; ++i)
        if (cp1252_high[i] == c) return char(0x80 + i);
    return '?';
}

template <typename T>
T* keep(T** slot, const T* data, size_t count) {
    free(*slot);
    *slot = static_cast<T*>(malloc((count + 1) * sizeof(T)));
    if (!*slot) return nullptr;
    if (count) memcpy(*slot, data, count * sizeof(T));
    (*slot)[count] = 0;
    return *slot;
}

std::u16string cp1252_to_utf16(const char* text) {
    std::u16string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        out.push_back(char16_t(cp1252_decode(*p)));
    return out;
}

std::string utf16_to_cp1252(const char16_t* text) {
    std::string out;
    for (size_t i = 0; text[i]; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        out.push_back(cp1252_encode(c));
    }
    return out;
}

char16_t* buffer_8to16 = nullptr;
char16_t* buffer_mbcs_to16 = nullptr;
char* buffer_16to8 = nullptr;
char* buffer_16_to_mbcs = nullptr;
char* buffer_8_to_mbcs = nullptr;
char* buffer_mbcs_to8 = nullptr;

}  // namespace

bool utf8_to_utf16(const char* text, std::u16string* out) {
    out->clear();
    size_t length = strlen(text);
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    for (size_t at = 0; at < length;) {
        uint32_t cp;
        if (!utf8_decode(s, length, &at, &cp)) {
            out->clear();
            return false;
        }
        if (cp >= 0x10000) {
            out->push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            out->push_back(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out->push_back(char16_t(cp));
        }
    }
    return true;
}

bool utf16_to_utf8(const char16_t* text, std::string* out) {
    out->clear();
    for (size_t i = 0; text[i]; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                out->clear();
                return false;
            }
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            out->clear();
            return false;
        }
        utf8_append(out, c);
    }
    return true;
}

std::string cp1252_to_utf8(const char* text) {
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        utf8_append(&out, cp1252_decode(*p));
    return out;
}

std::string utf8_to_cp1252(const std::string& utf8) {
    std::string out;
    for (size_t at = 0; at < utf8.size();) out.push_back(cp1252_encode(utf8_next(utf8, &at)));
    return out;
}

uint32_t utf8_next(const std::string& utf8, size_t* at) {
    uint32_t cp;
    if (utf8_decode(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(), at, &cp)) return cp;
    return uint8_t(utf8[(*at)++]);
}

size_t utf8_cut_units(const std::string& utf8, size_t max_units) {
    size_t units = 0, at = 0;
    while (at < utf8.size()) {
        size_t next = at;
        uint32_t c = utf8_next(utf8, &next);
        units += c >= 0x10000 ? 2 : 1;
        if (units > max_units) break;
        at = next;
    }
    return at;
}

size_t utf8_cut_bytes(const std::string& utf8, size_t max_bytes) {
    size_t at = 0;
    while (at < utf8.size()) {
        size_t next = at;
        utf8_next(utf8, &next);
        if (next > max_bytes) break;
        at = next;
    }
    return at;
}

bool dialog_text_in(const char* text, std::string* out, int32_t max_units) {
    if (!text) {
        out->clear();
        return false;
    }
    if (dialog_setting_win_utf8() && utf8_valid(text, strlen(text)))
        *out = text;
    else
        *out = cp1252_to_utf8(text);
    if (max_units > 0) out->resize(utf8_cut_units(*out, size_t(max_units)));
    return true;
}

std::string dialog_text_out(const std::string& utf8, int32_t max_bytes) {
    std::string out = dialog_setting_win_utf8() ? utf8 : utf8_to_cp1252(utf8);
    if (max_bytes > 0 && out.size() > size_t(max_bytes))
        out.resize(dialog_setting_win_utf8() ? utf8_cut_bytes(out, size_t(max_bytes)) : size_t(max_bytes));
    return out;
}

std::string ascii_lower(const char* text) {
    std::string out = text ? text : "";
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

extern "C" char16_t* ndlg_utf8to16(const char* text) {
    if (!text) return nullptr;
    std::u16string out;
    utf8_to_utf16(text, &out);
    return keep(&buffer_8to16, out.data(), out.size());
}

extern "C" char16_t* ndlg_mbcsTo16(const char* text) {
    if (!text) return nullptr;
    std::u16string out = cp1252_to_utf16(text);
    return keep(&buffer_mbcs_to16, out.data(), out.size());
}

extern "C" char* ndlg_utf16to8(const char16_t* text) {
    if (!text) return nullptr;
    std::string out;
    utf16_to_utf8(text, &out);
    return keep(&buffer_16to8, out.data(), out.size());
}

extern "C" char* ndlg_utf16toMbcs(const char16_t* text) {
    if (!text) return nullptr;
    std::string out = utf16_to_cp1252(text);
    return keep(&buffer_16_to_mbcs, out.data(), out.size());
}

extern "C" char* ndlg_utf8toMbcs(const char* text) {
    if (!text) return nullptr;
    std::u16string wide;
    std::string out;
    if (utf8_to_utf16(text, &wide)) out = utf16_to_cp1252(wide.c_str());
    return keep(&buffer_8_to_mbcs, out.data(), out.size());
}

extern "C" char* ndlg_mbcsTo8(const char* text) {
    if (!text) return nullptr;
    std::string out = cp1252_to_utf8(text);
    return keep(&buffer_mbcs_to8, out.data(), out.size());
}

extern "C" int32_t tfd_quoteDetected(const char* text) {
    return text && (strchr(text, '\'') || strchr(text, '"'));
}

extern "C" void tfd_replaceSubStrConCat(const char* source, const char* pattern, const char* replacement, char* dest,
                                        uint64_t dest_size) {
    if (!dest || dest_size == 0) return;
    size_t used = strnlen(dest, dest_size - 1);
    dest[used] = 0;
    std::string out = source ? source : "";
    if (pattern && *pattern) {
        std::string with = replacement ? replacement : "", result;
        size_t plen = strlen(pattern);
        for (size_t at = 0;;) {
            size_t found = out.find(pattern, at);
            if (found == std::string::npos) {
                result.append(out, at, std::string::npos);
                break;
            }
            result.append(out, at, found - at).append(with);
            at = found + plen;
        }
        out = result;
    }
    size_t room = dest_size - 1 - used;
    size_t n = std::min(room, out.size());
    memcpy(dest + used, out.data(), n);
    dest[used + n] = 0;
}

extern "C" void tfd_replaceSubStr(const char* source, const char* pattern, const char* replacement, char* dest,
                                  uint64_t dest_size) {
    if (!dest || dest_size == 0) return;
    dest[0] = 0;
    tfd_replaceSubStrConCat(source, pattern, replacement, dest, dest_size);
}
