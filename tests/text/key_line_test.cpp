// The KEY line: its cells at several widths, its texts, KEY ON/OFF and what it leaves as it was.
#include <gtest/gtest.h>

#include "core/traps.h"
#include "text/text_fixture.h"

namespace {

// KEY n, text: the soft-key text in the ON KEY table (F11 and F12 in slots 30, 31).
void set_key(int32_t n, const std::string& text) {
    static std::string kept[13];
    kept[n] = text;
    onkey(n <= 10 ? n : n + 19).text.store(zvs_new_txt_len(kept[n].data(), int32_t(kept[n].size())));
}

class KeyLine : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        onkey_global_init();
    }
    static void key_on() {
        key_display = 1;
        key_update();
    }
    static void key_off() {
        key_display = 0;
        key_update();
    }
};

TEST_F(KeyLine, TheEightyColumnLine) {
    screen(0);
    set_key(1, "LIST");
    set_key(10, "ABCDEFGHIJ");
    for (int32_t r = 1; r <= 24; r++) {
        at(r, 1);
        item("row " + std::to_string(r));
    }
    key_on();
    img_struct* im = page();
    EXPECT_EQ(row(25), "1LIST   2       3       4       5       6       7       8       9       10ABCDE ");
    EXPECT_EQ(cell(25, 1) >> 8, 0x07);
    for (int32_t c = 2; c <= 7; c++) EXPECT_EQ(cell(25, c) >> 8, 0x70) << c;
    EXPECT_EQ(cell(25, 8) >> 8, 0x07);
    EXPECT_EQ(cell(25, 73) >> 8, 0x07);
    for (int32_t c = 75; c <= 79; c++) EXPECT_EQ(cell(25, c) >> 8, 0x70) << c;
    EXPECT_EQ(cell(25, 80), 0x0720);
    for (int32_t r = 1; r <= 24; r++) EXPECT_EQ(row(r).substr(0, 7), ("row " + std::to_string(r) + "   ").substr(0, 7));
    EXPECT_EQ(im->color, 7u);
}

TEST_F(KeyLine, OtherWidths) {
    struct width_case {
        int32_t columns;
        std::string last_row;
    };
    const width_case cases[] = {
        {40, "1       2       3       4       5       "},
        {88, std::string("1       2       3       4       5       6       7       8       9       10      11X     ")},
        {96, std::string("1       2       3       4       5       6       7       8       9       10      11X     12Y     ")},
        {8, "1       "},
        {5, "1    "},
    };
    set_key(11, "X");
    set_key(12, "Y");
    for (const width_case& w : cases) {
        text_page(w.columns, 25);
        key_on();
        EXPECT_EQ(row(25), w.last_row) << w.columns << " columns";
        key_off();
        EXPECT_EQ(row(25), std::string(w.columns, ' ')) << w.columns << " columns";
    }
}

TEST_F(KeyLine, TextsAreCutAndControlCodesShowAsGlyphs) {
    screen(0);
    set_key(2, std::string("a\rb\x07" "c\x1c"));
    set_key(3, "FIFTEEN-LETTERS");
    key_on();
    EXPECT_EQ(row(25).substr(8, 8), std::string("2a\x1b" "b\x0e" "c\x10 "));
    EXPECT_EQ(row(25).substr(16, 8), "3FIFTEE ");
    // With the page on a blue background the texts are black on white... of the other kind.
    page()->background_color = 1;
    key_display_redraw = 1;
    key_update();
    EXPECT_EQ(cell(25, 10) >> 8, 0x07);
}

TEST_F(KeyLine, OnOffAndRedrawRequests) {
    screen(0);
    key_on();
    EXPECT_EQ(cell(25, 1) & 255, '1');
    key_off();
    EXPECT_EQ(row(25), std::string(80, ' '));
    write_cell(page(), 25, 1, 0x0758);
    key_off();  // no change: nothing drawn
    EXPECT_EQ(cell(25, 1), 0x0758);
    key_display_redraw = 1;  // SCREEN or CLS with the line off
    key_update();
    EXPECT_EQ(cell(25, 1), 0x0758);
    EXPECT_EQ(key_display_redraw, 0);
    sub_cls(0, 0, 0);
    EXPECT_EQ(row(25), std::string(80, ' '));
    key_on();
    write_cell(page(), 25, 1, 0x0758);
    key_on();  // already drawn
    EXPECT_EQ(cell(25, 1), 0x0758);
    key_display_redraw = 1;
    key_update();
    EXPECT_EQ(cell(25, 1) & 255, '1');
}

TEST_F(KeyLine, TheProgramsImageCursorAndColoursComeBack) {
    screen(0);
    set_key(1, "LIST");
    int32_t image = imgnew(100, 100, 32);
    img_struct* page0 = page();
    at(5, 7);
    set_cursor_held(page0, 1);
    page0->color = 14;
    page0->background_color = 1;
    set_write_page(image);
    key_on();
    EXPECT_EQ(write_page_index(), image);
    EXPECT_EQ(cursor_y(page0), 5);
    EXPECT_EQ(cursor_x(page0), 7);
    EXPECT_EQ(cursor_held(page0), 1);
    EXPECT_EQ(page0->color, 14u);
    EXPECT_EQ(page0->background_color, 1u);
    // Drawn in the page's colours; the texts inverse for a non-black background.
    EXPECT_EQ(read_cell(page0, 25, 1), 0x1E31);
    EXPECT_EQ(read_cell(page0, 25, 2) >> 8, 0x07);
}

TEST_F(KeyLine, OnAGraphicsPageTheRowIsFilledAndTheLabelsDrawn) {
    screen(12);
    img_struct* im = page();
    set_key(1, "LIST");
    im->background_color = 1;
    for (int64_t i = 0; i < 640 * 480; i++) im->pixels[i] = 9;
    key_on();
    EXPECT_EQ(im->pixels[463 * 640], 9);
    EXPECT_EQ(im->pixels[464 * 640 + 639], 1);
    EXPECT_EQ(im->pixels[479 * 640 + 639], 1);
    set_read_page(page_index(0));
    EXPECT_EQ(func_screen(30, 1, 0, 0), 219);  // every pixel of a cell is ink on background 1
    // The labels are in the page's foreground, never inverse.
    im->background_color = 0;
    key_display_redraw = 1;
    key_update();
    EXPECT_EQ(func_screen(30, 1, 0, 0), '1');
    EXPECT_EQ(func_screen(30, 2, 0, 0), 'L');
    EXPECT_EQ(func_screen(30, 2, 1, 1), 15);
    EXPECT_EQ(func_screen(30, 9, 0, 0), '2');
}

TEST_F(KeyLine, AModeChangeRedrawsTheLineOnTheNewScreen) {
    screen(0);
    set_key(2, "RUN");
    key_on();
    screen(13);
    EXPECT_EQ(func_screen(25, 1, 0, 0), '1');
    EXPECT_EQ(func_screen(25, 10, 0, 0), 'R');
    key_off();
    EXPECT_EQ(func_screen(25, 1, 0, 0), 32);
    screen(12);
    EXPECT_EQ(func_screen(30, 1, 0, 0), 32);
}

TEST_F(KeyLine, LayoutOfTheCells) {
    key_line_layout fixed = key_line_cells(80, 16, false);
    EXPECT_EQ(fixed.keys, 10);
    for (int32_t i = 0; i < 10; i++) {
        EXPECT_EQ(fixed.start[i], 8 * i + 1);
        EXPECT_EQ(fixed.end[i], 8 * i + 8);
    }
    key_line_layout wide = key_line_cells(120, 16, false);
    EXPECT_EQ(wide.keys, 12);
    EXPECT_EQ(wide.start[11], 111);
    key_line_layout pixels = key_line_cells(640, 16, true);
    EXPECT_EQ(pixels.limit, 624);
    EXPECT_EQ(pixels.keys, 8);
    for (int32_t k = 1; k <= 8; k++) {
        EXPECT_EQ(pixels.start[k - 1], 80 * (k - 1) + 1);
        EXPECT_EQ(pixels.end[k - 1], 80 * k - 16);
    }
    key_line_layout narrow = key_line_cells(50, 8, true);
    EXPECT_EQ(narrow.limit, 32);
    EXPECT_EQ(narrow.keys, 1);
    key_line_layout large = key_line_cells(2400, 16, true);
    EXPECT_EQ(large.limit, 12 * 200 - 16);
    EXPECT_EQ(large.keys, 12);
}

}  // namespace
