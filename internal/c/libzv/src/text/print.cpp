// PRINT: the PRINT core with its control characters, makefit, and the console image's output.
#include "text/print.h"

#include "error/error.h"
#include "font/font_tables.h"
#include "font/glyphs.h"
#include "image/image_table.h"
#include "image/printer_page.h"
#include "platform/console_terminal.h"
#include "text/cls.h"
#include "text/print_internal.h"
#include "text/text_image.h"

int32_t no_control_characters = 0;
int32_t no_control_characters2 = 0;

namespace {

void (*beep_call)() = nullptr;

// The console shows the program's code page 437 text through the current table
// (_MAPUNICODE applies), and reads characters back into it.
uint32_t cp437_character(uint8_t code) { return codepage437_to_unicode16[code].load(std::memory_order_relaxed); }
int32_t cp437_code(uint32_t character) {
    int32_t code = unicode_to_cp437(character);
    return code || codepage437_to_unicode16[0].load(std::memory_order_relaxed) == character ? code : -1;
}
constexpr console_charset cp437_console{cp437_character, cp437_code};

bool is_proportional(const img_struct* im) { return !im->text && text_font_width(im->font) == 0; }

// The cursor after one character was advanced to column x: at the right edge it
// is held (the last character of an item ending with ';') or moves to a new line.
// True when the character ended with a new line.
bool right_edge(img_struct* im, int32_t x, bool last, int32_t finish_line) {
    if (im->text) {
        if (x <= im->width) {
            set_cursor_x(im, x);
            return false;
        }
        if (last && !finish_line) {
            set_cursor_x(im, x - 1);
            set_cursor_held(im, 1);
            return false;
        }
        newline();
        return true;
    }
    int32_t fw = text_font_width(im->font);
    int64_t w = fw ? fw : 1;
    if (static_cast<int64_t>(x - 1) * w <= im->width - w) {
        set_cursor_x(im, x);
        return false;
    }
    if (last && !finish_line) {
        // An image narrower than one cell still keeps its cursor in column 1.
        int64_t column = im->width / w;
        set_cursor_x(im, column < 1 ? 1 : column);
        set_cursor_held(im, 1);
        return false;
    }
    newline();
    return true;
}

// Steps 5 and 6 of the walk for one printed character. True when it ended with a
// new line.
bool put_character(uint32_t character, bool last, int32_t finish_line) {
    img_struct* im = write_page();
    bool proportional = is_proportional(im);
    if (proportional && cursor_x(im) - 1 + chrwidth(character) > im->width) newline();
    printchr(static_cast<int32_t>(character));
    if (printer_rules_apply()) {
        set_lpos(lpos() + 1);
        if (lpos() > width_lprint()) {
            newline();
            set_lpos(1);
            return true;
        }
    }
    int32_t step = proportional ? chrwidth(character) : 1;
    return right_edge(im, cursor_x(im) + step, last, finish_line);
}

// The tab character of a proportional font: to the next 64-pixel stop.
bool proportional_tab(img_struct* im) {
    int32_t x = cursor_x(im) - 1;
    int32_t target = (x / 64 + 1) * 64;
    int32_t fh = text_font_height(im->font);
    int32_t top = (cursor_y(im) - 1) * fh;
    if (target >= im->width) {
        if (im->print_mode != 1) fill_box(im, x, top, im->width - 1, top + fh - 1, im->background_color);
        newline();
        return true;
    }
    if (im->print_mode != 1) fill_box(im, x, top, target - 1, top + fh - 1, im->background_color);
    set_cursor_x(im, target);
    return false;
}

// A control character's action. False when the character is not one that acts.
bool control_character(uint32_t c, bool last, int32_t finish_line, bool* ended) {
    img_struct* im = write_page();
    bool printer = printer_rules_apply();
    int32_t x = cursor_x(im), y = cursor_y(im);
    int32_t last_column = text_columns(im);
    switch (c) {
        case 28:
            if (printer && lpos() < width_lprint()) set_lpos(lpos() + 1);
            if (y >= im->bottom_row && x >= last_column) return true;
            if (++x > last_column) {
                set_cursor_y(im, y + 1);
                x = 1;
            }
            set_cursor_x(im, x);
            return true;
        case 29:
            if (printer && lpos() > 1) set_lpos(lpos() - 1);
            if (x == 1 && (y == im->top_row || y > im->bottom_row)) return true;
            if (--x < 1) {
                set_cursor_y(im, y - 1);
                x = last_column;
            }
            set_cursor_x(im, x);
            return true;
        case 30:
            if (im->top_row < y && y <= im->bottom_row) set_cursor_y(im, y - 1);
            return true;
        case 31:
            if (im->top_row <= y && y < im->bottom_row) set_cursor_y(im, y + 1);
            return true;
        case 12:
            if (printer) {
                printer_page_send();
                set_lprint_buffered(0);
            }
            cls_write_image(0, 0, 0);
            if (printer) set_lpos(1);
            return true;
        case 11:
            set_cursor_x(im, 1);
            set_cursor_y(im, im->top_row);
            if (printer) set_lpos(1);
            return true;
        case 9:
            if (is_proportional(im)) {
                *ended = proportional_tab(im);
                return true;
            }
            // Spaces up to and including the next column that is a multiple of 8; a
            // space that leaves the cursor held at the right edge ends the tab.
            for (;;) {
                int32_t before = cursor_x(write_page());
                *ended = put_character(' ', last, finish_line);
                if (cursor_held(write_page()) || before % 8 == 0) return true;
            }
        case 7:
            if (beep_call) beep_call();
            return true;
        case 10:
        case 13:
            newline();
            if (printer) set_lpos(1);
            return true;
        default:
            return false;
    }
}

}  // namespace

void print_core(zvs* text, int32_t finish_line) {
    img_struct* im = write_page();
    if (im->console) {
        // Counted bytes: a CHR$(0) in the text must not end it.
        console_write_text(text->text, static_cast<size_t>(text->length), cp437_console);
        if (finish_line) console_write("\n", 1);
        console_flush();
        return;
    }
    if (cursor_held(im)) {
        if (text->length > 0) {
            set_cursor_held(im, 0);
            newline();
        } else if (finish_line) {
            set_cursor_held(im, 0);
        }
    }
    bool unicode = text_font_flags(im->font) & FONT_UNICODE;
    int32_t step = unicode ? 4 : 1;
    bool ended = false;
    // The text is read through its descriptor each time: nested output (CLS, the
    // KEY line) may make strings, which can move string text.
    for (int32_t i = 0; i + step <= text->length; i += step) {
        uint32_t c = text->text[i];
        if (unicode)
            c = text->text[i] | text->text[i + 1] << 8 | text->text[i + 2] << 16 |
                static_cast<uint32_t>(text->text[i + 3]) << 24;
        bool last = i + step + step > text->length;
        if (lprint_on()) set_lprint_buffered(1);
        ended = false;
        if (!no_control_characters && !no_control_characters2 && control_character(c, last, finish_line, &ended))
            continue;
        ended = put_character(c, last, finish_line);
    }
    if (finish_line && !ended) newline();
    if (finish_line && printer_rules_apply()) set_lpos(1);
}

void zvs_print(zvs* text, int32_t finish_line) {
    if (new_error_is_set()) return;
    print_core(text, finish_line);
}

void makefit(zvs* text) {
    img_struct* im = write_page();
    if (im->console || cursor_held(im) || cursor_x(im) == 1) return;
    if (im->text) {
        if (static_cast<int64_t>(cursor_x(im)) + text->length - 1 > im->width) newline();
        return;
    }
    int32_t fw = text_font_width(im->font);
    int64_t w = fw ? fw : 1;
    if (w * (cursor_x(im) - 1) + printwidth_of(im, text) > im->width) newline();
}

void lprint_makefit(zvs* text) { (void)text; }

void print_text(const char* text, int32_t finish_line) {
    zvs* s = zvs_new_txt(text);
    makefit(s);
    zvs_print(s, finish_line);
}

void sub__controlchr(int32_t option) { no_control_characters2 = option == 2 ? 1 : 0; }
int32_t func__controlchr() { return no_control_characters2 ? -1 : 0; }

void set_print_beep(void (*beep)()) { beep_call = beep; }

void print_reset_for_tests() {
    no_control_characters = 0;
    no_control_characters2 = 0;
    beep_call = nullptr;
}
