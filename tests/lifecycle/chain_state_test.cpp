// CHAIN's screen records: their bytes, and a save and restore in one process.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/image_fixture.h"
#include "lifecycle/chain.h"
#include "palette/palette_statements.h"
#include "screen/screen.h"
#include "support/peak_memory.h"

namespace {

struct memory_source {
    const std::vector<uint8_t>& bytes;
    size_t at = 0;
    static void read(void* context, void* out, int64_t length) {
        auto* self = static_cast<memory_source*>(context);
        auto* o = static_cast<uint8_t*>(out);
        for (int64_t i = 0; i < length; i++) o[i] = self->at < self->bytes.size() ? self->bytes[self->at++] : 0;
    }
    static int64_t left(void* context) {
        auto* self = static_cast<memory_source*>(context);
        return int64_t(self->bytes.size() - self->at);
    }
};

uint32_t u32_at(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t u16_at(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

class ChainState : public ImageTest {
protected:
    static void put_text(int32_t page, const char* text) {
        img_struct* im = img_get(page_index(page));
        for (size_t i = 0; text[i]; i++) {
            im->pixels[2 * i] = uint8_t(text[i]);
            im->pixels[2 * i + 1] = 0x1E;
        }
    }
    static std::string text_of(int32_t page, size_t length) {
        img_struct* im = img_get(page_index(page));
        std::string s;
        for (size_t i = 0; i < length; i++) s += char(im->pixels[2 * i]);
        return s;
    }
    static bool restore(const std::vector<uint8_t>& bytes) {
        memory_source source{bytes};
        return chain_decode_screen_state(chain_source{&source, memory_source::read, memory_source::left});
    }
};

TEST_F(ChainState, Screen13WritesModeFontPagePagesPaletteAndEnd) {
    screen(13);
    sub__palettecolor(5, 0x00112233, 0, 1);
    img_struct* page0 = img_get(page_index(0));
    page0->pixels[0] = 7;
    page0->pixels[63999] = 9;
    std::vector<uint8_t> b;
    chain_encode_screen_state(b);

    std::vector<uint32_t> head{256, 13, 259, 8, 260, 0};
    for (size_t i = 0; i < head.size(); i++) EXPECT_EQ(u32_at(b, 4 * i), head[i]) << i;
    size_t pixels = 24, record = pixels + 64000;
    EXPECT_EQ(b[pixels], 7);
    EXPECT_EQ(b[pixels + 63999], 9);
    EXPECT_EQ(u16_at(b, record + 20), 320);
    EXPECT_EQ(u16_at(b, record + 22), 200);
    EXPECT_EQ(b[record + 24], 1);
    EXPECT_EQ(b[record + 25], 8);
    EXPECT_EQ(u16_at(b, record + 32), 13);
    EXPECT_EQ(u32_at(b, record + 48), 8u);
    EXPECT_EQ(b[record + 16], 1);  // valid
    for (size_t pointer : {0, 64, 72, 168, 172}) EXPECT_EQ(u32_at(b, record + pointer), 0u) << pointer;
    size_t after = record + 176;
    EXPECT_EQ(u32_at(b, after), 261u);
    EXPECT_EQ(u32_at(b, after + 4), 0u);
    EXPECT_EQ(u32_at(b, after + 8), 0u);
    EXPECT_EQ(u32_at(b, after + 12), 262u);
    for (int i = 0; i < 256; i++) {
        uint32_t colour = u32_at(b, after + 16 + 4 * size_t(i));
        EXPECT_EQ(colour, func__palettecolor(i, 0, 1)) << i;
        EXPECT_EQ(colour >> 24, 0xFFu) << i;
    }
    EXPECT_EQ(u32_at(b, after + 16 + 4 * 5), 0xFF112233u);
    EXPECT_EQ(u32_at(b, after + 16 + 1024), 511u);
    EXPECT_EQ(b.size(), after + 16 + 1024 + 4);
}

TEST_F(ChainState, TextPagesComeBackWithTheActivePage) {
    screen(0);
    zvg_screen(0, 0, 1, 0, 0, 4 | 8);  // page 1 exists
    put_text(1, "PAGE1");
    zvg_screen(0, 0, 0, 0, 0, 4 | 8);
    put_text(0, "PAGE0");
    zvg_screen(0, 0, 1, 0, 0, 4 | 8);
    write_page()->cursor_x = 7;
    write_page()->cursor_y = 3;
    std::vector<uint8_t> b;
    chain_encode_screen_state(b);
    EXPECT_EQ(u32_at(b, 0), 256u);
    EXPECT_EQ(u32_at(b, 8), 258u);
    EXPECT_EQ(u32_at(b, 12), 80u);
    EXPECT_EQ(u32_at(b, 16), 25u);

    image_table_reset_for_tests();
    screen_reset_for_tests();
    screen(0);
    ASSERT_TRUE(restore(b));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(text_of(0, 5), "PAGE0");
    EXPECT_EQ(text_of(1, 5), "PAGE1");
    EXPECT_EQ(write_page_index(), page_index(1));
    EXPECT_EQ(display_page_index(), page_index(0));
    EXPECT_EQ(write_page()->cursor_x, 7);
    EXPECT_EQ(write_page()->cursor_y, 3);
}

TEST_F(ChainState, GraphicsScreenAndPaletteComeBack) {
    screen(12);
    sub__palettecolor(3, 0xFF102030, 0, 1);
    img_struct* page0 = img_get(page_index(0));
    page0->pixels[1234] = 5;
    page0->graphics.x = 12.5f;
    std::vector<uint8_t> b;
    chain_encode_screen_state(b);
    EXPECT_EQ(u32_at(b, 0), 257u);
    EXPECT_EQ(u32_at(b, 4), 12u);
    EXPECT_EQ(u32_at(b, 8), 640u);
    EXPECT_EQ(u32_at(b, 12), 480u);

    image_table_reset_for_tests();
    screen_reset_for_tests();
    screen(0);
    ASSERT_TRUE(restore(b));
    img_struct* restored = img_get(page_index(0));
    EXPECT_EQ(restored->width, 640);
    EXPECT_EQ(restored->height, 480);
    EXPECT_EQ(restored->legacy_mode, 12);
    EXPECT_EQ(restored->pixels[1234], 5);
    EXPECT_EQ(restored->graphics.x, 12.5f);
    EXPECT_EQ(func__palettecolor(3, 0, 1), 0xFF102030u);
}

TEST_F(ChainState, ARecordThatDoesNotFitItsPageEndsTheRestoreUntouched) {
    screen(0);
    put_text(0, "KEEP");
    std::vector<uint8_t> b;
    chain_encode_screen_state(b);
    // The record's place: after 256, 0, 258, 80, 25, 259, font, 260, 0 and the cells.
    size_t record = 9 * 4 + 80 * 25 * 2;
    ASSERT_EQ(u32_at(b, 28), 260u);
    struct {
        size_t offset;
        uint32_t value;
        int width;
    } corruptions[] = {
        {record + 20, 81, 2},     // width
        {record + 17, 0, 1},      // not text
        {record + 56, 500, 2},    // cursor column
        {record + 58, 0, 2},      // cursor row
        {record + 54, 26, 2},     // VIEW PRINT bottom
        {record + 48, 3, 4},      // no such font
    };
    for (const auto& c : corruptions) {
        std::vector<uint8_t> bad = b;
        for (int i = 0; i < c.width; i++) bad[c.offset + size_t(i)] = uint8_t(c.value >> (8 * i));
        for (size_t i = 9 * 4; i < record; i += 2) bad[i] = 'x';
        image_table_reset_for_tests();
        screen_reset_for_tests();
        screen(0);
        put_text(0, "KEEP");
        EXPECT_FALSE(restore(bad)) << c.offset;
        EXPECT_EQ(text_of(0, 4), "KEEP") << c.offset;
        EXPECT_EQ(img_get(page_index(0))->width, 80) << c.offset;
        EXPECT_EQ(img_get(page_index(0))->cursor_y, 1) << c.offset;
    }
}

TEST_F(ChainState, UnknownTagsAndTruncatedFilesEndTheRestore) {
    screen(0);
    EXPECT_FALSE(restore({0x2A, 0, 0, 0}));
    EXPECT_FALSE(restore({}));
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(ChainState, ARecordBeyondItsStatementsLimitsEndsTheRestoreWithThatError) {
    const struct {
        const char* name;
        std::vector<uint32_t> words;
        int32_t error;
        size_t room = 0;  // zero bytes after the words: a screen is set only when its page fits the file
    } cases[] = {
        {"text 32767 x 32767", {256, 0, 258, 32767, 32767}, 7},
        {"text 11088 x 12800", {256, 0, 258, 11088, 12800}, 7},
        {"text 0 columns", {256, 0, 258, 0, 25}, 5},
        {"text 40000 columns", {256, 0, 258, 40000, 25}, 5},
        {"no mode 3", {256, 3}, 5},
        {"no mode 256 by number", {256, 256}, 5},
        {"32-bit 65535 x 65535", {257, 32, 65535, 65535}, 7},
        {"text image 32767 x 32767", {257, 0, 32767, 32767}, 7},
        {"image mode 14", {257, 14, 10, 10}, 5},
        {"image width 0", {257, 32, 0, 10}, 5},
        {"image height 70000", {257, 32, 10, 70000}, 5},
        {"no font 3", {259, 3}, 258},
        {"double width on graphics", {257, 12, 640, 480, 259, 17}, 5, 640 * 480 + 184},
        {"page -1", {260, 0xFFFFFFFF}, 5},
        {"active page -1", {261, 0xFFFFFFFF, 0}, 5},
        {"visual page -2", {261, 0, 0xFFFFFFFE}, 5},
        {"palette of a 32-bit screen", {257, 32, 8, 8, 262}, 5, 8 * 8 * 4 + 184},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        image_table_reset_for_tests();
        screen_reset_for_tests();
        screen(0);
        put_text(0, "KEEP");
        std::vector<uint8_t> bytes;
        for (uint32_t w : c.words)
            for (int i = 0; i < 4; i++) bytes.push_back(uint8_t(w >> (8 * i)));
        bytes.resize(bytes.size() + c.room);
        int64_t peak = peak_resident_bytes();
        EXPECT_FALSE(restore(bytes));
        EXPECT_EQ(new_error.load(), c.error);
        error_reset_for_tests();
        EXPECT_LT(peak_resident_bytes() - peak, int64_t(64) << 20) << "memory touched before the refusal";
        if (c.words[0] == 256 || c.words[0] == 260 || c.words[0] == 261) {
            // Nothing of the screen changed.
            EXPECT_EQ(text_of(0, 4), "KEEP");
            EXPECT_EQ(img_get(page_index(0))->width, 80);
        }
    }
}

}  // namespace
