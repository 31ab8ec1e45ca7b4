// _BLEND, _DONTBLEND, _CLEARCOLOR and _SETALPHA.
#include "image/alpha_statements.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "error/error.h"
#include "image/hardware_queue.h"
#include "image/image_handle.h"
#include "image/image_table.h"

namespace {

void set_blend(int32_t handle, int32_t passed, bool off) {
    if (new_error) return;
    if (passed) {
        if (hardware_img_struct* hw = get_hardware_img(handle)) {
            std::atomic_ref<int32_t>(hw->alpha_disabled).store(off ? 1 : 0, std::memory_order_relaxed);
            return;
        }
    }
    int32_t index = image_index_or_write(handle, passed);
    if (!index) return;
    img_struct* im = img_get(index);
    if (im->bytes_per_pixel != 4) {
        if (!off) error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    im->blend_off = off;
}

// Calls f on every 32-bit pixel of an image, passing it by reference.
template <class F>
void for_each_pixel(img_struct* im, F f) {
    size_t count = static_cast<size_t>(im->width) * im->height;
    for (size_t i = 0; i < count; i++) {
        uint32_t px;
        memcpy(&px, im->pixels + i * 4, 4);
        uint32_t before = px;
        f(px);
        if (px != before) memcpy(im->pixels + i * 4, &px, 4);
    }
}

}  // namespace

void sub__blend(int32_t handle, int32_t passed) { set_blend(handle, passed, false); }
void sub__dontblend(int32_t handle, int32_t passed) { set_blend(handle, passed, true); }

void sub__clearcolor(uint32_t colour, int32_t handle, int32_t passed) {
    if (new_error) return;
    int32_t index = image_index_or_write(handle, passed & 4);
    if (!index) return;
    img_struct* im = img_get(index);
    bool none_alone = (passed & 3) == 1, colour_alone = (passed & 3) == 2;
    if (im->text) {
        if (!none_alone) error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (im->bytes_per_pixel == 1) {
        if (none_alone) {
            im->clear_color = -1;
        } else if (colour_alone && colour <= 255) {
            im->clear_color = static_cast<int32_t>(colour);
        } else {
            error(ERR_ILLEGAL_FUNCTION_CALL);
        }
        return;
    }
    if (none_alone) return;
    if (!colour_alone) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    uint32_t rgb = colour & 0xFFFFFF;
    for_each_pixel(im, [rgb](uint32_t& px) {
        if ((px & 0xFFFFFF) == rgb) px = rgb;
    });
}

void sub__setalpha(int32_t alpha, uint32_t colour1, uint32_t colour2, int32_t handle, int32_t passed) {
    if (new_error) return;
    int32_t index = image_index_or_write(handle, passed & 2);
    if (!index) return;
    img_struct* im = img_get(index);
    if (im->bytes_per_pixel != 4 || alpha < 0 || alpha > 255) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    uint32_t a = static_cast<uint32_t>(alpha) << 24;
    if ((passed & 4) && colour1 != colour2) {
        uint32_t lo[4], hi[4];
        for (int i = 0; i < 4; i++) {
            uint32_t b1 = colour1 >> (8 * i) & 255, b2 = colour2 >> (8 * i) & 255;
            lo[i] = std::min(b1, b2);
            hi[i] = std::max(b1, b2);
        }
        for_each_pixel(im, [&](uint32_t& px) {
            for (int i = 0; i < 4; i++) {
                uint32_t v = px >> (8 * i) & 255;
                if (v < lo[i] || v > hi[i]) return;
            }
            px = (px & 0xFFFFFF) | a;
        });
    } else if (passed & (1 | 4)) {
        for_each_pixel(im, [&](uint32_t& px) {
            if (px == colour1) px = (px & 0xFFFFFF) | a;
        });
    } else {
        for_each_pixel(im, [&](uint32_t& px) { px = (px & 0xFFFFFF) | a; });
    }
}
