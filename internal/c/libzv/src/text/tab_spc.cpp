// TAB and SPC: the spaces (and new line) that bring PRINT to a column.
#include <optional>

#include "error/error.h"
#include "image/image_table.h"
#include "image/printer_page.h"
#include "string/zvs.h"
#include "text/print_internal.h"
#include "text/text_cursor.h"
#include "text/text_image.h"

int32_t tab_spc_cr_size = 1;
int32_t tab_fileno = 0;
int32_t tab_LPRINT = 0;

namespace {

int32_t (*file_column)(int32_t fileno, bool* screen) = nullptr;

zvs* empty() { return zvs_new(0, 1); }

// Optionally a new line (CR, or CR LF in file mode), then spaces.
zvs* spaces(bool new_line, bool cr_lf, int64_t count) {
    if (count < 0) count = 0;
    int32_t head = new_line ? (cr_lf ? 2 : 1) : 0;
    zvs* s = zvs_new(static_cast<int32_t>(head + count), 1);
    if (head) s->text[0] = 13;
    if (head == 2) s->text[1] = 10;
    for (int64_t i = 0; i < count; i++) s->text[head + i] = ' ';
    return s;
}

// Inside an LPRINT the printer page is the image that TAB and SPC measure; they
// hold it so that the housekeeping thread does not clear it meanwhile.
void use_printer_page(std::optional<write_image_switch>& to, std::unique_lock<std::mutex>& hold) {
    if (!tab_LPRINT) return;
    hold = printer_page_hold();
    if (int32_t page = printer_page_ensure()) to.emplace(page);
}

int64_t ceil_div(int64_t a, int64_t b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }

int32_t space_width(const img_struct* im) {
    zvs one{};
    uint8_t space = ' ';
    one.text = &space;
    one.length = 1;
    int32_t s = printwidth_of(im, &one);
    return s < 1 ? 1 : s;  // a font that measures nothing still counts one unit
}

// The cursor column: 1 while held at the right edge, the terminal's on the console.
int64_t current_column() { return func_pos(0); }

}  // namespace

void set_tab_file_column(int32_t (*column)(int32_t fileno, bool* screen)) { file_column = column; }

zvs* func_tab(int32_t column) {
    if (new_error_is_set()) return empty();
    std::unique_lock<std::mutex> hold;
    std::optional<write_image_switch> to;
    use_printer_page(to, hold);
    int32_t mode = tab_spc_cr_size == 2 ? 2 : 1;
    int64_t width = 2147483647, unit = 1, position = 1;
    if (mode == 2 && file_column) {
        bool screen = false;
        int32_t c = file_column(tab_fileno, &screen);
        if (screen)
            mode = 1;
        else if (c > 0)
            position = c;
    }
    if (mode == 1) {
        img_struct* im = write_page();
        if (im->text || text_font_width(im->font)) {
            width = text_columns(im);
        } else {
            width = im->width;
            unit = space_width(im);
        }
        if (width < 1) width = 1;  // an image narrower than one cell
        position = current_column();
    }
    if (column < -32768 || column > 32767) {
        error(ERR_OVERFLOW);
        return empty();
    }
    int64_t target = column;
    if (target > width) target %= width;
    if (target < 1) target = 1;
    if (position > target) return spaces(true, mode == 2, ceil_div(target, unit) - 1);
    return spaces(false, false, ceil_div(target - position, unit));
}

zvs* func_spc(int32_t count) {
    if (new_error_is_set()) return empty();
    if (count < -32768 || count > 32767) {
        error(ERR_OVERFLOW);
        return empty();
    }
    if (count < 0) count = 0;
    if (tab_spc_cr_size == 2) return spaces(false, false, count);
    std::unique_lock<std::mutex> hold;
    std::optional<write_image_switch> to;
    use_printer_page(to, hold);
    img_struct* im = write_page();
    int64_t position = current_column();
    int64_t remaining, columns;
    int32_t fw = text_font_width(im->font);
    if (im->text) {
        columns = im->width;
        remaining = columns - position + 1;
    } else if (fw) {
        columns = im->width / fw;
        remaining = columns - position + 1;
    } else {
        int64_t s = space_width(im);
        remaining = (im->width - position + 1) / s;
        columns = im->width / s;
    }
    if (columns < 1) columns = 1;  // an image narrower than one cell
    int64_t n = count % columns;
    if (remaining < n) return spaces(true, false, n - remaining);
    return spaces(false, false, n);
}
