// The port 60h scancode queue.
#include "input/port60h.h"

#include <cstring>

#include "input/keyboard_lock.h"

namespace {

uint8_t port60h_event[port60h_size];
int32_t port60h_count = 0;

void append(uint8_t b) {
    keyboard_guard hold(keyboard_mutex());
    if (port60h_count && port60h_event[port60h_count - 1] == b) return;
    if (port60h_count == port60h_size) {
        memmove(port60h_event, port60h_event + 1, port60h_size - 1);
        --port60h_count;
    }
    port60h_event[port60h_count++] = b;
}

}  // namespace

void port60h_global_init() {
    keyboard_guard hold(keyboard_mutex());
    memset(port60h_event, 0, sizeof port60h_event);
    port60h_event[0] = 0x81;
    port60h_count = 0;
}

void scancodedown(uint8_t sc) { append(sc); }
void scancodeup(uint8_t sc) { append(uint8_t(sc + 128)); }

uint8_t port60h_take() {
    keyboard_guard hold(keyboard_mutex());
    uint8_t b = port60h_event[0];
    if (port60h_count) {
        memmove(port60h_event, port60h_event + 1, size_t(port60h_count - 1));
        --port60h_count;
    }
    return b;
}

void port60h_clear() {
    keyboard_guard hold(keyboard_mutex());
    port60h_count = 0;
}

int32_t port60h_events() {
    keyboard_guard hold(keyboard_mutex());
    return port60h_count;
}
