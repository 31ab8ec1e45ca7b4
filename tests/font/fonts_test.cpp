// Font numbers, the font tables, _FONTWIDTH, _FONTHEIGHT, _FONT, _LOADFONT and
// _FREEFONT with the placeholder and a fake back end, and selectfont.
#include <cstdlib>
#include <string>
#include <vector>

#include "font/font_backend.h"
#include "font/font_functions.h"
#include "font/font_tables.h"
#include "font/loadfont.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"
#include "string/zvs.h"

namespace {

using Fonts = ImageTest;

int32_t load(const std::string& file, int32_t size, const std::string* options = nullptr, int32_t index = 0,
             int32_t passed = 0) {
    return func__loadfont_bytes(reinterpret_cast<const uint8_t*>(file.data()), static_cast<int32_t>(file.size()),
                                size, options ? reinterpret_cast<const uint8_t*>(options->data()) : nullptr,
                                options ? static_cast<int32_t>(options->size()) : 0, index, passed);
}

// A back end that loads anything: handles count from 100, width 7 unless the data
// starts with 'P' (proportional); it records what it was given.
struct fake_backend_state {
    std::vector<std::string> paths;
    std::string last_data;
    int32_t last_height = 0, last_index = 0, last_options = 0;
    int32_t next_handle = 100;
    std::vector<int32_t> freed;
} fake;

uint8_t* fake_load_file(const char* path, int32_t* size) {
    fake.paths.emplace_back(path);
    if (std::string(path) == "missing.ttf") return nullptr;
    auto* data = static_cast<uint8_t*>(malloc(3));
    memcpy(data, "ttf", 3);
    *size = 3;
    return data;
}
int32_t fake_load(const uint8_t* data, int32_t size, int32_t height, int32_t index, int32_t* options) {
    fake.last_data.assign(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
    fake.last_height = height;
    fake.last_index = index;
    fake.last_options = *options;
    if (fake.last_data == "bad") return 0;
    *options |= 0x100;  // the back end may add bits
    return fake.next_handle++;
}
void fake_free(int32_t handle) { fake.freed.push_back(handle); }
int32_t fake_width(int32_t handle) { return handle >= 100 && fake.last_data[0] == 'P' ? 0 : 7; }
bool no_render32(int32_t, const uint32_t*, int32_t, int32_t, uint8_t**, int32_t*, int32_t*) { return false; }
bool no_render8(int32_t, const uint8_t*, int32_t, int32_t, uint8_t**, int32_t*, int32_t*) { return false; }
int32_t no_width32(int32_t, const uint32_t*, int32_t) { return 0; }
int32_t no_width8(int32_t, const uint8_t*, int32_t) { return 0; }

constexpr font_backend fake_backend{fake_load_file, fake_load,   fake_free,   fake_width,
                                    no_render32,    no_render8, no_width32, no_width8};

class FakeFonts : public Fonts {
protected:
    void SetUp() override {
        Fonts::SetUp();
        fake = {};
        font_set_backend(&fake_backend);
    }
    void TearDown() override {
        font_set_backend(nullptr);
        Fonts::TearDown();
    }
};

}  // namespace

TEST_F(Fonts, BuiltInMetrics) {
    const struct {
        int32_t font, width, height;
    } rows[] = {{8, 8, 8}, {9, 16, 8}, {14, 8, 14}, {15, 16, 14}, {16, 8, 16}, {17, 16, 16}};
    for (const auto& r : rows) {
        EXPECT_EQ(fontwidth[r.font], r.width) << r.font;
        EXPECT_EQ(fontheight[r.font], r.height) << r.font;
        EXPECT_EQ(fontflags[r.font], FONT_MONOSPACE) << r.font;
        EXPECT_EQ(font[r.font], 0) << r.font;
    }
    EXPECT_EQ(lastfont, 48);
    EXPECT_EQ(fontheight[10], 0);
}

TEST_F(Fonts, FontWidthAndHeightFunctions) {
    screen(12);
    EXPECT_EQ(func__fontwidth(8, 1), 8);
    EXPECT_EQ(func__fontheight(14, 1), 14);
    EXPECT_EQ(func__fontheight(16, 1), 16);
    EXPECT_EQ(func__fontwidth(0, 0), 8);
    EXPECT_EQ(func__fontheight(0, 0), 16);
    for (int32_t n : {9, 15, 17, 0, 20, 32, 48, 49, -1, 100000}) {
        EXPECT_EQ(func__fontwidth(n, 1), 0) << n;
        EXPECT_EQ(take_error(), 258) << n;
        EXPECT_EQ(func__fontheight(n, 1), 0) << n;
        EXPECT_EQ(take_error(), 258) << n;
    }
    // A 40-column text screen uses font 17, which only the write-image form reports.
    sub_screen_width_in_characters = 40;
    sub_screen_height_in_characters = 25;
    sub_screen_font = 17;
    screen(0);
    EXPECT_EQ(func__fontwidth(0, 0), 16);
    EXPECT_EQ(func__fontheight(0, 0), 16);
    error(9);
    EXPECT_EQ(func__fontwidth(8, 1), 0);
    EXPECT_EQ(take_error(), 9);
}

TEST_F(Fonts, FontFunctionNamesTheFontOfAnImage) {
    screen(9);
    EXPECT_EQ(func__font(0, 0), 14);
    EXPECT_EQ(func__font(0, 1), 14);
    EXPECT_EQ(func__font(3, 1), 14);  // page 3 is made on demand
    EXPECT_NE(page_index(3), 0);
    int32_t h = func__newimage(64, 64, 32, 1);
    EXPECT_EQ(func__font(h, 1), 16);
    EXPECT_EQ(func__font(-1, 1), 0);
    EXPECT_EQ(take_error(), 258);
    EXPECT_EQ(func__font(h - 1000, 1), 0);
    EXPECT_EQ(take_error(), 258);
}

TEST_F(Fonts, PlaceholderBackEndLoadsNothing) {
    screen(12);
    EXPECT_EQ(load("x.ttf", 16), 0);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(load("x.ttf", 0), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(load("", 0), 0);  // an empty name comes before the size check
    EXPECT_EQ(take_error(), 0);
    std::string memory = "MEMORY";
    EXPECT_EQ(load("not a font", 12, &memory, 0, 1), 0);
    EXPECT_EQ(take_error(), 0);
    sub__freefont(32);
    EXPECT_EQ(take_error(), 258);
    EXPECT_EQ(lastfont, 48);
    for (int32_t n = 32; n <= 48; n++) EXPECT_EQ(font[n], 0);
}

TEST_F(Fonts, LoadFontTakesBasicStrings) {
    zvs_global_init();
    screen(12);
    uint32_t mark = zvs_tmp_list_nexti();
    EXPECT_EQ(func__loadfont(zvs_new_txt("x.ttf"), 16, nullptr, 0, 0), 0);
    EXPECT_EQ(func__loadfont(zvs_new_txt("x.ttf"), 0, zvs_new_txt("MONOSPACE"), 0, 1), 0);
    EXPECT_EQ(take_error(), 5);
    zvs_tmp_release_to(mark, 0);
}

TEST_F(FakeFonts, LoadedFontsGetNumbersFrom32) {
    screen(12);
    std::string options = "monospace, Unicode and dontblend";
    int32_t n = load("a.ttf", 20, &options, 3, 1 | 2);
    EXPECT_EQ(n, 32);
    ASSERT_EQ(fake.paths.size(), 1u);
    EXPECT_EQ(fake.paths[0], "a.ttf");
    EXPECT_EQ(fake.last_data, "ttf");
    EXPECT_EQ(fake.last_height, 20);
    EXPECT_EQ(fake.last_index, 3);
    EXPECT_EQ(fake.last_options, FONT_MONOSPACE | FONT_UNICODE | FONT_DONTBLEND);
    EXPECT_EQ(font[32], 100);
    EXPECT_EQ(fontflags[32], FONT_MONOSPACE | FONT_UNICODE | FONT_DONTBLEND | 0x100);
    EXPECT_EQ(fontheight[32], 20);
    EXPECT_EQ(fontwidth[32], 7);
    EXPECT_EQ(func__fontwidth(32, 1), 7);
    EXPECT_EQ(func__fontheight(32, 1), 20);
    // The face index counts only when given; memory mode passes the bytes themselves.
    options = "Memory automono";
    EXPECT_EQ(load("Pdata", 12, &options, 9, 1), 33);
    EXPECT_EQ(fake.paths.size(), 1u);
    EXPECT_EQ(fake.last_data, "Pdata");
    EXPECT_EQ(fake.last_index, 0);
    EXPECT_EQ(fake.last_options, FONT_AUTOMONO);
    EXPECT_EQ(fontwidth[33], 0);
    // Failures give 0 and no error.
    EXPECT_EQ(load("missing.ttf", 12), 0);
    options = "MEMORY";
    EXPECT_EQ(load("bad", 12, &options, 0, 1), 0);
    EXPECT_EQ(load(std::string("a\0b", 3), 12), 0);  // never a file name
    EXPECT_EQ(take_error(), 0);
}

TEST_F(FakeFonts, TablesGrowWhenEveryNumberIsTaken) {
    screen(12);
    for (int32_t n = 32; n <= 48; n++) ASSERT_EQ(load("a.ttf", 10), n);
    EXPECT_EQ(lastfont, 48);
    EXPECT_EQ(load("a.ttf", 10), 49);
    EXPECT_EQ(lastfont, 49);
    EXPECT_EQ(func__fontheight(49, 1), 10);
    // A failed load after growth keeps the table grown.
    std::string options = "MEMORY";
    EXPECT_EQ(load("bad", 10, &options, 0, 1), 0);
    EXPECT_EQ(lastfont, 50);
}

TEST_F(FakeFonts, FreeFontRefusesAFontInUseAndFreesTheNumber) {
    screen(12);
    int32_t n = load("a.ttf", 10);
    ASSERT_EQ(n, 32);
    int32_t h = func__newimage(20, 20, 32, 1);
    img_get(-h)->font = n;
    sub__freefont(n);
    EXPECT_EQ(take_error(), 5);
    EXPECT_TRUE(fake.freed.empty());
    img_get(-h)->font = 16;
    sub__freefont(n);
    EXPECT_EQ(take_error(), 0);
    ASSERT_EQ(fake.freed.size(), 1u);
    EXPECT_EQ(fake.freed[0], 100);
    EXPECT_EQ(font[n], 0);
    EXPECT_EQ(fontheight[n], 10);  // only the handle is cleared
    sub__freefont(n);
    EXPECT_EQ(take_error(), 258);
    EXPECT_EQ(load("b.ttf", 11), 32);  // the number is reused
}

TEST_F(Fonts, SelectfontHomesAndReleasesAHeldCursor) {
    screen(12);
    img_struct* im = write_page();
    im->cursor_x = 80;
    im->cursor_y = 7;
    im->cursor_held = 1;
    selectfont(8, im);
    EXPECT_EQ(im->cursor_held, 0);
    EXPECT_EQ(im->cursor_x, 1);
    EXPECT_EQ(im->cursor_y, 1);
    EXPECT_EQ(im->font, 8);
    EXPECT_EQ(im->top_row, 1);
    EXPECT_EQ(im->bottom_row, 59);
    // A text image counts rows, whatever its font; an image lower than a cell keeps row 1.
    int32_t t = func__newimage(80, 43, 0, 1);
    selectfont(8, img_get(-t));
    EXPECT_EQ(img_get(-t)->bottom_row, 42);
    int32_t tiny = func__newimage(8, 4, 32, 1);
    selectfont(16, img_get(-tiny));
    EXPECT_EQ(img_get(-tiny)->bottom_row, 1);
}
