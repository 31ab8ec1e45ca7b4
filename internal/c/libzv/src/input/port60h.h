// The port 60h scancode queue: 256 bytes of PC scancodes (a release is the scancode
// plus 128) that INP(&H60) reads. Both sides take the keyboard mutex.
#pragma once
#include <cstdint>

constexpr int32_t port60h_size = 256;

// Start-up: the byte answered before any key (0x81), nothing queued.
void port60h_global_init();
// Appends sc unless the last queued byte already equals it; a full queue drops its
// oldest byte first.
void scancodedown(uint8_t sc);
void scancodeup(uint8_t sc);  // sc + 128
// INP(&H60): the oldest byte, which leaves the queue; an empty queue answers the
// byte at its front again (the last one taken).
uint8_t port60h_take();
// _KEYCLEAR 3: nothing queued.
void port60h_clear();
int32_t port60h_events();
