// _FONTWIDTH, _FONTHEIGHT and the _FONT function.
#include "font/font_functions.h"

#include "error/error.h"
#include "font/font_tables.h"
#include "image/image_handle.h"
#include "image/image_table.h"

namespace {

// The fonts a program may measure: the single-width built-ins and loaded fonts.
bool measurable(int32_t n) { return n == 8 || n == 14 || n == 16 || font_is_loaded(n); }

int32_t metric(const std::atomic<int32_t>* table, int32_t font_number, int32_t passed) {
    if (new_error_is_set()) return 0;
    if (!passed) {
        int32_t f = write_page()->font;
        return f >= 0 && f < font_table_capacity ? table[f].load() : 0;
    }
    if (!measurable(font_number)) {
        error(ERR_INVALID_HANDLE);
        return 0;
    }
    return table[font_number];
}

}  // namespace

int32_t func__fontwidth(int32_t font_number, int32_t passed) { return metric(fontwidth, font_number, passed); }

int32_t func__fontheight(int32_t font_number, int32_t passed) { return metric(fontheight, font_number, passed); }

int32_t func__font(int32_t handle, int32_t passed) {
    if (new_error_is_set()) return 0;
    int32_t index = image_index_or_write(handle, passed);
    if (!index) return 0;
    return img_get(index)->font;
}
