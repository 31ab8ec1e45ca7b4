// The emulated VGA palette ports (OUT 3C0h, 3C7h, 3C8h, 3C9h; the read side of
// 3C9h for INP) and _BLINK.
#pragma once
#include <atomic>
#include <cstdint>

// 1: text attribute bit 7 blinks; 0: it is the fourth background bit. The frame
// producer reads it.
extern std::atomic<int32_t> H3C0_blink_enable;
// 1 after an OUT or INP to a port that is not emulated.
extern int32_t unsupported_port_accessed;

// OUT port, value.
void sub_out(int32_t port, int32_t value);
// INP of port 3C9h: the next component (red, green, blue) of the read entry as 0-63,
// then the read position advances; 0 when the write image has no palette.
int32_t vga_palette_data_read();

// _BLINK {ON | OFF}: 1 is ON, anything else OFF.
void sub__blink(int32_t on);
// _BLINK function: -1 while blinking is enabled, else 0.
int32_t func__blink();

// Start values of the port state (tests).
void vga_ports_reset_for_tests();
