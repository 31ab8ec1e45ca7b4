// Font numbers and the four font tables: back-end handle, cell width, cell height
// and option bits, indexed by font number.
#pragma once
#include <atomic>
#include <cstdint>

// Option bits of fontflags.
constexpr int32_t FONT_DONTBLEND = 0x08;
constexpr int32_t FONT_MONOSPACE = 0x10;
constexpr int32_t FONT_UNICODE = 0x20;
constexpr int32_t FONT_AUTOMONO = 0x40;

// The first number a loaded font can get.
constexpr int32_t first_loaded_font = 32;

// The tables have a fixed capacity: the frame producer reads them on its own thread,
// so they never move. lastfont + 1 entries are in use.
constexpr int32_t font_table_capacity = 1024;

extern std::atomic<int32_t> font[font_table_capacity];        // back-end handle, 0 built-in or free
extern std::atomic<int32_t> fontwidth[font_table_capacity];   // 0 marks a proportional font
extern std::atomic<int32_t> fontheight[font_table_capacity];
extern std::atomic<int32_t> fontflags[font_table_capacity];
// Highest valid font number (48 at start). Program thread only.
extern int32_t lastfont;

// Start-up: fonts 8, 14, 16 (8 wide) and 9, 15, 17 (16 wide), all monospace.
void font_metrics_global_init();
// Empties every table and runs the start-up again.
void font_tables_reset_for_tests();

// A loaded font currently holding a back-end handle (32..lastfont).
bool font_is_loaded(int32_t n);
