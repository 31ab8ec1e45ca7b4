// _PRINTWIDTH: the width a text takes on an image.
#include "error/error.h"
#include "font/font_backend.h"
#include "font/font_tables.h"
#include "image/image_handle.h"
#include "image/image_table.h"
#include "text/print.h"
#include "text/print_internal.h"
#include "text/text_image.h"

int32_t printwidth_of(const img_struct* im, zvs* text) {
    if (text->length == 0) return 0;
    if (im->text) return text->length;
    int64_t w = text_font_width(im->font);
    if (w) {
        int64_t width = w * text->length;
        return width > INT32_MAX ? INT32_MAX : static_cast<int32_t>(width);
    }
    int32_t handle = im->font >= 0 && im->font < font_table_capacity ? font[im->font].load() : 0;
    return FontPrintWidthASCII(handle, text->text, text->length);
}

int32_t func__printwidth(zvs* text, int32_t handle, int32_t passed) {
    int32_t index = passed & 1 ? image_index_of(handle) : write_page_index();
    if (!index) return 0;
    return printwidth_of(img_get(index), text);
}
