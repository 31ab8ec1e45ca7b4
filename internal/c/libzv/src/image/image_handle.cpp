// The image-handle rule and validatepage.
#include "image/image_handle.h"

#include <cstdlib>

#include "error/error.h"
#include "image/image_modes.h"
#include "image/image_table.h"

namespace {

int32_t (*deferred_page_maker)(int32_t n) = nullptr;

}  // namespace

void set_deferred_page_maker(int32_t (*maker)(int32_t n)) { deferred_page_maker = maker; }

int32_t validatepage(int32_t n) {
    if (int32_t existing = page_index(n)) return existing;
    if (deferred_page_maker) {
        int32_t made = deferred_page_maker(n);
        if (made > 0) return made;
        if (made < 0) {
            error(ERR_OUT_OF_MEMORY);
            return 0;
        }
    }
    int32_t first = page_index(0);
    if (!first) {
        // Only before the first SCREEN; nothing to copy the page from.
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    img_struct* p0 = img_get(first);
    int32_t index = imgnew(p0->width, p0->height, p0->legacy_mode);
    if (!index) {
        error(ERR_OUT_OF_MEMORY);
        return 0;
    }
    img_struct* im = img_get(index);
    if (im->bytes_per_pixel != 4) {
        // PALETTE and COLOR on any page change all pages.
        free(im->palette);
        im->flags &= ~IMG_FREEPALETTE;
        im->palette = p0->palette;
    }
    im->flags |= IMG_SCREEN;
    selectfont(p0->font, im);
    page_set(n, index);
    return index;
}

int32_t image_index_of(int32_t handle) {
    if (handle >= 0) return validatepage(handle);
    int64_t index = -static_cast<int64_t>(handle);
    if (index >= image_table_next() || !img_get(static_cast<int32_t>(index))->valid) {
        error(ERR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<int32_t>(index);
}

int32_t image_index_or_write(int32_t handle, int32_t passed) {
    return passed ? image_index_of(handle) : write_page_index();
}

int32_t image_index_or_read(int32_t handle, int32_t passed) {
    return passed ? image_index_of(handle) : read_page_index();
}
