// Interrupt 33h, the mouse driver: reset, show, hide, and position with buttons.
#include <algorithm>
#include <cmath>

#include "image/image_table.h"
#include "image/img_struct.h"
#include "input/mouse_functions.h"
#include "input/mouse_ring.h"
#include "input/mouse_statements.h"
#include "x86/cpu.h"
#include "x86/interrupts.h"

namespace {

// A page coordinate as a register value, truncated toward zero.
uint16_t truncated(double v) {
    if (!std::isfinite(v)) return 0;
    return uint16_t(int32_t(std::trunc(std::clamp(v, -32768.0, 65535.0))));
}

// Text pages answer the centre of the cell in 8 x 8 units, lowered to the page's
// last unit when it reaches it.
uint16_t text_units(float cell, int32_t cells) {
    uint16_t v = truncated((double(cell) - 0.5) * 8);
    uint16_t last = uint16_t(cells * 8 - 1);
    return v >= last ? last : v;
}

// The newest message, read without moving the program's place in the ring.
void position_and_buttons(cpu_struct& cpu) {
    const mouse_message& m = mouse_newest_message();
    uint32_t buttons = m.buttons.load(std::memory_order_relaxed);
    // Bit 0 left, bit 1 right (the ring keeps right in bit 2).
    cpu_set_reg16(cpu, reg_bx, uint16_t((buttons & 1) | ((buttons >> 2) & 1) << 1));
    float x = mouse_message_x(m), y = mouse_message_y(m);
    uint16_t cx, dx;
    const img_struct* page = display_page();
    if (page && page->text) {
        cx = text_units(x, page->width);
        dx = text_units(y, page->height);
    } else {
        cx = truncated(x);
        dx = truncated(y);
        // 320-pixel-wide modes answer in 640-unit coordinates.
        if (page && (page->legacy_mode == 1 || page->legacy_mode == 7 || page->legacy_mode == 13))
            cx = uint16_t(cx * 2);
    }
    cpu_set_reg16(cpu, reg_cx, cx);
    cpu_set_reg16(cpu, reg_dx, dx);
}

}  // namespace

void call_int(int32_t n) {
    if (n != 0x33) return;
    cpu_struct& cpu = cpu_registers();
    switch (cpu_reg16(cpu, reg_ax)) {
    case 0:  // reset: driver present, two buttons
        cpu_set_reg16(cpu, reg_ax, 0xFFFF);
        cpu_set_reg16(cpu, reg_bx, 2);
        break;
    case 1:
        sub__mouseshow(nullptr, 0);
        break;
    case 2:
        sub__mousehide();
        break;
    case 3:
        position_and_buttons(cpu);
        break;
    default:
        break;
    }
}
