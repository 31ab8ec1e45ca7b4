// CLS: the text region, the graphics viewport or the whole image, and the console's terminal.
#include "text/cls.h"

#include "error/error.h"
#include "image/image_handle.h"
#include "image/image_table.h"
#include "platform/console_terminal.h"
#include "text/key_line.h"
#include "text/text_image.h"

namespace {

// The whole graphics image in one colour, blending off.
void fill_image(img_struct* im, uint32_t colour) {
    fill_pixel_rows(im, 0, im->height - 1, im->bytes_per_pixel == 1 ? colour & 255 : colour);
}

// The graphics cursor to the centre of the viewport; under a WINDOW, the WINDOW
// point that maps there.
void centre_graphics_cursor(img_struct* im) {
    img_graphics_state& g = im->graphics;
    float x = static_cast<float>(g.view_x2 - g.view_x1 + 1) / 2;
    float y = static_cast<float>(g.view_y2 - g.view_y1 + 1) / 2;
    if (g.clipping_or_scaling == 2) {
        x = (x - g.scaling_offset_x) / g.scaling_x;
        y = (y - g.scaling_offset_y) / g.scaling_y;
    }
    g.x = x;
    g.y = y;
}

// The graphics viewport: the VIEW rectangle while a VIEW or WINDOW is in force,
// else the whole image; then the graphics cursor to its centre.
void clear_viewport(img_struct* im, uint32_t colour) {
    img_graphics_state& g = im->graphics;
    if (g.clipping_or_scaling) {
        uint8_t blend = im->blend_off;
        im->blend_off = 1;
        fill_box(im, g.view_x1, g.view_y1, g.view_x2, g.view_y2, colour);
        im->blend_off = blend;
    } else {
        fill_image(im, colour);
    }
    centre_graphics_cursor(im);
}

}  // namespace

void cls_write_image(int32_t method, uint32_t colour, int32_t passed) {
    img_struct* im = write_page();
    if (im->console) {
        console_clear();
        console_locate(1, 1);
        return;
    }
    if ((passed & 2) && im->bytes_per_pixel != 4 && colour > im->pixel_mask) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if ((passed & 1) && (method < 0 || method > 2)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (!(passed & 2)) colour = im->background_color;
    set_cursor_y(im, im->top_row);
    set_cursor_x(im, 1);
    // A hold left from the last PRINT would start the next one on the second row.
    set_cursor_held(im, 0);
    im->graphics.draw_angle = 0;
    im->graphics.draw_scale = 1.0;
    text_cell blank = blank_cell_of(im->color, colour);
    int32_t fh = text_font_height(im->font);
    switch (passed & 1 ? method : -1) {
        case -1:
            if (im->text) {
                fill_text_rows(im, im->top_row, im->bottom_row, blank);
                fill_text_rows(im, im->height, im->height, blank);
            } else {
                clear_viewport(im, colour);
            }
            key_line_redraw();
            return;
        case 0:
            if (im->text) {
                fill_text_rows(im, 1, im->height, blank);
            } else {
                fill_image(im, colour);
                centre_graphics_cursor(im);
            }
            key_line_redraw();
            return;
        case 1:
            if (!im->text) {
                clear_viewport(im, colour);
                key_line_redraw();
            }
            return;
        default:
            if (im->text)
                fill_text_rows(im, im->top_row, im->bottom_row, blank);
            else
                fill_pixel_rows(im, (im->top_row - 1) * fh, im->bottom_row * fh - 1,
                                im->bytes_per_pixel == 1 ? colour & 255 : colour);
            return;
    }
}

void sub_cls(int32_t method, uint32_t colour, int32_t passed) {
    if (new_error_is_set()) return;
    cls_write_image(method, colour, passed);
}

void sub_clsDest(int32_t method, uint32_t colour, int32_t destination, int32_t passed) {
    if (new_error_is_set()) return;
    if (!(passed & 4)) {
        cls_write_image(method, colour, passed & 3);
        return;
    }
    int32_t index = image_index_of(destination);
    if (!index) return;
    write_image_switch to(index);
    cls_write_image(method, colour, passed & 3);
}
