// The cube demo end to end: its window, the first frame read back pixel by pixel
// (texts against the glyph tables, edges computed here from the DATA and the
// formulas), Shift, a letter key, the last key, the close button and the log.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "font/glyphs.h"
#include "support/child.h"
#include "support/scenario.h"
#include "support/x11_capture.h"
#include "support/x11_probe.h"

namespace {

const char* const title = "Kubro (c)2009 Vutrek/Plonq/Eskir/Qadu";

// The 16 colours of SCREEN 12 as the window shows them.
constexpr uint32_t light_cyan = 0x55FFFF, dark_grey = 0x555555, light_blue = 0x5555FF, red = 0xAA0000,
                   white = 0xFFFFFF, black = 0;

// Whether row and column (1-based, 8 x 16 cells) show text in fg on bg; the first
// differing pixel is told on failure.
::testing::AssertionResult shows_text(const x11_picture& picture, int row, int column, const std::string& text,
                                      uint32_t fg, uint32_t bg) {
    if (picture.width < 640 || picture.height < 480) return ::testing::AssertionFailure() << "no picture";
    for (size_t i = 0; i < text.size(); i++) {
        const uint8_t* glyph = &charset8x16[uint8_t(text[i]) * 128];
        int x0 = (column - 1 + int(i)) * 8, y0 = (row - 1) * 16;
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 8; x++)
                if (uint32_t want = glyph[y * 8 + x] ? fg : bg; picture.at(x0 + x, y0 + y) != want)
                    return ::testing::AssertionFailure()
                           << "character " << i << " '" << text[i] << "': pixel (" << x0 + x << "," << y0 + y
                           << ") is " << std::hex << picture.at(x0 + x, y0 + y) << ", not " << want;
    }
    return ::testing::AssertionSuccess();
}

// The first frame's projected vertices, worked out as the program does in SINGLE.
std::vector<std::pair<int, int>> first_frame_vertices() {
    const float vertices[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                  {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    const float angle_x = 3, angle_y = 5;
    const float cx = std::cos(angle_x), sx = std::sin(angle_x), cy = std::cos(angle_y), sy = std::sin(angle_y);
    std::vector<std::pair<int, int>> out;
    for (const auto& v : vertices) {
        float y1 = v[1] * cx - v[2] * sx;
        float z1 = v[1] * sx + v[2] * cx;
        float x2 = v[0] * cy + z1 * sy;
        float z2 = -v[0] * sy + z1 * cy;
        float scale = 200.0f / (z2 + 3.0f);
        float px = x2 * scale + 320.0f, py = y1 * scale + 240.0f;
        out.emplace_back(int(std::nearbyint(px)), int(std::nearbyint(py)));
    }
    return out;
}

const int edges[12][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7}, {7, 8}, {8, 5}, {1, 5}, {2, 6}, {3, 7}, {4, 8}};

class Demo : public ::testing::Test {
protected:
    child_process program;
    unsigned long window = 0;

    void SetUp() override { glyphs_global_init(); }
    void TearDown() override {
        if (program.pid > 0) child_wait(program, 0);
    }
    void start() {
        program = child_start({ZV_DEMO});
        auto found = x11_wait_for_window(title, 10000);
        ASSERT_NE(found.id, 0u) << "no window titled \"" << title << "\"";
        window = found.id;
        // Without a window manager the window stands at (-1, -1), partly off the screen.
        ASSERT_TRUE(xdotool_move(window, 0, 0));
        xdotool({"windowfocus", "--sync", std::to_string(window)});
    }
    // Waits until the window shows the text; the last picture for diagnostics.
    bool wait_for_text(int row, int column, const std::string& text, uint32_t fg, int timeout_ms,
                       x11_picture* last = nullptr) {
        int64_t deadline = monotonic_ms() + timeout_ms;
        x11_picture picture;
        do {
            picture = x11_capture(window);
            if (shows_text(picture, row, column, text, fg, black)) break;
            usleep(10000);
        } while (monotonic_ms() < deadline);
        bool shown = shows_text(picture, row, column, text, fg, black);
        if (last) *last = std::move(picture);
        return shown;
    }
};

TEST_F(Demo, FirstFrameShowsTheCounterTextsAndTheCube) {
    start();
    // Frames may show a page half drawn, and the first ones come while the window
    // still grows from 640 x 400: wait for the second credit line (the last text of
    // a pass) and for the bottom row of help.
    x11_picture picture;
    int64_t deadline = monotonic_ms() + 10000;
    do {
        picture = x11_capture(window);
        if (shows_text(picture, 3, 31, "Made for the 4K BASIC Compo at Grelmor Party 2009", white, black) &&
            shows_text(picture, 28, 20, "Other=Exit", red, black))
            break;
        usleep(10000);
    } while (monotonic_ms() < deadline);
    EXPECT_TRUE(shows_text(picture, 3, 31, "Made for the 4K BASIC Compo at Grelmor Party 2009", white, black));
    EXPECT_TRUE(shows_text(picture, 2, 2, "Frames Drawn: 1       ", light_cyan, black));
    int32_t width = 0, height = 0;
    ASSERT_TRUE(x11_window_size(window, &width, &height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);

    EXPECT_TRUE(shows_text(picture, 25, 4, "if you do nothing, the program will", dark_grey, black));
    EXPECT_TRUE(shows_text(picture, 26, 4, "redraw the cube once every second.", dark_grey, black));
    EXPECT_TRUE(shows_text(picture, 28, 4, "Shift=Click", light_blue, black));
    EXPECT_TRUE(shows_text(picture, 28, 20, "Other=Exit", red, black));
    EXPECT_TRUE(shows_text(picture, 2, 35, "Coded by Vutrek/Plonq/Eskir/Qadu, OrvoNX v0.9", white, black));

    auto v = first_frame_vertices();
    const std::pair<int, int> expected[8] = {{224, 339}, {295, 294}, {283, 200}, {204, 168},
                                             {413, 339}, {395, 287}, {379, 179}, {379, 114}};
    for (int i = 0; i < 8; i++) EXPECT_EQ(v[i], expected[i]) << "vertex " << i + 1;
    for (const auto& e : edges) {
        auto [x1, y1] = v[e[0] - 1];
        auto [x2, y2] = v[e[1] - 1];
        EXPECT_EQ(picture.at(x1, y1), white) << "edge " << e[0] << "-" << e[1];
        EXPECT_EQ(picture.at(x2, y2), white) << "edge " << e[0] << "-" << e[1];
        // Half way along, the line passes through the pixel or one beside it.
        int mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
        int lit = 0;
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++) lit += picture.at(mx + dx, my + dy) == white;
        EXPECT_GT(lit, 0) << "edge " << e[0] << "-" << e[1];
    }
}

TEST_F(Demo, ShiftRedrawsAtOnceALetterEndsTheLoopAndOneMoreKeyTheProgram) {
    start();
    ASSERT_TRUE(wait_for_text(2, 2, "Frames Drawn: 1 ", light_cyan, 10000));
    int64_t pressed = monotonic_ms();
    xdotool({"key", "shift"});
    ASSERT_TRUE(wait_for_text(2, 2, "Frames Drawn: 2 ", light_cyan, 900)) << "no redraw before the second ran out";
    EXPECT_LT(monotonic_ms() - pressed, 900);
    EXPECT_TRUE(child_running(program)) << "Shift ended the program";

    xdotool({"key", "q"});
    // END prints in the colour the program set last.
    x11_picture prompt;
    bool shown = wait_for_text(30, 1, "Press any key to continue", white, 5000, &prompt);
    ASSERT_TRUE(shown) << shows_text(prompt, 30, 1, "Press any key to continue", white, black).message();
    int64_t last_key = monotonic_ms();
    xdotool({"key", "x"});
    auto rc = child_wait(program, 5000);
    ASSERT_TRUE(rc.has_value());
    EXPECT_EQ(*rc, 0);
    EXPECT_LE(monotonic_ms() - last_key, 200 + 100) << "the xdotool run itself is counted here";
}

TEST_F(Demo, CloseRequestDuringSleepEndsTheProgramWithCode0) {
    start();
    ASSERT_TRUE(wait_for_text(2, 2, "Frames Drawn: 1 ", light_cyan, 10000));
    ASSERT_TRUE(x11_send_close(window));
    auto rc = child_wait(program, 2000);
    ASSERT_TRUE(rc.has_value());
    EXPECT_EQ(*rc, 0);
}

TEST_F(Demo, LogShowsStartTheProgramAndTheExit) {
    char dir[] = "/tmp/zvdemo-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::string log = std::string(dir) + "/demo.log";
    setenv("ORVONX_LOG_HANDLERS", "file", 1);
    setenv("ORVONX_LOG_SCOPES", "libzv", 1);
    setenv("ORVONX_LOG_FILE_PATH", log.c_str(), 1);
    start();
    ASSERT_TRUE(wait_for_text(2, 2, "Frames Drawn: 1 ", light_cyan, 10000));
    ASSERT_TRUE(x11_send_close(window));
    ASSERT_EQ(child_wait(program, 2000), 0);
    std::ifstream in(log);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    size_t starting = text.find(" INFO libzv ");
    size_t a = text.find("Program starting.");
    size_t b = text.find("ORVO code starting.");
    size_t c = text.find("Program exiting with code: 0\n");
    EXPECT_NE(starting, std::string::npos) << text;
    ASSERT_NE(a, std::string::npos) << text;
    ASSERT_NE(b, std::string::npos) << text;
    ASSERT_NE(c, std::string::npos) << text;
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    std::remove(log.c_str());
    rmdir(dir);
}

}  // namespace
