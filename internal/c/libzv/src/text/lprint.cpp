// LPRINT, the LPRINT comma, LPOS, _PRINTIMAGE and the printer page's idle hand-over.
#include "text/lprint.h"

#include <cmath>

#include "clock/clock.h"
#include "error/error.h"
#include "image/image_statements.h"
#include "image/image_table.h"
#include "image/printer_page.h"
#include "palette/palette_statements.h"
#include "screen/font_statement.h"
#include "text/cls.h"
#include "text/print.h"
#include "text/text_cursor.h"
#include "text/text_image.h"

namespace {

constexpr int32_t page_width = 640, page_height = 960, page_lines = 60;
constexpr uint32_t paper = 15, ink = 0;
constexpr double idle_seconds = 10;

// TIMER(0.001) of the last LPRINT; guarded by the printer page lock.
double lprint_last = 0;

double timer_now() { return timer_value(0.001, 1); }

// With the lock held: the page's table index, made by the first use.
int32_t make_page() {
    if (int32_t page = lprint_page()) return page;
    int32_t handle = func__newimage(page_width, page_height, 13, 1);
    if (handle >= -1) return 0;  // no memory: the error is pending
    int32_t page = -handle;
    write_image_switch to(page);
    cls_write_image(0, paper, 2);
    sub__font(16, 0, 0);
    zvg_sub_color(ink, paper, 0, 1 | 2);
    zvg_sub_view_print(1, page_lines, 1);
    set_lprint(lprint_on(), page);
    return page;
}

void send_page() { sub__printimage(-lprint_page()); }

// The LPRINT frame around one piece of printing: the lock, the page as the write
// image with the printer rules on, the idle clock restarted.
template <class F>
void on_printer_page(F print) {
    std::unique_lock<std::mutex> hold = printer_page_hold();
    int32_t page = make_page();
    if (!page) return;
    write_image_switch to(page);
    set_lprint(1, page);
    set_lprint_buffered(1);
    lprint_last = timer_now();
    print();
    set_lprint(0, page);
}

// CLS of the page with colour 15, without making it the write image and without
// the KEY line's redraw (this runs on the housekeeping thread).
void clear_page(img_struct* im) {
    fill_pixel_rows(im, 0, im->height - 1, paper);
    set_cursor_y(im, im->top_row);
    set_cursor_x(im, 1);
    set_cursor_held(im, 0);
    im->graphics.draw_angle = 0;
    im->graphics.draw_scale = 1.0;
    im->graphics.x = static_cast<float>(im->graphics.view_x2 - im->graphics.view_x1 + 1) / 2;
    im->graphics.y = static_cast<float>(im->graphics.view_y2 - im->graphics.view_y1 + 1) / 2;
}

}  // namespace

void zvs_lprint(zvs* text, int32_t finish_line) {
    if (new_error_is_set()) return;
    on_printer_page([&] { zvs_print(text, finish_line); });
}

void lprint_tab() {
    if (new_error_is_set()) return;
    on_printer_page([] { tab(); });
}

int32_t func_lpos(int32_t port) {
    if (new_error_is_set()) return 0;
    if (port < 0 || port > 3) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return lpos();
}

void sub__printimage(int32_t) {}

void lprint_idle() {
    std::unique_lock<std::mutex> hold = printer_page_try_hold();
    if (!hold.owns_lock() || lprint_on() || !lprint_buffered()) return;
    if (std::fabs(timer_now() - lprint_last) < idle_seconds) return;
    printer_page_send();
    set_lprint_buffered(0);
    if (lprint_page()) clear_page(img_get(lprint_page()));
}

void lprint_shutdown() {
    std::unique_lock<std::mutex> hold = printer_page_try_hold();
    if (hold.owns_lock() && lprint_buffered()) printer_page_send();
}

void lprint_global_init() {
    set_printer_page_maker(make_page);
    set_printer_page_sender(send_page);
}

void lprint_reset_for_tests() {
    printer_page_reset_for_tests();
    lprint_last = 0;
}
