// Pages for the text tests (from the image fixture), strings, glyphs and a clean
// text state; short ways to print and to read cells back.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "font/glyphs.h"
#include "image/image_fixture.h"
#include "image/printer_page.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"
#include "text/cls.h"
#include "text/console_input.h"
#include "text/key_line.h"
#include "text/print.h"
#include "text/sleep.h"
#include "text/text_cursor.h"
#include "text/text_image.h"

class TextTest : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        zvs_reset_for_tests(1048576, 65536, 65536);
        glyphs_global_init();
        print_reset_for_tests();
        key_line_reset_for_tests();
        text_cursor_reset_for_tests();
        printer_page_reset_for_tests();
        sleep_reset_for_tests();
        console_input_reset_for_tests();
        screen_set_key_line_redraw(key_line_redraw);
    }

    static zvs* text(const std::string& s) { return zvs_new_txt_len(s.data(), static_cast<int32_t>(s.size())); }
    // One PRINT item, as translated code prints it.
    static void item(const std::string& s) {
        zvs* t = text(s);
        makefit(t);
        zvs_print(t, 0);
    }
    // The end of a PRINT statement without ';'.
    static void end_line() { zvs_print(text(""), 1); }
    // PRINT s (with the line end).
    static void print_line(const std::string& s) {
        item(s);
        end_line();
    }

    static img_struct* page() { return write_page(); }
    static int32_t x() { return cursor_x(write_page()); }
    static int32_t y() { return cursor_y(write_page()); }
    static void at(int32_t row, int32_t column) {
        set_cursor_y(write_page(), row);
        set_cursor_x(write_page(), column);
        set_cursor_held(write_page(), 0);
    }

    // Characters of a text page's row, and one cell.
    static std::string row(int32_t r, const img_struct* im = write_page()) {
        std::string s;
        for (int32_t c = 1; c <= im->width; c++) s += static_cast<char>(read_cell(im, r, c) & 255);
        return s;
    }
    static text_cell cell(int32_t r, int32_t c, const img_struct* im = write_page()) { return read_cell(im, r, c); }
    static std::string str(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), s->length); }

    // A text image of any size as the write image (and page 0 with it).
    static int32_t text_page(int32_t columns, int32_t rows) {
        int32_t index = imgnew(columns, rows, 0);
        img_get(index)->flags |= IMG_SCREEN;
        page_set(0, index);
        set_write_page(index);
        set_read_page(index);
        set_display_page(index);
        return index;
    }

    // The console image of a console program as the write and read image.
    static int32_t console_page() {
        screen_console_image_init();
        int32_t index = -console_image();
        set_write_page(index);
        set_read_page(index);
        return index;
    }
};
