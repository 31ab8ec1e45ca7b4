// _PRINTMODE statement and function.
#include "text/printmode.h"

#include "error/error.h"
#include "image/image_handle.h"
#include "image/image_table.h"

void sub__printmode(int32_t option, int32_t handle, int32_t passed) {
    if (new_error_is_set()) return;
    int32_t index = image_index_or_write(handle, passed & 1);
    if (!index) return;
    img_struct* im = img_get(index);
    if (im->text) {
        // Cells have no glyph background to keep.
        if (option != 1) error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    // The statement's options are keyword numbers; the record stores the mode.
    switch (option) {
        case 1: im->print_mode = 3; break;
        case 2: im->print_mode = 1; break;
        case 3: im->print_mode = 2; break;
        default: break;
    }
}

int32_t func__printmode(int32_t handle, int32_t passed) {
    if (new_error_is_set()) return 0;
    int32_t index = image_index_or_write(handle, passed & 1);
    if (!index) return 0;
    return img_get(index)->print_mode;
}
