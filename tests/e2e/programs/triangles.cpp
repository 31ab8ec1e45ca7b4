// _MAPTRIANGLE through the real window: over a black 640 x 480 32-bit screen, a
// software triangle of blue texels drawn into the screen image, a hardware triangle
// of green on the hardware layer, one of red on the second hardware layer and a 3D
// one of white behind a depth clear, all in one _DISPLAY frame. Titled "triangles".
#include <cstring>

#include "waiting.h"
#include "zv.h"

namespace {

constexpr int32_t SRC = 2, Z_ALL = 4 | 8 | 16, DST = 32;

int32_t image_of(uint32_t colour) {
    int32_t handle = func__newimage(4, 4, 32, 1);
    img_struct* im = img_get(-handle);
    for (int32_t i = 0; i < 16; i++) std::memcpy(im->pixels + i * 4, &colour, 4);
    return handle;
}

void ZVMAIN() {
    uint32_t mark = zvs_tmp_list_nexti();
    sub__title(zvs_new_txt("triangles"));
    zvs_tmp_release_to(mark, 0);
    zvg_screen(func__newimage(640, 480, 32, 1), 0, 0, 0, 0, 1);
    int32_t blue = image_of(0xFF0000FF);
    int32_t green = func__copyimage(image_of(0xFF00FF00), 33, 3);
    int32_t red = func__copyimage(image_of(0xFFFF0000), 33, 3);
    int32_t white = func__copyimage(image_of(0xFFFFFFFF), 33, 3);
    for (int i = 0; i < 50; ++i) {
        if (stop_program.load()) end();
        libzv_sleep_ms(20);
        evnt(0, 0, nullptr);
    }
    sub__display();  // automatic display off: the commands belong to the next _DISPLAY

    sub__maptriangle(0, 0, 0, 3, 0, 0, 3, blue, 10, 10, 0, 109, 10, 0, 10, 109, 0, 0, 0, SRC | DST);
    sub__maptriangle(0, 0, 0, 3, 0, 0, 3, green, 200, 10, 0, 299, 10, 0, 200, 109, 0, 0, 0, SRC | DST);
    sub__maptriangle(0, 0, 0, 3, 0, 0, 3, red, 400, 10, 0, 499, 10, 0, 400, 109, 0, 1, 0, SRC | DST);
    // A 3D triangle one unit away over window pixels (280, 260)-(380, 260)-(280, 360)
    // (67.5 degrees field of view), then a depth clear.
    sub__maptriangle(0, 0, 0, 3, 0, 0, 3, white, -0.1114f, -0.0557f, -1, 0.1670f, -0.0557f, -1, -0.1114f, -0.3341f, -1,
                     0, 0, SRC | DST | Z_ALL);
    sub__depthbuffer(4, 0, 0);
    sub__display();
    wait_until_stopped();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
