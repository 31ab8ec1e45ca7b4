// The mouse message ring and the window-thread mouse callbacks that fill it.
#include "input/mouse_ring.h"

#include <algorithm>

#include "display/display.h"
#include "glut/window_hooks.h"
#include "input/device_feeders.h"

namespace {

mouse_message* items = nullptr;
std::atomic<int32_t> current_index{0};
std::atomic<int32_t> written_index{0};

void allocate_ring() {
    if (!items) items = new mouse_message[mouse_message_last + 1]();
}

const mouse_message& newest() { return items[written_index.load(std::memory_order_relaxed)]; }

// Window thread only: the message is complete before `written` moves on to it.
void append(int32_t x, int32_t y, uint32_t buttons, int32_t movement_x, int32_t movement_y) {
    int32_t next = written_index.load(std::memory_order_relaxed) + 1;
    if (next > mouse_message_last) next = 0;
    mouse_message& m = items[next];
    m.x.store(int16_t(x), std::memory_order_relaxed);
    m.y.store(int16_t(y), std::memory_order_relaxed);
    m.buttons.store(buttons, std::memory_order_relaxed);
    m.movement_x.store(int16_t(movement_x), std::memory_order_relaxed);
    m.movement_y.store(int16_t(movement_y), std::memory_order_relaxed);
    written_index.store(next, std::memory_order_release);
}

}  // namespace

const mouse_message& mouse_current_message() { return items[current_index.load(std::memory_order_relaxed)]; }

const mouse_message& mouse_newest_message() { return items[written_index.load(std::memory_order_acquire)]; }

int32_t mouse_ring_advance() {
    int32_t current = current_index.load(std::memory_order_relaxed);
    if (current == written_index.load(std::memory_order_acquire)) return 0;
    current = current == mouse_message_last ? 0 : current + 1;
    current_index.store(current, std::memory_order_relaxed);
    return -1;
}

// Buttons above 5 (extra X buttons) are ignored, which also keeps the shift defined.
void GLUT_MouseButton_Down(int32_t b, int32_t x, int32_t y) {
    if (b < 1 || b > 5) return;
    append(x, y, newest().buttons.load(std::memory_order_relaxed) | (1u << (b - 1)), 0, 0);
    device_mouse_button(b, true);
}

void GLUT_MouseButton_Up(int32_t b, int32_t x, int32_t y) {
    if (b < 1 || b > 5) return;
    append(x, y, newest().buttons.load(std::memory_order_relaxed) & ~(1u << (b - 1)), 0, 0);
    device_mouse_button(b, false);
}

extern "C" void GLUT_MOUSE_FUNC(int glut_button, int state, int x, int y) {
    if (state == 0) GLUT_MouseButton_Down(glut_button + 1, x, y);
    if (state == 1) GLUT_MouseButton_Up(glut_button + 1, x, y);
}

extern "C" void GLUT_MOUSEWHEEL_FUNC(int, int direction, int x, int y) {
    int32_t b = direction > 0 ? 4 : direction < 0 ? 5 : 0;
    if (!b) return;
    GLUT_MouseButton_Down(b, x, y);
    GLUT_MouseButton_Up(b, x, y);
}

extern "C" void GLUT_MOTION_FUNC(int x, int y) {
    uint32_t buttons = newest().buttons.load(std::memory_order_relaxed);
    append(x, y, buttons, 0, 0);
    append(x, y, buttons, 0, 0);
    device_mouse_motion(x, y, x_monitor.load(std::memory_order_relaxed), y_monitor.load(std::memory_order_relaxed));
}

extern "C" void GLUT_PASSIVEMOTION_FUNC(int x, int y) { GLUT_MOTION_FUNC(x, y); }

void orvo_custom_event_relative_mouse_movement(int32_t dx, int32_t dy) {
    const mouse_message& last = newest();
    int32_t x = last.x.load(std::memory_order_relaxed), y = last.y.load(std::memory_order_relaxed);
    uint32_t buttons = last.buttons.load(std::memory_order_relaxed);
    append(x, y, buttons, dx, dy);
    append(x, y, buttons, 0, 0);
}

// Before the first frame or on a 1-pixel frame the size gives no range: the value
// stays finite instead of dividing by 0 or -1.
float mouse_device_axis(int32_t v, int32_t size) {
    int32_t last = std::max(0, size - 1);
    v = std::clamp(v, 0, last);
    return float(v) / float(std::max(1, last)) * 2.0f - 1.0f;
}

void mouse_global_init() {
    allocate_ring();
    window_set_relative_motion_sink(orvo_custom_event_relative_mouse_movement);
}

void mouse_reset_for_tests() {
    allocate_ring();
    for (int32_t i = 0; i <= mouse_message_last; ++i) {
        mouse_message& m = items[i];
        m.x = 0;
        m.y = 0;
        m.buttons = 0;
        m.movement_x = 0;
        m.movement_y = 0;
    }
    current_index = 0;
    written_index = 0;
}
