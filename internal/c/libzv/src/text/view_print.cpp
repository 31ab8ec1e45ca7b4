// VIEW PRINT: the rows that PRINT scrolls.
#include "error/error.h"
#include "image/image_table.h"
#include "text/text_cursor.h"
#include "text/text_image.h"

void zvg_sub_view_print(int32_t top, int32_t bottom, int32_t passed) {
    if (new_error_is_set()) return;
    img_struct* im = write_page();
    int32_t rows = text_rows(im);
    if (passed & 1) {
        if (top < 1 || top > rows || bottom < top || bottom > rows) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
    } else {
        top = 1;
        bottom = rows < 1 ? 1 : rows;  // an image lower than one cell keeps row 1
    }
    im->top_row = static_cast<int16_t>(top);
    im->bottom_row = static_cast<int16_t>(bottom);
    set_cursor_y(im, top);
    set_cursor_x(im, 1);
    set_cursor_held(im, 0);
}
