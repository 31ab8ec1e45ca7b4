// The VGA palette ports through OUT and the port-3C9h read that INP uses, and _BLINK.
#include "image/image_fixture.h"
#include "image/image_statements.h"
#include "palette/vga_ports.h"

using VgaPorts = ImageTest;

TEST_F(VgaPorts, DacWritesAndReadsRoundTripEverySixBitValue) {
    screen(13);
    sub_out(0x3C8, 0);
    for (int32_t v = 0; v < 64; v++) {
        sub_out(0x3C9, v);
        sub_out(0x3C9, 63 - v);
        sub_out(0x3C9, v / 2 + 256);  // only the value's low 6 bits count
    }
    sub_out(0x3C7, 0);
    for (int32_t v = 0; v < 64; v++) {
        EXPECT_EQ(vga_palette_data_read(), v);
        EXPECT_EQ(vga_palette_data_read(), 63 - v);
        EXPECT_EQ(vga_palette_data_read(), v / 2);
    }
    EXPECT_EQ(write_page()->palette[63] >> 24, 0xFFu);  // alpha kept
    EXPECT_EQ(new_error, 0);
}

TEST_F(VgaPorts, WriteIndexAdvancesAfterBlueAndWraps) {
    screen(13);
    uint32_t* pal = write_page()->palette;
    sub_out(0x3C8, 5);
    sub_out(0x3C9, 63);
    sub_out(0x3C9, 0);
    sub_out(0x3C9, 32);
    EXPECT_EQ(pal[5], 0xFFFF0082u);
    sub_out(0x3C9, 0);
    EXPECT_EQ(pal[6], palette_256[6] & 0xFF00FFFF);

    sub_out(0x3C7, 5);
    EXPECT_EQ(vga_palette_data_read(), 63);
    EXPECT_EQ(vga_palette_data_read(), 0);
    EXPECT_EQ(vga_palette_data_read(), 32);
    EXPECT_EQ(vga_palette_data_read(), 0);  // entry 6's red

    sub_out(0x3C8, 255 + 256 * 7);  // value taken modulo 256
    for (int i = 0; i < 4; i++) sub_out(0x3C9, 63);
    EXPECT_EQ(pal[255] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(pal[0] & 0xFFFFFF, 0xFF0000u);
}

TEST_F(VgaPorts, WithoutAPaletteWritesOnlyAdvanceAndReadsGiveZero) {
    screen(13);
    uint32_t* pal = write_page()->palette;
    sub__dest(func__newimage(2, 2, 32, 1));
    sub_out(0x3C8, 1);
    sub_out(0x3C9, 10);
    sub_out(0x3C9, 10);
    sub_out(0x3C9, 10);
    sub_out(0x3C7, 1);
    EXPECT_EQ(vga_palette_data_read(), 0);
    sub__dest(0);
    sub_out(0x3C9, 63);  // now entry 2's red
    EXPECT_EQ(pal[1], palette_256[1]);
    EXPECT_EQ(pal[2] >> 16 & 255, 255u);
}

TEST_F(VgaPorts, BlinkAndUnemulatedPorts) {
    screen(0);
    EXPECT_EQ(func__blink(), -1);
    sub_out(0x3C0, 0);
    EXPECT_EQ(func__blink(), 0);
    sub_out(0x3C0, 8);
    EXPECT_EQ(func__blink(), -1);
    EXPECT_EQ(H3C0_blink_enable.load(), 1);
    sub__blink(2);
    EXPECT_EQ(func__blink(), 0);
    sub__blink(1);
    EXPECT_EQ(func__blink(), -1);

    sub_out(0x3DA, 0);
    EXPECT_EQ(unsupported_port_accessed, 1);
    sub_out(0x3C8 + 0x10000, 0);  // the port is taken as 16 bits
    EXPECT_EQ(unsupported_port_accessed, 0);
    EXPECT_EQ(new_error, 0);
}
