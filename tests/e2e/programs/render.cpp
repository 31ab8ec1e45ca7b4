// Hardware drawing through the real GL for the renderer tests: puts (plain, mirrored,
// smoothed, blended, onto a hardware image and from it), 3D triangles with depth
// modes, culling and a depth clear, all in one frame over a black 32-bit screen.
// argv[1] is the folder of the step handshake (waiting.h).

#include <cmath>
#include <cstring>
#include <string>

#include "waiting.h"
#include "zv.h"

namespace {

void step(int32_t n) { step_handshake(program_argument(1), n); }

// A hardware image of w x h pixels from a list of colours (row by row, repeated).
int32_t hardware_image(int32_t w, int32_t h, std::initializer_list<uint32_t> colours) {
    int32_t handle = func__newimage(w, h, 32, 1);
    img_struct* im = img_get(-handle);
    size_t i = 0;
    for (int32_t p = 0; p < w * h; p++, i++) {
        uint32_t c = colours.begin()[i % colours.size()];
        memcpy(im->pixels + static_cast<size_t>(p) * 4, &c, 4);
    }
    return get_hardware_img_index(func__copyimage(handle, 33, 3));
}

hardware_graphics_command* command(int64_t kind, int32_t source, int32_t dest) {
    int32_t h = hardware_command_new();
    hardware_graphics_command* c = hardware_command_at(h);
    c->command = kind;
    c->src_img = source;
    c->dst_img = dest;
    return c;
}

void queue(hardware_graphics_command* c) {
    for (int32_t h = last_hardware_command_added.load() + 1;; h++)
        if (hardware_command_at(h) == c) return hardware_command_queue(h);
}

void put(int32_t source, int32_t dest, float dx1, float dy1, float dx2, float dy2, float sx1, float sy1, float sx2,
         float sy2, int32_t use_alpha, int32_t smooth) {
    hardware_graphics_command* c = command(HARDWARE_COMMAND_PUT, source, dest);
    c->dst_x1 = dx1, c->dst_y1 = dy1, c->dst_x2 = dx2, c->dst_y2 = dy2;
    c->src_x1 = sx1, c->src_y1 = sy1, c->src_x2 = sx2, c->src_y2 = sy2;
    c->use_alpha = use_alpha;
    c->smooth = smooth;
    queue(c);
}

// A 3D triangle over the window pixel (cx, cy) at distance d, drawn clockwise on the
// screen. The window is 640 x 480, so the field of view is 67.5 degrees.
void triangle(int32_t source, float cx, float cy, float d, int32_t depth_mode, int32_t cull_mode) {
    const float t = std::tan(67.5f / 2 * 3.14159265f / 180), aspect = 640.0f / 480.0f;
    auto x = [&](float px) { return (px - 320) / 320 * t * aspect * d; };
    auto y = [&](float py) { return -(py - 240) / 240 * t * d; };
    hardware_graphics_command* c = command(HARDWARE_COMMAND_TRIANGLE_3D, source, 0);
    c->dst_x1 = x(cx - 40), c->dst_y1 = y(cy - 40), c->dst_z1 = -d;
    c->dst_x2 = x(cx + 60), c->dst_y2 = y(cy - 40), c->dst_z2 = -d;
    c->dst_x3 = x(cx - 40), c->dst_y3 = y(cy + 60), c->dst_z3 = -d;
    c->depthbuffer_mode = depth_mode;
    c->cull_mode = cull_mode;
    c->use_alpha = 1;
    queue(c);
}

void ZVMAIN() {
    // SCREEN _NEWIMAGE(640, 480, 32): black.
    zvg_screen(func__newimage(640, 480, 32, 1), 0, 0, 0, 0, 1);

    int32_t quad = hardware_image(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
    int32_t white = hardware_image(1, 1, {0xFFFFFFFF});
    int32_t red = hardware_image(1, 1, {0xFFFF0000});
    int32_t green = hardware_image(1, 1, {0xFF00FF00});
    int32_t half = hardware_image(1, 1, {0x80FF0000});
    int32_t target = hardware_image(16, 16, {0xFF000000});
    step(1);
    sub__display();  // automatic display off: the commands belong to the next _DISPLAY

    put(quad, 0, 10, 10, 29, 29, 0, 0, 1, 1, 0, 0);          // four 10 x 10 quadrants
    put(quad, 0, 59, 10, 40, 29, 0, 0, 1, 1, 0, 0);          // mirrored left to right
    put(green, 0, 70, 10, 119, 59, 0, 0, 0, 0, 0, 1);        // one smoothed pixel
    put(white, 0, 130, 10, 169, 29, 0, 0, 0, 0, 0, 0);
    put(half, 0, 130, 10, 149, 29, 0, 0, 0, 0, 1, 0);        // blended over white
    put(half, 0, 150, 10, 169, 29, 0, 0, 0, 0, 0, 0);        // copied
    put(quad, target, 0, 0, 15, 15, 0, 0, 1, 1, 0, 0);       // onto a hardware image
    put(target, 0, 200, 10, 215, 25, 0, 0, 15, 15, 0, 0);    // and from it

    triangle(red, 60, 300, 1, 1, 0);  // depth on: the nearer wins either way
    triangle(green, 60, 300, 2, 1, 0);
    triangle(green, 160, 300, 2, 1, 0);
    triangle(red, 160, 300, 1, 1, 0);
    triangle(red, 260, 300, 1, 0, 0);  // depth off: the last drawn wins
    triangle(green, 260, 300, 2, 0, 0);
    triangle(red, 360, 300, 1, 2, 0);  // locked: tested, not written
    triangle(green, 360, 300, 2, 1, 0);
    triangle(green, 460, 300, 1, 1, 1);  // clockwise on the screen: kept by cull mode 1
    triangle(green, 560, 300, 1, 1, 2);  // and culled by cull mode 2
    triangle(red, 60, 400, 1, 1, 0);     // a depth clear after locked triangles
    triangle(red, 160, 400, 1, 2, 0);
    queue(command(HARDWARE_COMMAND_CLEAR_DEPTHBUFFER, 0, 0));
    triangle(green, 60, 400, 2, 1, 0);
    sub__display();
    wait_until_stopped();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
