// Raster tests: a small 8-bit image as the write image, and its pixels as text
// ('.' for 0, one hex digit per colour) to compare with golden dumps kept as data.
#pragma once
#include <string>

#include "image/image_fixture.h"
#include "image/image_statements.h"

class RasterTest : public ImageTest {
protected:
    // A w x h 8-bit image as the write and read image (on top of a SCREEN 13 screen).
    static img_struct* canvas(int32_t w, int32_t h) {
        screen(13);
        int32_t handle = func__newimage(w, h, 256, 1);
        sub__dest(handle);
        sub__source(handle);
        return img_get(-handle);
    }
    static std::string dump(const img_struct* im) {
        std::string out;
        for (int32_t y = 0; y < im->height; y++) {
            for (int32_t x = 0; x < im->width; x++) {
                uint8_t v = im->pixels[static_cast<size_t>(y) * im->width + x];
                out += v == 0 ? '.' : v < 16 ? "0123456789ABCDEF"[v] : '#';
            }
            out += '\n';
        }
        return out;
    }
    // A golden raw string starts with the line break after its opening delimiter.
    static std::string golden(const char* text) { return std::string(text + 1); }
};
