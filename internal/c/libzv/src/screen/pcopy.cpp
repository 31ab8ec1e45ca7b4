// PCOPY: a byte copy of one page or image onto another of the same shape.
#include "screen/pcopy.h"

#include <cstring>

#include "error/error.h"
#include "image/image_handle.h"
#include "image/image_table.h"

namespace {

// The table index of a PCOPY argument; 0 after an error.
int32_t pcopy_index(int32_t handle) {
    if (handle >= 0) return validatepage(handle);
    int64_t index = -static_cast<int64_t>(handle);
    if (index >= image_table_next() || !img_get(static_cast<int32_t>(index))->valid) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return static_cast<int32_t>(index);
}

}  // namespace

void sub_pcopy(int32_t source, int32_t destination) {
    if (new_error_is_set()) return;
    int32_t from_index = pcopy_index(source);
    if (!from_index) return;
    int32_t to_index = pcopy_index(destination);
    if (!to_index || to_index == from_index) return;
    const img_struct* from = img_get(from_index);
    img_struct* to = img_get(to_index);
    if (from->bytes_per_pixel != to->bytes_per_pixel || from->width != to->width || from->height != to->height ||
        (from->bytes_per_pixel == 1 && to->pixel_mask < from->pixel_mask)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    memcpy(to->pixels, from->pixels, static_cast<size_t>(from->width) * from->height * from->bytes_per_pixel);
}
