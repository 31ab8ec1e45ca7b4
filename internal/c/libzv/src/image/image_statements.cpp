// _NEWIMAGE, _COPYIMAGE, _FREEIMAGE, _DEST, _SOURCE, _DISPLAY and CLEAR's image sweep.
#include "image/image_statements.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "error/error.h"
#include "image/hardware_image.h"
#include "image/hardware_queue.h"
#include "image/image_handle.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "image/printer_page.h"

namespace {

int32_t console_index() {
    int32_t c = console_image();
    return c < 0 ? -c : c;
}

}  // namespace

int32_t func__newimage(int32_t width, int32_t height, int32_t mode, int32_t passed) {
    if (new_error) return 0;
    if (width <= 0 || height <= 0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    if (passed) {
        if (!legacy_mode(mode)) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return 0;
        }
    } else {
        mode = write_page()->legacy_mode;
    }
    // The record holds 16-bit sizes and 16-bit text cursor rows and columns.
    int64_t side = mode == 0 ? img_max_text_side : img_max_side;
    if (width > side || height > side) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    int32_t index = imgnew(width, height, mode);
    if (!index) return -1;
    if (!passed) {
        img_struct* from = write_page();
        img_struct* im = img_get(index);
        if (from->palette && im->palette) memcpy(im->palette, from->palette, 256 * sizeof(uint32_t));
        selectfont(from->font, im);
        im->color = from->color;
        im->background_color = from->background_color;
        im->clear_color = from->clear_color;
        im->blend_off = from->blend_off;
        im->print_mode = from->print_mode;
    }
    return -index;
}

int32_t func__copyimage(int32_t handle, int32_t mode, int32_t passed) {
    if (new_error) return 0;
    int32_t from_index = image_index_or_write(handle, passed & 1);
    if (!from_index) return 0;
    img_struct* from = img_get(from_index);
    if ((passed & 2) && mode != from->legacy_mode) {
        if (mode == 33 && from->bytes_per_pixel == 4) {
            int32_t hw = new_hardware_img(from->width, from->height, reinterpret_cast<uint32_t*>(from->pixels), 3);
            if (!hw) return -1;
            return HARDWARE_IMG_HANDLE_OFFSET + hw;
        }
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return -1;
    }

    // Buffers first, so that a failure leaves the table as it was.
    size_t bytes = static_cast<size_t>(from->width) * from->height * from->bytes_per_pixel;
    auto* pixels = static_cast<uint8_t*>(malloc(bytes ? bytes : 1));
    if (!pixels) return -1;
    uint32_t* palette = nullptr;
    if (from->palette) {
        palette = static_cast<uint32_t*>(malloc(256 * sizeof(uint32_t)));
        if (!palette) {
            free(pixels);
            return -1;
        }
        for (int i = 0; i < 256; i++) palette[i] = std::atomic_ref<uint32_t>(from->palette[i]).load(std::memory_order_relaxed);
    }
    int32_t index = newimg();
    if (!index) {
        free(pixels);
        free(palette);
        return -1;
    }
    from = img_get(from_index);
    img_struct* im = img_get(index);
    memcpy(static_cast<void*>(im), from, sizeof(img_struct));
    memcpy(pixels, from->pixels, bytes);
    im->lock_pointer = nullptr;
    im->lock_id = 0;
    im->pixels = pixels;
    im->palette = palette;
    im->flags = IMG_FREEMEM | (palette ? IMG_FREEPALETTE : 0);
    return -index;
}

void image_free(int32_t index) {
    img_struct* im = img_get(index);
    // A freed console image would leave console_image naming a reused slot.
    if ((im->flags & IMG_SCREEN) || (console_image() && index == console_index())) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (index == write_page_index()) set_write_page(display_page_index());
    if (index == read_page_index()) set_read_page(display_page_index());
    image_release(index);
}

void sub__freeimage(int32_t handle, int32_t passed) {
    if (new_error) return;
    if (passed) {
        if (handle >= 0) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
        if (hardware_img_struct* hw = get_hardware_img(handle)) {
            hardware_img_queue_free(get_hardware_img_index(handle), hw);
            return;
        }
    }
    int32_t index = image_index_or_write(handle, passed);
    if (!index) return;
    image_free(index);
}

void sub__dest(int32_t handle) {
    if (new_error) return;
    if (int32_t index = image_index_of(handle)) set_write_page(index);
}

int32_t func__dest() {
    if (new_error) return 0;
    return -write_page_index();
}

void sub__source(int32_t handle) {
    if (new_error) return;
    if (int32_t index = image_index_of(handle)) set_read_page(index);
}

int32_t func__source() {
    if (new_error) return 0;
    return -read_page_index();
}

int32_t func__display() {
    if (new_error) return 0;
    return -display_page_index();
}

void freeallimages() {
    for (int32_t i = 2; i < image_table_next(); i++) {
        img_struct* im = img_get(i);
        // The printer page lives until the process ends: its handle is kept.
        if (i == lprint_page()) continue;
        if (im->valid && !(im->flags & IMG_SCREEN) && !(console_image() && i == console_index())) image_free(i);
    }
}
