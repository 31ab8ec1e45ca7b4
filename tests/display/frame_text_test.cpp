// Frames of text pages: glyphs of every built-in font, attributes and blinking, the
// text cursor's shapes, and the cell-by-cell redraw over the previous frame.
#include <set>

#include "display/display_fixture.h"
#include "palette/palette.h"
#include "palette/vga_ports.h"

using FrameText = DisplayTest;

namespace {

struct text_geometry {
    int32_t cols, rows, fw, fh;
};

// Pixels of one cell that differ from the ROM glyph in the attribute's colours.
int32_t cell_errors(const display_frame_record* f, int32_t col, int32_t row, uint8_t c, uint8_t a, int32_t fw,
                    int32_t fh, int32_t phase, bool blink_enabled = true) {
    int32_t fg = a & 15, bg = blink_enabled ? (a >> 4) & 7 : a >> 4;
    if (blink_enabled && (a & 0x80) && phase) fg = bg;
    int32_t errors = 0;
    for (int32_t y = 0; y < fh; y++)
        for (int32_t x = 0; x < fw; x++) {
            bool ink = rom_ink(fh, c, fw == 16 ? x / 2 : x, y);
            uint32_t want = vga16[ink ? fg : bg];
            errors += f->pixels[static_cast<size_t>(row * fh + y) * f->w + col * fw + x] != want;
        }
    return errors;
}

int32_t frame_errors(const display_frame_record* f, const img_struct* page, int32_t fw, int32_t fh, int32_t phase,
                     bool blink_enabled = true) {
    int32_t errors = 0;
    for (int32_t row = 0; row < page->height; row++)
        for (int32_t col = 0; col < page->width; col++) {
            size_t i = (static_cast<size_t>(row) * page->width + col) * 2;
            errors += cell_errors(f, col, row, page->pixels[i], page->pixels[i + 1], fw, fh, phase, blink_enabled);
        }
    return errors;
}

void fill_cells(img_struct* page) {
    for (int32_t row = 0; row < page->height; row++)
        for (int32_t col = 0; col < page->width; col++) {
            size_t i = (static_cast<size_t>(row) * page->width + col) * 2;
            page->pixels[i] = static_cast<uint8_t>(col + row * 7);
            page->pixels[i + 1] = static_cast<uint8_t>((col * 5 + row) & 0x7F);
        }
}

}  // namespace

TEST_F(FrameText, EveryBuiltInFontDrawsItsRomGlyphs) {
    const text_geometry cases[] = {
        {80, 25, 8, 16}, {80, 50, 8, 8}, {40, 25, 16, 16}, {80, 43, 8, 14}, {40, 43, 16, 14}, {40, 50, 16, 8},
    };
    for (const text_geometry& g : cases) {
        SCOPED_TRACE(testing::Message() << g.cols << "x" << g.rows);
        display_reset_for_tests();
        img_struct* page = text_page(g.cols, g.rows);
        fill_cells(page);
        display_frame_record* f = produce();
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(f->w, g.cols * g.fw);
        ASSERT_EQ(f->h, g.rows * g.fh);
        EXPECT_EQ(x_monitor.load(), f->w);
        EXPECT_EQ(y_monitor.load(), f->h);
        EXPECT_EQ(frame_errors(f, page, g.fw, g.fh, 0), 0);
    }
}

TEST_F(FrameText, ScreenZeroShowsForegroundAndBackgroundColours) {
    img_struct* page = img_get(screen(0));
    put_cell(page, 0, 0, 219, 0x1E);
    put_cell(page, 1, 0, 32, 0x1E);
    display_frame_record* f = produce();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(f->w, 640);
    ASSERT_EQ(f->h, 400);
    for (int32_t y = 0; y < 16; y++)
        for (int32_t x = 0; x < 8; x++) {
            ASSERT_EQ(at(f, x, y), vga16[14]);
            ASSERT_EQ(at(f, 8 + x, y), vga16[1]);
        }
    EXPECT_EQ(frame_errors(f, page, 8, 16, 0), 0);
}

TEST_F(FrameText, BlinkingHidesTheCharacterInOnePhase) {
    img_struct* page = img_get(screen(0));
    put_cell(page, 10, 3, 'A', 0x9E);
    for (int32_t phase : {0, 1, 0}) {
        frame = phase ? 8 : 0;
        display_frame_record* f = produce();
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(cell_errors(f, 10, 3, 'A', 0x9E, 8, 16, phase), 0);
        present();
    }

    // Without blinking, bit 7 is the bright background and the character stays.
    H3C0_blink_enable = 0;
    screen_last_valid = 0;
    for (int32_t phase : {0, 1}) {
        frame = phase ? 8 : 0;
        display_frame_record* f = produce();
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(cell_errors(f, 10, 3, 'A', 0x9E, 8, 16, phase, false), 0);
        EXPECT_EQ(at(f, 10 * 8, 3 * 16), vga16[9]);
        present();
    }
    H3C0_blink_enable = 1;
}

TEST_F(FrameText, OnlyChangedBlinkingAndCursorCellsAreRedrawn) {
    img_struct* page = img_get(screen(0));
    fill_cells(page);
    put_cell(page, 5, 5, 'B', 0x8F);
    page->cursor_show = 1;
    page->cursor_x = 20;
    page->cursor_y = 10;
    display_frame_record* f = produce();
    ASSERT_NE(f, nullptr);
    present();
    // Marks in the shown frame survive wherever the next frame does not redraw.
    for (int32_t i = 0; i < 8; i++) f->pixels[i] = 0x12345678;

    frame = 8;
    display_frame_record* g = produce();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->pixels[0], 0x12345678u);
    EXPECT_EQ(cell_errors(g, 5, 5, 'B', 0x8F, 8, 16, 1), 0);
    // The cursor cell (column 20, row 10) shows the cursor's lines 14 and 15 of shape 4, 4.
    EXPECT_EQ(at(g, 19 * 8, 9 * 16 + 14), vga16[page->pixels[(9 * 80 + 19) * 2 + 1] & 15]);
    present();

    // One changed cell: only its box differs.
    std::vector<uint32_t> before = pixels_of(g);
    put_cell(page, 70, 20, 'Z', 0x4E);
    display_frame_record* h = produce();
    ASSERT_NE(h, nullptr);
    std::vector<uint32_t> after = pixels_of(h);
    int32_t outside = 0, inside = 0;
    for (int32_t y = 0; y < 400; y++)
        for (int32_t x = 0; x < 640; x++) {
            bool in_box = x / 8 == 70 && y / 16 == 20;
            bool differs = before[y * 640 + x] != after[y * 640 + x];
            (in_box ? inside : outside) += differs;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(cell_errors(h, 70, 20, 'Z', 0x4E, 8, 16, 1), 0);
    present();

    // A moved cursor: the old cell is drawn without it.
    page->cursor_x = 21;
    display_frame_record* k = produce();
    ASSERT_NE(k, nullptr);
    uint8_t under = page->pixels[(9 * 80 + 19) * 2], attr = page->pixels[(9 * 80 + 19) * 2 + 1];
    EXPECT_EQ(cell_errors(k, 19, 9, under, attr, 8, 16, 1), 0);
    EXPECT_EQ(at(k, 20 * 8, 9 * 16 + 14), vga16[page->pixels[(9 * 80 + 20) * 2 + 1] & 15]);
}

namespace {

struct cursor_case {
    uint8_t first, last;
    int32_t rows;  // 25 (16-line font) or 50 (8-line font)
    std::set<int32_t> lines;
};

}  // namespace

TEST_F(FrameText, CursorShapesFollowTheScanLineRules) {
    const cursor_case cases[] = {
        {0, 0, 25, {0}},
        {5, 0, 25, {}},
        {6, 7, 25, {13, 14}},
        {2, 4, 25, {12, 13, 14}},
        {3, 7, 25, {8, 9, 10, 11, 12, 13, 14, 15}},
        {4, 4, 25, {14}},
        {4, 4, 50, {7}},
        {0, 1, 25, {0, 1}},
        {2, 3, 25, {2, 3}},
        {2, 9, 25, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {7, 3, 25, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {31, 20, 50, {}},
        {30, 31, 50, {6, 7}},
    };
    frame = 8;
    for (const cursor_case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.first) << "," << int(c.last) << " rows " << c.rows);
        display_reset_for_tests();
        img_struct* page = text_page(80, c.rows);
        int32_t fh = c.rows == 25 ? 16 : 8;
        page->cursor_show = 1;
        page->cursor_x = 3;
        page->cursor_y = 2;
        page->cursor_firstvalue = c.first;
        page->cursor_lastvalue = c.last;
        display_frame_record* f = produce();
        ASSERT_NE(f, nullptr);
        // Blank cells in attribute 7: the cursor is the only light in the frame.
        std::set<int32_t> lit;
        int32_t stray = 0;
        for (int32_t y = 0; y < f->h; y++)
            for (int32_t x = 0; x < f->w; x++) {
                uint32_t p = at(f, x, y);
                bool in_cell = x / 8 == 2 && y / fh == 1;
                if (p == vga16[0]) continue;
                if (!in_cell || p != vga16[7])
                    stray++;
                else
                    lit.insert(y - fh);
            }
        EXPECT_EQ(stray, 0);
        EXPECT_EQ(lit, c.lines);
        // Every lit line spans the whole cell.
        for (int32_t line : c.lines)
            for (int32_t x = 16; x < 24; x++) EXPECT_EQ(at(f, x, fh + line), vga16[7]);
    }
}

TEST_F(FrameText, TheCursorBlinksAndFollowsAHeldPrint) {
    img_struct* page = img_get(screen(0));
    page->cursor_show = 1;
    page->cursor_firstvalue = 0;
    page->cursor_lastvalue = 15;
    page->cursor_x = 80;
    page->cursor_y = 5;
    page->cursor_held = 2;
    frame = 0;
    display_frame_record* f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(at(f, 0, 5 * 16), vga16[0]);
    present();

    frame = 8;
    f = produce();
    ASSERT_NE(f, nullptr);
    // Shown at column 1 of the next row, not at column 80.
    EXPECT_EQ(at(f, 0, 5 * 16), vga16[7]);
    EXPECT_EQ(at(f, 79 * 8, 4 * 16), vga16[0]);
    present();

    // On the last row there is no next row: the cursor stays where it is.
    page->cursor_y = 25;
    f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(at(f, 79 * 8, 24 * 16), vga16[7]);
    EXPECT_EQ(at(f, 0, 5 * 16), vga16[0]);
}

TEST_F(FrameText, PaletteFontAndLostFramesRedrawEverything) {
    img_struct* page = img_get(screen(0));
    fill_cells(page);
    display_frame_record* f = produce();
    ASSERT_NE(f, nullptr);
    present();

    // Another font on the same cells: a new picture of the new size, drawn whole.
    page->font = 8;
    f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->h, 200);
    EXPECT_EQ(frame_errors(f, page, 8, 8, 0), 0);
    present();
    page->font = 16;
    put_cell(page, 0, 0, 'Q', 0x07);
    f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(frame_errors(f, page, 8, 16, 0), 0);
    present();

    // A palette entry changed: every cell using it changes.
    palette_set(page->palette, 0, 0xFF101010);
    f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(at(f, 0, 0), 0xFF101010u);
    palette_set(page->palette, 0, vga16[0]);
    f = produce();
    ASSERT_NE(f, nullptr);
    present();

    // No earlier frame left to start from: reported, then drawn whole.
    for (int32_t i = 0; i < display_frame_count; i++) slot(i)->state.store(FRAME_FREE);
    put_cell(page, 1, 1, 'W', 0x1F);
    f = produce();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0], "Text Screen Update: Failed to locate previous frame's data for comparison");
    EXPECT_EQ(frame_errors(f, page, 8, 16, 0), 0);
}
