// The BIOS keyboard buffer and the keyboard flag bytes.
#include "input/bios_keyboard.h"

#include "input/key_code.h"
#include "input/key_held.h"
#include "memory/cmem.h"

namespace {

constexpr int64_t head_byte = 0x41A;
constexpr int64_t tail_byte = 0x41C;

uint8_t load(int64_t at) { return cmem_shared(at).load(std::memory_order_acquire); }
void store(int64_t at, uint8_t v) { cmem_shared(at).store(v, std::memory_order_release); }

}  // namespace

void bios_keyboard_empty() {
    store(head_byte + 1, 0);
    store(tail_byte + 1, 0);
    store(head_byte, bios_keyboard_first);
    store(tail_byte, bios_keyboard_first);
}

void bios_keyboard_queue(uint8_t ascii, uint8_t scancode) {
    int32_t tail = load(tail_byte);
    // A tail poked outside the buffer would make the entry land on the data block.
    if (tail < bios_keyboard_first || tail > bios_keyboard_last) return;
    int32_t next = tail + 2;
    if (next == 0x3E) next = bios_keyboard_first;
    if (next == load(head_byte)) return;
    store(0x400 + tail, ascii);
    store(0x401 + tail, scancode);
    store(tail_byte, uint8_t(next));
}

bios_keyboard_entry bios_keyboard_take() {
    int32_t head = load(head_byte);
    if (head == load(tail_byte)) return {false, 0, 0};
    bios_keyboard_entry e{true, load(0x400 + head), load(0x401 + head)};
    store(head_byte, uint8_t(head == bios_keyboard_last ? bios_keyboard_first : head + 2));
    return e;
}

void update_shift_state() {
    bool right_ctrl = keyheld(key::right_ctrl), left_ctrl = keyheld(key::left_ctrl);
    bool right_alt = keyheld(key::right_alt), left_alt = keyheld(key::left_alt);
    uint8_t b417 = 0;
    if (keyheld(key::right_shift)) b417 |= 0x01;
    if (keyheld(key::left_shift)) b417 |= 0x02;
    if (right_ctrl || left_ctrl) b417 |= 0x04;
    if (right_alt || left_alt) b417 |= 0x08;
    if (keyheld(key::scroll_lock_state)) b417 |= 0x10;
    if (keyheld(key::num_lock)) b417 |= 0x20;
    if (keyheld(key::caps_lock)) b417 |= 0x40;
    if (keyheld(key::insert_state)) b417 |= 0x80;
    uint8_t b418 = 0;
    if (left_ctrl) b418 |= 0x01;
    if (left_alt) b418 |= 0x02;
    if (keyheld(key::sys_req)) b418 |= 0x04;
    if (keyheld(key::pause)) b418 |= 0x08;
    if (keyheld(key::scroll_lock)) b418 |= 0x10;
    if (keyheld(key::insert)) b418 |= 0x80;
    uint8_t b496 = 0x10;
    if (right_ctrl) b496 |= 0x01;
    if (right_alt) b496 |= 0x02;
    store(0x417, b417);
    store(0x418, b418);
    store(0x496, b496);
}
