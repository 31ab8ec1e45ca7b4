// The font back end: loads, measures and renders fonts of _LOADFONT. The runtime
// reaches it only through the functions below; the back end of this system is a set
// of placeholders that load nothing, and tests may put another one in its place.
#pragma once
#include <cstdint>

struct font_backend {
    uint8_t* (*load_file_to_memory)(const char* path, int32_t* size);
    int32_t (*load)(const uint8_t* data, int32_t data_size, int32_t height, int32_t face_index, int32_t* options);
    void (*free)(int32_t handle);
    int32_t (*width)(int32_t handle);
    bool (*render_utf32)(int32_t handle, const uint32_t* code_points, int32_t count, int32_t monochrome,
                         uint8_t** bitmap, int32_t* width, int32_t* height);
    bool (*render_ascii)(int32_t handle, const uint8_t* text, int32_t count, int32_t monochrome, uint8_t** bitmap,
                         int32_t* width, int32_t* height);
    int32_t (*print_width_utf32)(int32_t handle, const uint32_t* code_points, int32_t count);
    int32_t (*print_width_ascii)(int32_t handle, const uint8_t* text, int32_t count);
};

// Replaces the back end (tests); nullptr puts the placeholders back.
void font_set_backend(const font_backend* backend);

// Reads a whole font file into a buffer the caller releases with free(); null on
// failure (size untouched).
uint8_t* FontLoadFileToMemory(const char* path, int32_t* size);
// A font of the given pixel height from font data: a non-zero handle, or 0. May
// update the option bits. The data may be released right after the call.
int32_t FontLoad(const uint8_t* data, int32_t data_size, int32_t height, int32_t face_index, int32_t* options);
void FontFree(int32_t handle);
// Fixed character width in pixels; 0 for a proportional font.
int32_t FontWidth(int32_t handle);
// Render text into a new width x height bitmap (one byte per pixel, rows top to
// bottom; 0 or non-zero when monochrome, else coverage 0-255) that the caller
// releases with free(). False when nothing was rendered.
bool FontRenderTextUTF32(int32_t handle, const uint32_t* code_points, int32_t count, int32_t monochrome,
                         uint8_t** bitmap, int32_t* width, int32_t* height);
bool FontRenderTextASCII(int32_t handle, const uint8_t* text, int32_t count, int32_t monochrome, uint8_t** bitmap,
                         int32_t* width, int32_t* height);
// Width in pixels the text would take.
int32_t FontPrintWidthUTF32(int32_t handle, const uint32_t* code_points, int32_t count);
int32_t FontPrintWidthASCII(int32_t handle, const uint8_t* text, int32_t count);
