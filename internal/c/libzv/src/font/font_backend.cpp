// The font back-end seam and its placeholders, which load nothing.
#include "font/font_backend.h"

#include <atomic>

namespace {

uint8_t* placeholder_load_file(const char*, int32_t*) { return nullptr; }
int32_t placeholder_load(const uint8_t*, int32_t, int32_t, int32_t, int32_t*) { return 0; }
void placeholder_free(int32_t) {}
int32_t placeholder_width(int32_t) { return 0; }
bool placeholder_render_utf32(int32_t, const uint32_t*, int32_t, int32_t, uint8_t**, int32_t*, int32_t*) {
    return false;
}
bool placeholder_render_ascii(int32_t, const uint8_t*, int32_t, int32_t, uint8_t**, int32_t*, int32_t*) {
    return false;
}
int32_t placeholder_print_width_utf32(int32_t, const uint32_t*, int32_t) { return 0; }
int32_t placeholder_print_width_ascii(int32_t, const uint8_t*, int32_t) { return 0; }

constexpr font_backend placeholders{placeholder_load_file,
                                    placeholder_load,
                                    placeholder_free,
                                    placeholder_width,
                                    placeholder_render_utf32,
                                    placeholder_render_ascii,
                                    placeholder_print_width_utf32,
                                    placeholder_print_width_ascii};

// The frame producer renders through it too.
std::atomic<const font_backend*> current{&placeholders};

const font_backend& be() { return *current.load(std::memory_order_acquire); }

}  // namespace

void font_set_backend(const font_backend* backend) {
    current.store(backend ? backend : &placeholders, std::memory_order_release);
}

uint8_t* FontLoadFileToMemory(const char* path, int32_t* size) { return be().load_file_to_memory(path, size); }

int32_t FontLoad(const uint8_t* data, int32_t data_size, int32_t height, int32_t face_index, int32_t* options) {
    return be().load(data, data_size, height, face_index, options);
}

void FontFree(int32_t handle) { be().free(handle); }

int32_t FontWidth(int32_t handle) { return be().width(handle); }

bool FontRenderTextUTF32(int32_t handle, const uint32_t* code_points, int32_t count, int32_t monochrome,
                         uint8_t** bitmap, int32_t* width, int32_t* height) {
    return be().render_utf32(handle, code_points, count, monochrome, bitmap, width, height);
}

bool FontRenderTextASCII(int32_t handle, const uint8_t* text, int32_t count, int32_t monochrome, uint8_t** bitmap,
                         int32_t* width, int32_t* height) {
    return be().render_ascii(handle, text, count, monochrome, bitmap, width, height);
}

int32_t FontPrintWidthUTF32(int32_t handle, const uint32_t* code_points, int32_t count) {
    return be().print_width_utf32(handle, code_points, count);
}

int32_t FontPrintWidthASCII(int32_t handle, const uint8_t* text, int32_t count) {
    return be().print_width_ascii(handle, text, count);
}
