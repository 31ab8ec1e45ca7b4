// convert_unicode and the UTF-16 conversion buffer.
#include "font/unicode_convert.h"

#include <cstdlib>
#include <cstring>

#include "font/font_tables.h"
#include "font/glyphs.h"

namespace {

uint16_t* unicode16_buf = nullptr;
int64_t unicode16_buf_size = 0;

uint32_t read_unit(const uint8_t* p, int32_t kind) {
    if (kind == 1) return codepage437_to_unicode16[*p];
    if (kind == 16) {
        uint16_t v;
        memcpy(&v, p, 2);
        return v;
    }
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}

void write_unit(uint8_t* p, int32_t kind, uint32_t v) {
    if (kind == 16) {
        uint16_t u = static_cast<uint16_t>(v);
        memcpy(p, &u, 2);
    } else {
        memcpy(p, &v, 4);
    }
}

}  // namespace

int32_t convert_unicode(int32_t source_kind, const void* source, int32_t source_bytes, int32_t destination_kind,
                        void* destination) {
    if (source_kind != 1 && source_kind != 16 && source_kind != 32) return 0;
    if (destination_kind != 16 && destination_kind != 32) return 0;
    int32_t step = source_kind == 1 ? 1 : source_kind / 8;
    int32_t count = source_bytes > 0 ? source_bytes / step : 0;
    int32_t out_step = destination_kind / 8;
    const auto* in = static_cast<const uint8_t*>(source);
    auto* out = static_cast<uint8_t*>(destination);
    for (int32_t i = 0; i < count; i++) {
        uint32_t v = read_unit(in + static_cast<size_t>(i) * step, source_kind);
        write_unit(out + static_cast<size_t>(i) * out_step, destination_kind, v);
    }
    write_unit(out + static_cast<size_t>(count) * out_step, destination_kind, 0);
    return count * out_step;
}

int32_t convert_text_to_utf16(int32_t font_number, const void* text, int32_t length) {
    if (length < 0) length = 0;
    int64_t need = static_cast<int64_t>(length) * 4 + 4;
    if (need > unicode16_buf_size) {
        auto* grown = static_cast<uint16_t*>(realloc(unicode16_buf, static_cast<size_t>(need)));
        if (!grown) return 0;
        unicode16_buf = grown;
        unicode16_buf_size = need;
    }
    bool utf32 = font_number > 0 && font_number < font_table_capacity && (fontflags[font_number] & FONT_UNICODE);
    if (utf32) return convert_unicode(32, text, length == 1 ? 4 : length, 16, unicode16_buf);
    return convert_unicode(1, text, length, 16, unicode16_buf);
}

const uint16_t* unicode16_buffer() { return unicode16_buf; }
