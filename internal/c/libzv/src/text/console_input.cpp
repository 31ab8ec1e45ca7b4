// _GETCONSOLEINPUT's reader: key and mouse records of the terminal, and the console's wait for a key.
#include "text/console_input.h"

#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "platform/console_terminal.h"

int32_t console_last_scancode = 0;
int32_t console_mouse_x = 0, console_mouse_y = 0, console_mouse_buttons = 0;

namespace {
int32_t held_buttons = 0;  // the button word without the wheel part

int32_t button_bit(int32_t code) {
    switch (code & 3) {
        case 0: return 1;  // left
        case 1: return 4;  // middle
        case 2: return 2;  // right
        default: return 0;
    }
}
}  // namespace

int32_t func__getconsoleinput() {
    if (!console_input_is_terminal()) return 0;
    console_set_mode(console_mode::keys);
    console_record r = console_read_record();
    if (r.kind == console_record::key) {
        console_last_scancode = r.scancode;
        return 1;
    }
    if (r.kind != console_record::mouse) return 0;
    console_mouse_x = r.mouse_x;
    console_mouse_y = r.mouse_y;
    int32_t wheel = 0;
    if (r.mouse_code & 64) {
        wheel = (r.mouse_code & 1) ? -120 : 120;
    } else if (r.mouse_release) {
        held_buttons &= ~button_bit(r.mouse_code);
    } else if (!(r.mouse_code & 32)) {
        held_buttons |= button_bit(r.mouse_code);  // a press; motion keeps the word
    }
    console_mouse_buttons = static_cast<int32_t>(static_cast<uint32_t>(held_buttons) | static_cast<uint32_t>(wheel) << 16);
    return 2;
}

void console_wait_key() {
    bool terminal = console_input_is_terminal();
    console_mode before = console_set_mode(console_mode::keys);
    console_flush_input();
    for (;;) {
        console_input state = console_input_state();
        if (state == console_input::end || stop_program.load(std::memory_order_relaxed)) break;
        if (state == console_input::ready) {
            if (!terminal) {
                uint8_t b;
                console_read_byte(&b);  // a byte of piped input stands for the key
                break;
            }
            if (func__getconsoleinput() == 1) break;
            continue;
        }
        libzv_sleep_ms(10);
    }
    console_set_mode(before);
}

void console_input_reset_for_tests() {
    console_last_scancode = console_mouse_x = console_mouse_y = console_mouse_buttons = 0;
    held_buttons = 0;
}
