// The built-in glyph sets and the code page 437 table.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <string>

#include "font/glyphs.h"

namespace {

class Glyphs : public ::testing::Test {
protected:
    void SetUp() override { glyphs_global_init(); }
};

std::string rows(const uint8_t* glyph, int count) {
    std::string out;
    for (int r = 0; r < count; r++) {
        for (int x = 0; x < 8; x++) out += glyph[r * 8 + x] ? '#' : '.';
        out += '\n';
    }
    return out;
}

// FNV-1a over the packed ROMs: pins the glyphs of console-data 2:1.12-9.
uint64_t fnv1a(const unsigned char* data, size_t n) {
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < n; i++) h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

// The 8 x 16 'A', one row of 8 pixels a line.
const std::string letter_a_8x16 =
    "........\n"
    "........\n"
    "...#....\n"
    "..###...\n"
    ".##.##..\n"
    "##...##.\n"
    "##...##.\n"
    "#######.\n"
    "##...##.\n"
    "##...##.\n"
    "##...##.\n"
    "##...##.\n"
    "........\n"
    "........\n"
    "........\n"
    "........\n";

TEST_F(Glyphs, LetterAOfTheEightBySixteenSet) { EXPECT_EQ(rows(&charset8x16['A' * 128], 16), letter_a_8x16); }

TEST_F(Glyphs, BoxDrawingCharactersReachTheCellEdges) {
    // 0xC4 horizontal line: one full row; 0xB3 vertical line: a column on every row.
    const uint8_t* horizontal = &charset8x16[0xC4 * 128];
    int full_rows = 0;
    for (int r = 0; r < 16; r++) {
        int set = 0;
        for (int x = 0; x < 8; x++) set += horizontal[r * 8 + x] != 0;
        full_rows += set == 8;
    }
    EXPECT_GE(full_rows, 1);
    const uint8_t* vertical = &charset8x16[0xB3 * 128];
    for (int r = 0; r < 16; r++) {
        int set = 0;
        for (int x = 0; x < 8; x++) set += vertical[r * 8 + x] != 0;
        EXPECT_GE(set, 1) << "row " << r;
    }
    // 0xDB full block.
    for (int i = 0; i < 128; i++) EXPECT_EQ(charset8x16[0xDB * 128 + i], 255);
}

TEST_F(Glyphs, EightByEightSetHasTheCodePage437Currency) {
    // Cent (0x9B) and yen (0x9D) come from the code page 850 font; neither is blank.
    for (int glyph : {0x9B, 0x9D, 0xAF}) {
        int set = 0;
        for (int i = 0; i < 64; i++) set += charset8x8[glyph * 64 + i] != 0;
        EXPECT_GT(set, 4) << glyph;
    }
    EXPECT_EQ(rows(&charset8x8[' ' * 64], 8), std::string(8 * 9, '.').replace(0, 72, "........\n........\n........\n"
                                                                                "........\n........\n........\n"
                                                                                "........\n........\n"));
}

TEST_F(Glyphs, RomsArePinned) {
    EXPECT_EQ(fnv1a(glyph_rom_8x16, sizeof glyph_rom_8x16), 10552413098989759258ull);
    EXPECT_EQ(fnv1a(glyph_rom_8x8, sizeof glyph_rom_8x8), 17613907481072751758ull);
}

TEST(CodePage437, UnicodeLookups) {
    EXPECT_EQ(unicode_to_cp437(0x263A), 1);
    EXPECT_EQ(unicode_to_cp437(0x41), 65);
    EXPECT_EQ(unicode_to_cp437(0x2302), 127);
    EXPECT_EQ(unicode_to_cp437(0x00A0), 255);
    EXPECT_EQ(unicode_to_cp437(0x1F600), 0);
    EXPECT_EQ(codepage437_to_unicode16[0xB3], 0x2502);
}

}  // namespace

namespace {

TEST_F(Glyphs, Font14IsRowsOneToFourteenOfTheEightBySixteenSet) {
    // Font 14 reads 14 rows from byte 8 of each 8 x 16 glyph: its top and bottom rows
    // are dropped. The 8 x 16 'A' leaves rows 0 and 15 blank, so nothing is lost.
    EXPECT_EQ(rows(&charset8x16['A' * 128 + 8], 14), letter_a_8x16.substr(9, 14 * 9));
    // Box drawing: the double horizontal line (0xCD) keeps both strokes in rows 1-14.
    int stroke_rows = 0;
    for (int r = 1; r <= 14; r++) {
        int set = 0;
        for (int x = 0; x < 8; x++) set += charset8x16[0xCD * 128 + r * 8 + x] != 0;
        stroke_rows += set == 8;
    }
    EXPECT_EQ(stroke_rows, 2);
}

}  // namespace

namespace {

TEST_F(Glyphs, OnlyNullSpaceAndFFAreBlankAndTheyAreTheOnlyTwins) {
    for (const auto& [set, size] : {std::pair{static_cast<const uint8_t*>(charset8x8), 64},
                                    std::pair{static_cast<const uint8_t*>(charset8x16), 128}}) {
        for (int g = 0; g < 256; g++) {
            bool blank = true;
            for (int i = 0; i < size; i++) blank &= set[g * size + i] == 0;
            EXPECT_EQ(blank, g == 0 || g == 0x20 || g == 0xFF) << size << " " << g;
            for (int h = g + 1; h < 256; h++) {
                bool twin = memcmp(set + g * size, set + h * size, static_cast<size_t>(size)) == 0;
                EXPECT_EQ(twin, blank && (h == 0x20 || h == 0xFF)) << size << " " << g << " " << h;
            }
        }
    }
}

}  // namespace
