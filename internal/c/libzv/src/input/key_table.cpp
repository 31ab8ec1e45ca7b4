// The key translation table, built at compile time from the per-key lists below.
#include "input/key_table.h"

#include <array>

namespace {

using row_t = std::array<int32_t, 10>;
using table_t = std::array<row_t, key_table_rows>;

struct char_key {
    int32_t character, scancode, plain, shift, ctrl, alt;
};

// Character rows: the entries with no modifier and with Shift are the character
// itself except where a row says otherwise.
constexpr char_key char_keys[] = {
    {8, 14, 8, 8, 127, 0xE00},    {9, 15, 9, 0xF00, 0x9400, 0}, {13, 28, 13, 13, 10, 0},
    {27, 1, 27, 27, 27, 0},       {32, 57, 32, 32, 32, 0},      {'!', 2, '!', '!', 0, 0x7800},
    {'"', 40, '"', '"', 0, 0x2800}, {'#', 4, '#', '#', 0, 0x7A00}, {'$', 5, '$', '$', 0, 0x7B00},
    {'%', 6, '%', '%', 0, 0x7C00}, {'&', 8, '&', '&', 0, 0x7E00}, {'\'', 40, '\'', '\'', 0, 0x2800},
    {'(', 10, '(', '(', 0, 0x8000}, {')', 11, ')', ')', 0, 0x8100}, {'*', 9, '*', '*', 0, 0x7F00},
    {'+', 13, '+', '+', 0, 0x8300}, {',', 51, ',', ',', 0, 0x3300}, {'-', 12, '-', '-', 31, 0x8200},
    {'.', 52, '.', '.', 0, 0x3400}, {'/', 53, '/', '/', 0, 0x3500}, {'0', 11, '0', '0', 0, 0x8100},
    {'1', 2, '1', '1', 0, 0x7800}, {'2', 3, '2', '2', 0x300, 0x7900}, {'3', 4, '3', '3', 0, 0x7A00},
    {'4', 5, '4', '4', 0, 0x7B00}, {'5', 6, '5', '5', 0, 0x7C00}, {'6', 7, '6', '6', 30, 0x7D00},
    {'7', 8, '7', '7', 0, 0x7E00}, {'8', 9, '8', '8', 0, 0x7F00}, {'9', 10, '9', '9', 0, 0x8000},
    {':', 39, ':', ':', 0, 0x2700}, {';', 39, ';', ';', 0, 0x2700}, {'<', 51, '<', '<', 0, 0x3300},
    {'=', 13, '=', '=', 0, 0x8300}, {'>', 52, '>', '>', 0, 0x3400}, {'?', 53, '?', '?', 0, 0x3500},
    {'@', 3, '@', '@', 0x300, 0x7900}, {'[', 26, '[', '[', 27, 0x1A00}, {'{', 26, '{', '{', 27, 0x1A00},
    {'\\', 43, '\\', '\\', 28, 0x2B00}, {'|', 43, '|', '|', 28, 0x2B00}, {']', 27, ']', ']', 29, 0x1B00},
    {'}', 27, '}', '}', 29, 0x1B00}, {'^', 7, '^', '^', 30, 0x7D00}, {'_', 12, '_', '_', 31, 0x8200},
    {'`', 41, '`', '`', 0, 0x2900}, {'~', 41, '~', '~', 0, 0x2900},
};

// Scancodes of A..Z in alphabetical order.
constexpr int32_t letter_scancodes[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                          49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

struct extended_key {
    int32_t row_scancode, scancode, plain, shift, ctrl, alt;
};

constexpr extended_key extended_keys[] = {
    {71, 71, 0x4700, 0x4700, 0x7700, 0x9700}, {72, 72, 0x4800, 0x4800, 0x8D00, 0x9800},
    {73, 73, 0x4900, 0x4900, 0x8400, 0x9900}, {75, 75, 0x4B00, 0x4B00, 0x7300, 0x9B00},
    {77, 77, 0x4D00, 0x4D00, 0x7400, 0x9D00}, {79, 79, 0x4F00, 0x4F00, 0x7500, 0x9F00},
    {80, 80, 0x5000, 0x5000, 0x9100, 0xA000}, {81, 81, 0x5100, 0x5100, 0x7600, 0xA100},
    {82, 82, 0x5200, 0x5200, 0x9200, 0xA200}, {83, 83, 0x5300, 0x5300, 0x9300, 0xA300},
    {133, 87, 0x8500, 0x8500, 0x8900, 0x8B00}, {134, 88, 0x8600, 0x8600, 0x8A00, 0x8C00},
};

struct keypad_key {
    int32_t scancode, plain, shift, ctrl, alt, numlock, numlock_shift;
};

// Keypad 0-9, '.', '/', '*', '-', '+', Enter.
constexpr keypad_key keypad_keys[16] = {
    {82, 0x5200, 48, 0x9200, 0, 48, 0x5200}, {79, 0x4F00, 49, 0x7500, 0, 49, 0x4F00},
    {80, 0x5000, 50, 0x9100, 0, 50, 0x5000}, {81, 0x5100, 51, 0x7600, 0, 51, 0x5100},
    {75, 0x4B00, 52, 0x7300, 0, 52, 0x4B00}, {76, 0x4C00, 53, 0x8F00, 0, 53, 0x4C00},
    {77, 0x4D00, 54, 0x7400, 0, 54, 0x4D00}, {71, 0x4700, 55, 0x7700, 0, 55, 0x4700},
    {72, 0x4800, 56, 0x8D00, 0, 56, 0x4800}, {73, 0x4900, 57, 0x8400, 0, 57, 0x4900},
    {83, 0x5300, 46, 0x9300, 0, 46, 0x5300}, {53, 47, 47, 0x9500, 0xA400, 47, 47},
    {55, 42, 42, 0x9600, 0x3700, 42, 42},    {74, 45, 45, 0x8E00, 0x4A00, 45, 45},
    {78, 43, 43, 0x9000, 0x4E00, 43, 43},    {28, 13, 13, 10, 0xA600, 13, 13},
};

constexpr table_t build() {
    table_t t{};
    for (const char_key& k : char_keys) t[k.character] = {k.character, k.scancode, k.plain, k.shift, k.ctrl, k.alt};
    for (int32_t i = 0; i < 26; ++i) {
        int32_t sc = letter_scancodes[i];
        int32_t upper = 'A' + i, lower = 'a' + i;
        // The upper-case rows name the lower-case letter as their own code.
        t[upper] = {lower, sc, upper, upper, i + 1, sc * 256};
        t[lower] = {lower, sc, lower, lower, i + 1, sc * 256};
    }
    for (int32_t i = 0; i < 10; ++i) {
        int32_t sc = 59 + i;
        t[256 + sc] = {sc * 256, sc, (0x3B + i) * 256, (0x54 + i) * 256, (0x5E + i) * 256, (0x68 + i) * 256};
    }
    for (const extended_key& k : extended_keys)
        t[256 + k.row_scancode] = {k.row_scancode * 256, k.scancode, k.plain, k.shift, k.ctrl, k.alt};
    for (int32_t i = 0; i < 16; ++i) {
        const keypad_key& k = keypad_keys[i];
        t[key_table_keypad_row + i] = {100256 + i, k.scancode, k.plain, k.shift, k.ctrl, k.alt, k.numlock, 0, 0,
                                       k.numlock_shift};
    }
    return t;
}

constexpr table_t key_translation_table = build();

}  // namespace

int32_t key_table(int32_t row, int32_t column) {
    if (row < 0 || row >= key_table_rows || column < 0 || column >= 10) return 0;
    return key_translation_table[row][column];
}
