// Shows known pictures in the window for the presentation tests, drawn with SCREEN,
// LINE and PSET (32-bit pixels directly). argv[1] names the
// scenario, argv[2] a folder for the step handshake with the test: the program
// creates "ready<n>" when it reached step n and waits for "go<n>" to go on.

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include "patterns.h"
#include "waiting.h"
#include "zv.h"

namespace {

void step(int32_t n) { step_handshake(program_argument(2), n); }

// SCREEN mode (a negative mode: SCREEN image handle); the page drawn on.
img_struct* screen(int32_t mode) {
    zvg_screen(mode, 0, 0, 0, 0, 1);
    return write_page();
}

// LINE (x1, y1)-(x2, y2), colour, B (filled: BF).
void box(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, bool filled) {
    sub_line(float(x1), float(y1), float(x2), float(y2), colour, filled ? 2 : 1, 0, 1 | 8);
}

// The SCREEN 12 picture of pattern_mode12 with every colour moved on by shift.
void draw_mode12(int32_t shift) {
    for (int32_t by = 0; by < 30; by++)
        for (int32_t bx = 0; bx < 40; bx++)
            box(bx * 16, by * 16, bx * 16 + 15, by * 16 + 15, (bx + by * 3 + shift) % 16, true);
    box(0, 0, 639, 479, (15 + shift) % 16, false);
    sub_pset(1, 1, (14 + shift) % 16, 2);  // PSET (1, 1), colour
    sub_pset(638, 478, (14 + shift) % 16, 2);
}

void draw_mode13() {
    for (int32_t by = 0; by < 20; by++)
        for (int32_t bx = 0; bx < 32; bx++) box(bx * 10, by * 10, bx * 10 + 9, by * 10 + 9, bx + by * 32, true);
    box(0, 0, 319, 199, 15, false);
}

void draw_32bit(img_struct* im, uint32_t (*pattern)(int32_t, int32_t), int32_t w, int32_t h) {
    for (int32_t y = 0; y < h; y++)
        for (int32_t x = 0; x < w; x++) {
            uint32_t v = pattern(x, y);
            memcpy(im->pixels + (static_cast<size_t>(y) * w + x) * 4, &v, 4);
        }
}

// _PUTIMAGE (x, y), hardware image: a put on the screen layer.
void queue_put(int32_t hardware_handle, int32_t x, int32_t y) {
    sub__putimage(x, y, 0, 0, hardware_handle, 0, 0, 0, 0, 0, 1 | 8);
}

// The window requests of the runtime, with the buffer swaps counted.
const presenter_window_ops* window_ops = nullptr;
std::atomic<int32_t> swaps{0};
const presenter_window_ops counting_ops{
    [](int32_t w, int32_t h) { window_ops->reshape_window(w, h); },
    [] { window_ops->post_redisplay(); },
    [] { window_ops->full_screen(); },
    [] {
        swaps++;
        window_ops->swap_buffers();
    },
};

void write_swaps(const char* name) {
    std::string path = program_argument(2) + "/" + name;
    if (FILE* f = fopen(path.c_str(), "w")) {
        fprintf(f, "%d\n", swaps.exchange(0));
        fclose(f);
    }
}

void ZVMAIN() {
    std::string scenario = program_argument(1);
    if (scenario == "12") {
        screen(12);
        draw_mode12(0);
    } else if (scenario == "nosnap") {
        resize_snapback.store(0);
        screen(12);
        draw_mode12(0);
    } else if (scenario == "32") {
        draw_32bit(screen(func__newimage(640, 480, 32, 1)), pattern_32bit, 640, 480);
    } else if (scenario == "13") {
        screen(13);
        draw_mode13();
    } else if (scenario == "13auto") {
        // As a program built with a resize-scale option starts.
        resize_auto.store(1);
        resize_snapback.store(0);
        screen(13);
        draw_mode13();
    } else if (scenario == "13square") {
        screen(13);
        draw_mode13();
        step(1);
        full_screen_set.store(2);  // _FULLSCREEN _SQUAREPIXELS
        step(2);
        full_screen_set.store(0);  // _FULLSCREEN _OFF
    } else if (scenario == "display") {
        screen(12);
        draw_mode12(0);
        sub__display();
        // Drawn while automatic display is off: not shown until the next _DISPLAY.
        draw_mode12(5);
        step(1);
        sub__display();
    } else if (scenario == "sleep") {
        screen(12);
        draw_mode12(0);
        window_ops = &presenter_window();
        presenter_set_window_ops(&counting_ops);
        // The picture is on screen and the window settled.
        step(1);
        swaps.store(0);
        sub_sleep(2, 1);  // SLEEP 2
        write_swaps("swaps_asleep");
        draw_mode12(3);
        sub_sleep(1, 1);  // SLEEP 1
        write_swaps("swaps_after_drawing");
        step(2);
    } else if (scenario == "hardware") {
        screen(12);
        draw_mode12(0);
        int32_t sprite = func__newimage(64, 32, 32, 1);
        draw_32bit(img_get(-sprite), pattern_sprite, 64, 32);
        int32_t hardware = func__copyimage(sprite, 33, 3);
        // Hardware drawing lasts one frame, and a redraw after a reshape does not
        // repeat it: the window settles first.
        step(1);
        // Automatic display off first, so that the put belongs to the next _DISPLAY.
        sub__display();
        queue_put(hardware, sprite_x, sprite_y);
        sub__display();
        step(2);
        sub__freeimage(hardware, 1);
        sub__display();
    }
    wait_until_stopped();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
