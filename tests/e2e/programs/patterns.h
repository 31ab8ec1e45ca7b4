// Test pictures shared by the presentation scenario program and its tests: colour
// indices or 32-bit colours per pixel, made of axis-aligned boxes and single pixels.
#pragma once
#include <cstdint>

// SCREEN 12 (640 x 480, 16 colours): 16 x 16 boxes cycling through the colours, a
// one-pixel frame in colour 15 and single pixels of colour 14 inside two corners.
// The program draws it with LINE BF, LINE B and PSET.
inline uint8_t pattern_mode12(int32_t x, int32_t y) {
    if (x == 0 || y == 0 || x == 639 || y == 479) return 15;
    if ((x == 1 && y == 1) || (x == 638 && y == 478)) return 14;
    return static_cast<uint8_t>((x / 16 + (y / 16) * 3) % 16);
}

// The second picture of the _DISPLAY scenario: the same with the colours shifted.
inline uint8_t pattern_mode12_second(int32_t x, int32_t y) { return static_cast<uint8_t>((pattern_mode12(x, y) + 5) % 16); }

// SCREEN 13 (320 x 200, 256 colours): 10 x 10 boxes through the palette and a
// one-pixel frame in colour 15.
inline uint8_t pattern_mode13(int32_t x, int32_t y) {
    if (x == 0 || y == 0 || x == 319 || y == 199) return 15;
    return static_cast<uint8_t>(x / 10 + (y / 10) * 32);
}

// 32-bit (640 x 480): every pixel its own colour, so that a shift by one shows.
inline uint32_t pattern_32bit(int32_t x, int32_t y) {
    return 0xFF000000u | static_cast<uint32_t>((x * 7) & 255) << 16 | static_cast<uint32_t>((y * 3) & 255) << 8 |
           static_cast<uint32_t>((x ^ y) & 255);
}

// The hardware image of the hardware scenario: 64 x 32, four 32 x 16 quadrants.
inline uint32_t pattern_sprite(int32_t x, int32_t y) {
    static constexpr uint32_t quadrant[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    return quadrant[(x >= 32) + 2 * (y >= 16)];
}
// Where the scenario puts the hardware image on the screen (top-left corner).
constexpr int32_t sprite_x = 100, sprite_y = 60;
