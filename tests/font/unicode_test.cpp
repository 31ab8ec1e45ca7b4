// Code page 437 and Unicode: the lookup and the run conversions.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "font/font_tables.h"
#include "font/glyphs.h"
#include "font/unicode_convert.h"

TEST(Unicode, LookupFindsTheLowestIndex) {
    for (int32_t i = 1; i < 256; i++) EXPECT_EQ(unicode_to_cp437(codepage437_to_unicode16[i]), i) << i;
    EXPECT_EQ(unicode_to_cp437(0x1F600), 0);
    uint16_t saved = codepage437_to_unicode16[200];
    codepage437_to_unicode16[200] = 0x263A;  // as _MAPUNICODE 0x263A TO 200 would
    EXPECT_EQ(unicode_to_cp437(0x263A), 1);
    codepage437_to_unicode16[200] = saved;
}

TEST(Unicode, ConvertRuns) {
    uint16_t out16[8];
    uint32_t out32[8];
    const uint8_t cp437[] = {'A', 1, 0xB3};
    memset(out16, 0xEE, sizeof out16);
    EXPECT_EQ(convert_unicode(1, cp437, 2, 16, out16), 4);
    EXPECT_EQ(out16[0], 0x0041);
    EXPECT_EQ(out16[1], 0x263A);
    EXPECT_EQ(out16[2], 0);
    EXPECT_EQ(out16[3], 0xEEEE);
    EXPECT_EQ(convert_unicode(1, cp437, 3, 32, out32), 12);
    EXPECT_EQ(out32[2], 0x2502u);
    EXPECT_EQ(out32[3], 0u);

    // UTF-16 source of 5 bytes: two units are read.
    const uint16_t utf16[3] = {0x263A, 0x00E9, 0x1234};
    EXPECT_EQ(convert_unicode(16, utf16, 5, 32, out32), 8);
    EXPECT_EQ(out32[0], 0x263Au);
    EXPECT_EQ(out32[1], 0xE9u);
    EXPECT_EQ(out32[2], 0u);
    // UTF-32 to UTF-16 cuts to 16 bits; 7 bytes is one unit.
    const uint32_t utf32[2] = {0x1F600, 0x41};
    EXPECT_EQ(convert_unicode(32, utf32, 7, 16, out16), 2);
    EXPECT_EQ(out16[0], 0xF600);
    EXPECT_EQ(out16[1], 0);

    // Unknown kinds write nothing.
    memset(out16, 0xEE, sizeof out16);
    EXPECT_EQ(convert_unicode(8, cp437, 3, 16, out16), 0);
    EXPECT_EQ(convert_unicode(1, cp437, 3, 8, out16), 0);
    EXPECT_EQ(out16[0], 0xEEEE);
}

TEST(Unicode, TextOfAFontIntoTheConversionBuffer) {
    font_tables_reset_for_tests();
    const uint8_t text[] = {'h', 2};
    EXPECT_EQ(convert_text_to_utf16(16, text, 2), 4);
    EXPECT_EQ(unicode16_buffer()[0], 'h');
    EXPECT_EQ(unicode16_buffer()[1], 0x263B);
    EXPECT_EQ(unicode16_buffer()[2], 0);
    // A UNICODE font reads 32-bit code points; a length of 1 stands for one of them.
    fontflags[40] = FONT_UNICODE;
    const uint32_t cp = 0x2022;
    EXPECT_EQ(convert_text_to_utf16(40, &cp, 1), 2);
    EXPECT_EQ(unicode16_buffer()[0], 0x2022);
    font_tables_reset_for_tests();
}
