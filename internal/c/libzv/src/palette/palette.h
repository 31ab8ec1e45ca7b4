// Default palettes, the per-mode palette reset and palette entry access.
#pragma once
#include <atomic>
#include <cstdint>

#include "image/img_struct.h"

// Filled by palette_global_init, never changed afterwards. Alpha 255 in every entry.
extern uint32_t palette_256[256];  // the VGA BIOS palette of mode 13h
extern uint32_t palette_64[64];    // the EGA 64-colour palette
// SCREEN 10 pseudo-colours 0-8 in two blink phases (no alpha).
extern uint32_t pal_mode10[2][9];

// Start-up: fills the three tables above.
void palette_global_init();

// Puts a record's palette back to its mode's default; entries the mode does not
// name keep their values. Nothing for a 32-bit record.
void restorepalette(img_struct* im);

// Palette entries are written on the program thread and read by the frame producer
// (which writes SCREEN 10's entries 0-3): relaxed atomic access on both sides.
inline uint32_t palette_get(const uint32_t* palette, int32_t i) {
    return std::atomic_ref<uint32_t>(const_cast<uint32_t*>(palette)[i]).load(std::memory_order_relaxed);
}
inline void palette_set(uint32_t* palette, int32_t i, uint32_t value) {
    std::atomic_ref<uint32_t>(palette[i]).store(value, std::memory_order_relaxed);
}

// A 6-bit DAC component as an 8-bit channel (PALETTE, OUT 3C9h): 0 -> 0, 63 -> 255.
int32_t palette_dac_to_channel(uint32_t v6);
// An 8-bit channel as a 6-bit DAC component (INP 3C9h): the inverse of the above.
int32_t palette_channel_to_dac(uint32_t v8);
