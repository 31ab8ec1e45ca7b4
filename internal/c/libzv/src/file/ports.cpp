// INP and WAIT: reading the emulated keyboard and VGA ports.
#include "file/ports.h"

#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "error/error.h"
#include "input/port60h.h"
#include "palette/vga_ports.h"

namespace {

bool outside(int64_t value, int64_t low, int64_t high) { return value < low || value > high; }

// One read of a port already taken as 16 bits.
int32_t port_read(int32_t port) {
    unsupported_port_accessed = 0;
    switch (port) {
        case 0x3C9: return vga_palette_data_read();
        case 0x3DA: {
            // A retrace seen since the last look counts once; one in progress every time.
            bool happened = vertical_retrace_happened.exchange(0, std::memory_order_relaxed) != 0;
            return happened || vertical_retrace_in_progress.load(std::memory_order_relaxed) ? 8 : 0;
        }
        case 0x60: return port60h_take();
        default: unsupported_port_accessed = 1; return 0;
    }
}

}  // namespace

int32_t func_inp(int32_t port) {
    if (new_error_is_set()) return 0;
    unsupported_port_accessed = 0;
    if (outside(port, -65536, 65535)) {
        error(ERR_OVERFLOW);
        return 0;
    }
    return port_read(port & 0xFFFF);
}

void sub_wait(int32_t port, int32_t and_mask, int32_t xor_mask, int32_t passed) {
    if (new_error_is_set()) return;
    if (outside(port, -65536, 65535) || outside(and_mask, -32768, 65535) ||
        (passed && outside(xor_mask, -32768, 65535)))
        return error(ERR_OVERFLOW);
    for (;;) {
        int32_t value = port_read(port & 0xFFFF);
        if (passed) value ^= xor_mask & 255;
        value &= and_mask & 255;
        if (value || unsupported_port_accessed || stop_program.load(std::memory_order_relaxed) || new_error_is_set())
            return;
        libzv_sleep_ms(1);
    }
}
