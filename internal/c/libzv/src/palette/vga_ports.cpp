// OUT to the VGA palette ports, the palette read port and _BLINK.
#include "palette/vga_ports.h"

#include "error/error.h"
#include "image/image_table.h"
#include "palette/palette.h"

std::atomic<int32_t> H3C0_blink_enable{1};
int32_t unsupported_port_accessed = 0;

namespace {

int32_t H3C7_palette_register_read_index = 0;
int32_t H3C9_read_next = 0;
int32_t H3C8_palette_register_index = 0;
int32_t H3C9_next = 0;

// Bit position of DAC component 0 red, 1 green, 2 blue in a palette entry.
int component_shift(int32_t component) { return 16 - 8 * component; }

}  // namespace

void sub_out(int32_t port, int32_t value) {
    if (new_error) return;
    unsupported_port_accessed = 0;
    value &= 255;
    switch (port & 0xFFFF) {
        case 0x3C0:
            H3C0_blink_enable.store(value & 8 ? 1 : 0, std::memory_order_relaxed);
            break;
        case 0x3C7:
            H3C7_palette_register_read_index = value;
            H3C9_read_next = 0;
            break;
        case 0x3C8:
            H3C8_palette_register_index = value;
            H3C9_next = 0;
            break;
        case 0x3C9:
            if (uint32_t* pal = write_page()->palette) {
                int shift = component_shift(H3C9_next);
                uint32_t entry = palette_get(pal, H3C8_palette_register_index);
                uint32_t channel = static_cast<uint32_t>(palette_dac_to_channel(static_cast<uint32_t>(value) & 63));
                palette_set(pal, H3C8_palette_register_index, (entry & ~(0xFFu << shift)) | channel << shift);
            }
            if (++H3C9_next == 3) {
                H3C9_next = 0;
                H3C8_palette_register_index = (H3C8_palette_register_index + 1) & 255;
            }
            break;
        default:
            unsupported_port_accessed = 1;
            break;
    }
}

int32_t vga_palette_data_read() {
    uint32_t* pal = write_page()->palette;
    if (!pal) return 0;
    uint32_t entry = palette_get(pal, H3C7_palette_register_read_index);
    int32_t result = palette_channel_to_dac(entry >> component_shift(H3C9_read_next) & 255);
    if (++H3C9_read_next == 3) {
        H3C9_read_next = 0;
        H3C7_palette_register_read_index = (H3C7_palette_register_read_index + 1) & 255;
    }
    return result;
}

void sub__blink(int32_t on) {
    if (new_error) return;
    H3C0_blink_enable.store(on == 1 ? 1 : 0, std::memory_order_relaxed);
}

int32_t func__blink() {
    if (new_error) return 0;
    return H3C0_blink_enable.load(std::memory_order_relaxed) ? -1 : 0;
}

void vga_ports_reset_for_tests() {
    H3C0_blink_enable.store(1);
    unsupported_port_accessed = 0;
    H3C7_palette_register_read_index = H3C9_read_next = 0;
    H3C8_palette_register_index = H3C9_next = 0;
}
