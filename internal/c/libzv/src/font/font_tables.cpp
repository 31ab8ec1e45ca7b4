// The font tables and the built-in font metrics.
#include "font/font_tables.h"

std::atomic<int32_t> font[font_table_capacity];
std::atomic<int32_t> fontwidth[font_table_capacity];
std::atomic<int32_t> fontheight[font_table_capacity];
std::atomic<int32_t> fontflags[font_table_capacity];
int32_t lastfont = 48;

void font_metrics_global_init() {
    static constexpr int32_t heights[3] = {8, 14, 16};
    for (int32_t h : heights) {
        // h and h + 1: single and double width of the same glyphs.
        fontwidth[h] = 8;
        fontwidth[h + 1] = 16;
        fontheight[h] = h;
        fontheight[h + 1] = h;
        fontflags[h] = FONT_MONOSPACE;
        fontflags[h + 1] = FONT_MONOSPACE;
    }
}

void font_tables_reset_for_tests() {
    for (int32_t i = 0; i < font_table_capacity; i++) {
        font[i] = 0;
        fontwidth[i] = 0;
        fontheight[i] = 0;
        fontflags[i] = 0;
    }
    lastfont = 48;
    font_metrics_global_init();
}

bool font_is_loaded(int32_t n) { return n >= first_loaded_font && n <= lastfont && font[n] != 0; }
