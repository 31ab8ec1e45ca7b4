// COLOR, PALETTE and PALETTE USING per mode, _PALETTECOLOR, _COPYPALETTE and COLOR
// on the console.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "image/image_fixture.h"
#include "image/image_statements.h"
#include "palette/palette_statements.h"

using PaletteStatements = ImageTest;

namespace {

struct colour_state {
    uint32_t color, background, draw;
    std::array<uint32_t, 16> entries;
    bool operator==(const colour_state&) const = default;
};
colour_state colours() {
    img_struct* im = write_page();
    colour_state s{im->color, im->background_color, im->draw_color, {}};
    if (im->palette)
        for (int i = 0; i < 16; i++) s.entries[i] = im->palette[i];
    return s;
}

}  // namespace

TEST_F(PaletteStatements, PaletteInMode13ScalesSixBitChannelsWithAlphaZero) {
    screen(13);
    uint32_t* pal = write_page()->palette;
    for (uint32_t v = 0; v < 64; v++) {
        zvg_palette(1, v, 3);
        EXPECT_EQ(pal[1] >> 16 >> 2, v);
        EXPECT_EQ(pal[1] >> 24, 0u);
    }
    zvg_palette(1, 0x3F0000, 3);
    EXPECT_EQ(pal[1], 0x000000FFu);
    zvg_palette(200, 0x001020, 3);
    EXPECT_EQ(pal[200], 0x00824100u);
    zvg_palette(257, 0, 3);
    EXPECT_EQ(pal[1], 0u);
    EXPECT_EQ(take_error(), 0);
    zvg_palette(1, 0x40, 3);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(pal[1], 0u);
    zvg_palette(0, 0, 0);
    EXPECT_EQ(pal[1], palette_256[1]);
}

TEST_F(PaletteStatements, ColorAndPaletteByMode) {
    struct step {
        int32_t mode;
        const char* statement;
        void (*run)();
        int32_t error;
        bool (*check)(const img_struct*);
    };
    const step steps[] = {
        {12, "PALETTE 16, 0", [] { zvg_palette(16, 0, 3); }, 5, nullptr},
        {12, "PALETTE 1, &H3F", [] { zvg_palette(1, 0x3F, 3); }, 0, [](const img_struct* im) { return im->palette[1] == 0x00FF0000; }},
        {12, "COLOR 5, 99", [] { zvg_sub_color(5, 99, 0, 3); }, 5, nullptr},
        {12, "COLOR 1, 2, 3", [] { zvg_sub_color(1, 2, 3, 7); }, 5, nullptr},
        {12, "COLOR 14, 1", [] { zvg_sub_color(14, 1, 0, 3); }, 0, [](const img_struct* im) { return im->color == 14 && im->background_color == 1; }},
        {11, "COLOR 2", [] { zvg_sub_color(2, 0, 0, 1); }, 5, nullptr},
        {11, "PALETTE 1, &H3F3F3F", [] { zvg_palette(1, 0x3F3F3F, 3); }, 0, [](const img_struct* im) { return im->palette[1] == 0x00FFFFFF; }},
        {11, "PALETTE 2, 0", [] { zvg_palette(2, 0, 3); }, 5, nullptr},
        {13, "COLOR 255, 200", [] { zvg_sub_color(255, 200, 0, 3); }, 0, [](const img_struct* im) { return im->color == 255 && im->background_color == 200; }},
        {13, "COLOR 256", [] { zvg_sub_color(256, 0, 0, 1); }, 5, nullptr},
        {10, "PALETTE 0, 9", [] { zvg_palette(0, 9, 3); }, 5, nullptr},
        {10, "PALETTE 1, 8", [] { zvg_palette(1, 8, 3); }, 0, [](const img_struct* im) { return im->palette[5] == 8; }},
        {10, "COLOR 3, 8", [] { zvg_sub_color(3, 8, 0, 3); }, 0, [](const img_struct* im) { return im->color == 3 && im->palette[4] == 8 && im->background_color == 0; }},
        {10, "COLOR 4", [] { zvg_sub_color(4, 0, 0, 1); }, 5, nullptr},
        {9, "PALETTE 1, 20", [] { zvg_palette(1, 20, 3); }, 0, [](const img_struct* im) { return im->palette[1] == 0xFFAA5500; }},
        {9, "COLOR 1, 20", [] { zvg_sub_color(1, 20, 0, 3); }, 0, [](const img_struct* im) { return im->palette[0] == 0xFFAA5500 && im->color == 1 && im->background_color == 0; }},
        {9, "COLOR , 64", [] { zvg_sub_color(0, 64, 0, 2); }, 5, nullptr},
        {8, "COLOR 2, 9", [] { zvg_sub_color(2, 9, 0, 3); }, 0, [](const img_struct* im) { return im->palette[0] == 0xFF5555FF && im->color == 2 && im->background_color == 0; }},
        {7, "PALETTE 15, 16", [] { zvg_palette(15, 16, 3); }, 5, nullptr},
        {2, "COLOR 1, 4", [] { zvg_sub_color(1, 4, 0, 3); }, 0, [](const img_struct* im) { return im->palette[0] == 0xFFAA0000 && im->color == 1; }},
        {2, "PALETTE 2, 1", [] { zvg_palette(2, 1, 3); }, 5, nullptr},
        {1, "COLOR 1, 0", [] { zvg_sub_color(1, 0, 0, 3); }, 0, [](const img_struct* im) {
             return im->palette[0] == 0xFF0000AA && im->palette[1] == 0xFF00AA00 && im->palette[2] == 0xFFAA0000 &&
                    im->palette[3] == 0xFFAA5500 && im->color == 3;
         }},
        {1, "COLOR , 7", [] { zvg_sub_color(0, 7, 0, 2); }, 0, [](const img_struct* im) { return im->palette[1] == 0xFF00AAAA && im->palette[3] == 0xFFAAAAAA; }},
        {1, "COLOR 16", [] { zvg_sub_color(16, 0, 0, 1); }, 5, nullptr},
        {0, "COLOR 20, 9", [] { zvg_sub_color(20, 9, 0, 3); }, 0, [](const img_struct* im) { return im->color == 20 && im->background_color == 1; }},
        {0, "COLOR 32", [] { zvg_sub_color(32, 0, 0, 1); }, 5, nullptr},
        {0, "COLOR 1, 2, 99", [] { zvg_sub_color(1, 2, 99, 7); }, 0, [](const img_struct* im) { return im->color == 1 && im->background_color == 2; }},
        {0, "PALETTE 3, 63", [] { zvg_palette(3, 63, 3); }, 0, [](const img_struct* im) { return im->palette[3] == 0xFFFFFFFF; }},
        {0, "PALETTE 16, 0", [] { zvg_palette(16, 0, 3); }, 5, nullptr},
        {32, "PALETTE 1, 0", [] { zvg_palette(1, 0, 3); }, 5, nullptr},
        {32, "COLOR &H80123456, &H10000000", [] { zvg_sub_color(0x80123456, 0x10000000, 0, 3); }, 0, [](const img_struct* im) { return im->color == 0x80123456 && im->background_color == 0x10000000; }},
        {32, "COLOR 1, 2, 3", [] { zvg_sub_color(1, 2, 3, 7); }, 5, nullptr},
        {12, "COLOR", [] { zvg_sub_color(1, 2, 3, 0); }, 0, [](const img_struct* im) { return im->color == 15; }},
    };
    for (const step& s : steps) {
        SetUp();
        if (s.mode == 32) {
            screen(12);
            sub__dest(func__newimage(4, 4, 32, 1));
        } else {
            screen(s.mode);
        }
        uint32_t draw = write_page()->draw_color;
        colour_state before = colours();
        s.run();
        EXPECT_EQ(take_error(), s.error) << s.statement << " in mode " << s.mode;
        if (s.error) {
            EXPECT_TRUE(colours() == before) << s.statement << " in mode " << s.mode;
        }
        if (s.check) {
            EXPECT_TRUE(s.check(write_page())) << s.statement << " in mode " << s.mode;
        }
        EXPECT_EQ(write_page()->draw_color, draw) << s.statement;
    }
}

TEST_F(PaletteStatements, PaletteUsingAppliesUntilTheFirstBadValue) {
    screen(12);
    uint32_t* pal = write_page()->palette;
    std::vector<int32_t> values(16);
    for (int i = 0; i < 16; i++) values[i] = i;  // red channel i
    values[3] = -1;
    sub_paletteusing(values.data(), 64, 32);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(pal[2], static_cast<uint32_t>(palette_dac_to_channel(2)) << 16);
    EXPECT_EQ(pal[3], palette_256[3]);

    zvg_palette(0, 0, 0);
    values[5] = -2;
    sub_paletteusing(values.data(), 64, 32);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(pal[4], static_cast<uint32_t>(palette_dac_to_channel(4)) << 16);
    EXPECT_EQ(pal[6], palette_256[6]);

    zvg_palette(0, 0, 0);
    sub_paletteusing(values.data(), 60, 32);  // 15 elements
    EXPECT_EQ(take_error(), 5);
    std::vector<int16_t> shorts(16, 1);
    sub_paletteusing(shorts.data(), 32, 16);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(pal[0], palette_256[0]);

    screen(9);
    sub_paletteusing(shorts.data(), 32, 16);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(write_page()->palette[15], palette_64[1]);

    // A text screen has 16 attributes, not one per possible cell value.
    screen(0);
    std::vector<int32_t> text(16, 63);
    sub_paletteusing(text.data(), 64, 32);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(write_page()->palette[15], 0xFFFFFFFFu);

    sub__dest(func__newimage(2, 2, 32, 1));
    sub_paletteusing(text.data(), 64, 32);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(PaletteStatements, PaletteColorAndCopyPalette) {
    screen(13);
    zvg_palette(1, 0x3F, 3);
    EXPECT_EQ(func__palettecolor(1, 0, 0), 0xFFFF0000u);
    sub__palettecolor(2, 0x11223344, 0, 0);
    EXPECT_EQ(write_page()->palette[2], 0x11223344u);
    EXPECT_EQ(take_error(), 0);

    int32_t h32 = func__newimage(2, 2, 32, 1);
    int32_t h8 = func__newimage(2, 2, 256, 1);
    const struct {
        const char* call;
        std::function<void()> run;
        int32_t error;
    } refusals[] = {
        {"_PALETTECOLOR(1, h32)", [&] { EXPECT_EQ(func__palettecolor(1, h32, 1), 0u); }, 5},
        {"_PALETTECOLOR(256)", [] { EXPECT_EQ(func__palettecolor(256, 0, 0), 0u); }, 5},
        {"_PALETTECOLOR(-1)", [] { EXPECT_EQ(func__palettecolor(-1, 0, 0), 0u); }, 5},
        {"_PALETTECOLOR 1, 0, h32", [&] { sub__palettecolor(1, 0, h32, 1); }, 5},
        {"_PALETTECOLOR 1, 0, -77", [] { sub__palettecolor(1, 0, -77, 1); }, 258},
        {"_COPYPALETTE h32", [&] { sub__copypalette(h32, 0, 1); }, 5},
        {"_COPYPALETTE , h32", [&] { sub__copypalette(0, h32, 2); }, 5},
    };
    for (const auto& r : refusals) {
        r.run();
        EXPECT_EQ(take_error(), r.error) << r.call;
    }

    // Default source: the read image; default destination: the write image.
    sub__dest(h8);
    sub__copypalette(0, 0, 0);
    EXPECT_EQ(img_get(-h8)->palette[2], 0x11223344u);
    EXPECT_EQ(img_get(-h8)->palette[1], 0x00FF0000u);
    sub__palettecolor(7, 5, h8, 1);
    sub__copypalette(h8, 0, 3);
    EXPECT_EQ(img_get(page_index(0))->palette[7], 5u);
}

namespace {

// Runs f with standard output on fd, then restores it.
template <class F>
void with_stdout(int fd, F f) {
    fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    dup2(fd, STDOUT_FILENO);
    f();
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
}

std::string drain(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
    return out;
}

}  // namespace

TEST_F(PaletteStatements, ColorOnTheConsoleWritesAnAnsiSequenceToATerminalOnly) {
    char seq[32];
    const std::pair<uint32_t, const char*> attributes[] = {
        {14 + 16 * 1, "\x1b[0;93;44m"}, {7, "\x1b[0;37;40m"}, {0x4C, "\x1b[0;91;41m"}, {0xF0, "\x1b[0;30;107m"}};
    for (auto [a, text] : attributes) {
        console_attribute_sequence(a, seq, sizeof seq);
        EXPECT_STREQ(seq, text);
    }

    screen(0);
    int32_t console = func__newimage(80, 25, 0, 0);
    img_get(-console)->console = 1;
    set_console_image(console);
    sub__dest(console);

    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    grantpt(master);
    unlockpt(master);
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    with_stdout(slave, [] { zvg_sub_color(14, 1, 0, 3); });
    usleep(20000);
    EXPECT_EQ(drain(master), "\x1b[0;93;44m");
    with_stdout(slave, [] { zvg_sub_color(14, 0, 0, 1); });
    usleep(20000);
    EXPECT_EQ(drain(master), "\x1b[0;93;40m");
    close(slave);
    close(master);
    EXPECT_EQ(img_get(-console)->color, 7u);  // the record's colours are not the console's

    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    with_stdout(pipe_fds[1], [] { zvg_sub_color(14, 1, 0, 3); });
    EXPECT_EQ(drain(pipe_fds[0]), "");
    close(pipe_fds[0]);
    close(pipe_fds[1]);
}
