// _MAPTRIANGLE's software and hardware triangles as the window shows them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/child.h"
#include "support/x11_capture.h"
#include "support/x11_probe.h"

namespace {

constexpr uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF, black = 0;

TEST(TrianglesWindow, SoftwareAndHardwareTrianglesShowWhereTheyWereMapped) {
    child_process program = child_start({ZV_E2E_TRIANGLES});
    unsigned long window = x11_wait_for_window("triangles", 10000).id;
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(xdotool_move(window, 0, 0));
    int64_t deadline = monotonic_ms() + 10000;
    x11_picture picture;
    do {
        picture = x11_capture(window);
        if (picture.width == 640 && picture.at(420, 30) == red && picture.at(30, 30) == blue) break;
        usleep(30000);
    } while (monotonic_ms() < deadline);
    ASSERT_EQ(picture.width, 640);
    struct probe {
        int32_t x, y;
        uint32_t colour;
        const char* what;
    } probes[] = {
        {30, 30, blue, "software triangle"},       {100, 100, black, "beyond the software triangle's diagonal"},
        {220, 30, green, "hardware layer"},        {290, 100, black, "beyond the green diagonal"},
        {420, 30, red, "second hardware layer"},   {490, 100, black, "beyond the red diagonal"},
        {320, 300, white, "3D triangle"},          {370, 350, black, "beyond the 3D triangle's diagonal"},
        {5, 5, black, "outside everything"},
    };
    for (const probe& p : probes) {
        char text[80];
        snprintf(text, sizeof text, "pixel (%d, %d) is %06X", p.x, p.y, picture.at(p.x, p.y));
        EXPECT_EQ(picture.at(p.x, p.y), p.colour) << p.what << ": " << text;
    }
    x11_send_close(window);
    child_wait(program, 5000);
}

}  // namespace
