// _LOADFONT and _FREEFONT over the font back end.
#include "font/loadfont.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "error/error.h"
#include "font/font_backend.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "string/zvs.h"

namespace {

// Option words are matched anywhere in the text, ASCII case-insensitively.
struct option_word {
    const char* word;
    int32_t flag;
};
constexpr option_word option_words[] = {
    {"DONTBLEND", FONT_DONTBLEND},
    {"MONOSPACE", FONT_MONOSPACE},
    {"UNICODE", FONT_UNICODE},
    {"AUTOMONO", FONT_AUTOMONO},
};

std::string ascii_upper(const uint8_t* text, int32_t length) {
    std::string out(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// A free number from 32 up; the tables grow by one entry when all are taken. 0 when
// the fixed capacity is used up.
int32_t free_font_number() {
    for (int32_t n = first_loaded_font; n <= lastfont; n++)
        if (font[n] == 0) return n;
    if (lastfont + 1 >= font_table_capacity) return 0;
    lastfont++;
    font[lastfont] = 0;
    return lastfont;
}

}  // namespace

int32_t func__loadfont_bytes(const uint8_t* file, int32_t file_length, int32_t size, const uint8_t* options,
                             int32_t options_length, int32_t index, int32_t passed) {
    if (new_error_is_set() || file_length <= 0) return 0;
    if (size < 1) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    int32_t flags = 0;
    bool memory = false;
    if ((passed & 1) && options_length > 0) {
        std::string words = ascii_upper(options, options_length);
        for (const option_word& w : option_words)
            if (words.find(w.word) != std::string::npos) flags |= w.flag;
        memory = words.find("MEMORY") != std::string::npos;
    }
    if (!(passed & 2)) index = 0;

    const uint8_t* data = file;
    int32_t data_size = file_length;
    uint8_t* from_file = nullptr;
    if (!memory) {
        // A name with a zero byte cannot name a file.
        std::string_view name(reinterpret_cast<const char*>(file), static_cast<size_t>(file_length));
        if (name.find('\0') != std::string_view::npos) return 0;
        std::string path(name);
        from_file = FontLoadFileToMemory(path.c_str(), &data_size);
        if (!from_file) return 0;
        data = from_file;
    }

    int32_t n = free_font_number();
    if (!n) {
        free(from_file);
        return 0;
    }
    int32_t handle = FontLoad(data, data_size, size, index, &flags);
    free(from_file);
    if (!handle) return 0;
    font[n] = handle;
    fontflags[n] = flags;
    fontheight[n] = size;
    fontwidth[n] = FontWidth(handle);
    return n;
}

int32_t func__loadfont(zvs* file, int32_t size, zvs* options, int32_t index, int32_t passed) {
    bool with_options = (passed & 1) && options;
    return func__loadfont_bytes(file->text, file->length, size, with_options ? options->text : nullptr,
                                with_options ? options->length : 0, index, passed);
}

void sub__freefont(int32_t font_number) {
    if (new_error_is_set()) return;
    if (!font_is_loaded(font_number)) {
        error(ERR_INVALID_HANDLE);
        return;
    }
    for (int32_t i = 1; i < image_table_next(); i++) {
        const img_struct* im = img_get(i);
        if (im->valid && im->font == font_number) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
    }
    FontFree(font[font_number]);
    font[font_number] = 0;
}
