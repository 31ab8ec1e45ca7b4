// Frames of text pages: glyphs in their attribute colours, blinking and the text
// cursor, redrawn cell by cell over a copy of the previous frame.
#include <cstdlib>
#include <cstring>

#include "core/runtime_flags.h"
#include "display/display.h"
#include "display/producer_internal.h"
#include "font/glyphs.h"
#include "palette/palette.h"
#include "palette/vga_ports.h"
#include "platform/alert.h"

namespace {

// Cells of the last text frame (character, attribute pairs) and what else it showed.
uint8_t* screen_last = nullptr;
int64_t screen_last_size = 0;
int32_t last_phase = 0;
int32_t last_cursor_x = -1, last_cursor_y = -1;
int32_t last_text_w = 0, last_text_h = 0;
int64_t last_text_order = 0;

// One row of the page's cells, copied once before it is drawn.
uint8_t* row_cells = nullptr;
int64_t row_cells_size = 0;

// Text cursor fields are written by the program thread without the display lock.
template <class T>
T relaxed(const T& field) {
    return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
}

struct cursor_lines {
    int32_t first, last;  // inclusive; first > last draws nothing
};

// The scan lines a text cursor covers in a cell fh lines high, from its first (F)
// and last (L) scan line (0-31). Rules apply first-match; lines outside the cell
// are dropped.
cursor_lines cursor_shape(int32_t F, int32_t L, int32_t fh) {
    // A cursor "anchored at the bottom" ends on the cell's last line, or on line 14
    // of a 16-line font.
    int32_t bottom = fh == 16 ? 14 : fh - 1;
    cursor_lines c{0, -1};
    if (L == 0) {
        if (F == 0) c = {0, 0};
    } else if (L < F) {
        c = {L, fh - 1};
    } else if (F == L) {
        c = F <= 3 ? cursor_lines{F, F} : cursor_lines{bottom, bottom};
    } else if (F >= 3) {
        int32_t span = L - F;
        if (span == 1)
            c = {bottom - 1, bottom};
        else if (span == 2)
            c = {bottom - 2, bottom};
        else
            c = {fh - fh / 2, fh - 1};
    } else if (F <= 1) {
        c = L <= 3 ? cursor_lines{F, L} : cursor_lines{F, fh - 1};
    } else {  // F == 2, L > 2
        if (L == 3)
            c = {2, 3};
        else if (L == 4)
            c = {bottom - 2, bottom};
        else
            c = {2, fh - 1};
    }
    if (c.first < 0) c.first = 0;
    if (c.last > fh - 1) c.last = fh - 1;
    return c;
}

struct glyph_source {
    const uint8_t* rows;  // 8 bytes per glyph row; null: no glyph (background only)
    bool wide;            // each glyph pixel covers two frame pixels
};

glyph_source glyph_for(int32_t font, uint8_t c, int32_t fw, int32_t fh) {
    // Built-in fonts have fixed cells; any other size has no glyphs to draw.
    bool wide = font == 9 || font == 15 || font == 17;
    int32_t height = font == 8 || font == 9 ? 8 : font == 14 || font == 15 ? 14 : 16;
    if (fw != (wide ? 16 : 8) || fh != height) return {nullptr, false};
    switch (font) {
        case 8: return {charset8x8 + c * 64, false};
        case 9: return {charset8x8 + c * 64, true};
        case 14: return {charset8x16 + c * 128 + 8, false};
        case 15: return {charset8x16 + c * 128 + 8, true};
        case 16: return {charset8x16 + c * 128, false};
        case 17: return {charset8x16 + c * 128, true};
        // Loaded fonts have no renderer: the cell shows its background.
        default: return {nullptr, false};
    }
}

struct cell_painter {
    uint32_t* frame;
    int32_t stride;  // frame width in pixels
    int32_t fw, fh, font;
    int32_t phase;
    bool blink_enabled;

    void draw(int32_t cx, int32_t cy, uint8_t c, uint8_t a) const {
        int32_t fg = a & 15, bg;
        bool blink = false;
        if (blink_enabled) {
            bg = (a >> 4) & 7;
            blink = a & 0x80;
        } else {
            bg = a >> 4;
        }
        if (blink && phase) fg = bg;
        uint32_t ink = paldata[fg], paper = paldata[bg];
        glyph_source g = glyph_for(font, c, fw, fh);
        uint32_t* origin = frame + static_cast<int64_t>(cy) * fh * stride + static_cast<int64_t>(cx) * fw;
        for (int32_t y = 0; y < fh; y++) {
            uint32_t* out = origin + static_cast<int64_t>(y) * stride;
            if (!g.rows) {
                for (int32_t x = 0; x < fw; x++) out[x] = paper;
                continue;
            }
            const uint8_t* row = g.rows + y * 8;
            for (int32_t x = 0; x < fw; x++) out[x] = row[g.wide ? x / 2 : x] ? ink : paper;
        }
    }

    void draw_cursor(int32_t cx, int32_t cy, uint8_t a, cursor_lines lines) const {
        uint32_t colour = paldata[a & 15];
        uint32_t* origin = frame + static_cast<int64_t>(cy) * fh * stride + static_cast<int64_t>(cx) * fw;
        for (int32_t y = lines.first; y <= lines.last; y++) {
            uint32_t* out = origin + static_cast<int64_t>(y) * stride;
            for (int32_t x = 0; x < fw; x++) out[x] = colour;
        }
    }
};

// Grows one of the producer's byte buffers, keeping the old one on failure.
bool grow(uint8_t** buffer, int64_t* size, int64_t wanted) {
    if (*size == wanted) return true;
    auto* grown = static_cast<uint8_t*>(malloc(static_cast<size_t>(wanted)));
    if (!grown) return false;
    free(*buffer);
    *buffer = grown;
    *size = wanted;
    return true;
}

}  // namespace

void text_frames_reset() {
    free(screen_last);
    screen_last = nullptr;
    screen_last_size = 0;
    free(row_cells);
    row_cells = nullptr;
    row_cells_size = 0;
    last_phase = 0;
    last_cursor_x = last_cursor_y = -1;
    last_text_w = last_text_h = 0;
    last_text_order = 0;
}

bool produce_text_frame(const img_struct* page, display_frame_record* slot, int32_t fw, int32_t fh) {
    int32_t cols = page->width, rows = page->height;
    bool valid = screen_last_valid.load(std::memory_order_relaxed) != 0;

    int64_t cell_bytes = static_cast<int64_t>(cols) * rows * 2;
    if (cell_bytes != screen_last_size) {
        if (!grow(&screen_last, &screen_last_size, cell_bytes)) return false;
        valid = false;
    }
    // Another font on the same cells is a new picture too.
    int32_t frame_w = cols * fw, frame_h = rows * fh;
    if (frame_w != last_text_w || frame_h != last_text_h) valid = false;
    if (!displayorder_screen.load(std::memory_order_relaxed) && valid) return false;

    bool palette_changed = false;
    for (int32_t i = 0; i < 256; i++) {
        uint32_t v = palette_get(page->palette, i);
        if (v != paldata[i]) palette_changed = true;
        paldata[i] = v;
    }
    if (palette_changed) valid = false;

    bool changed = !valid;
    if (valid) changed = !display_page_buffer_equal(page->pixels, screen_last, static_cast<size_t>(cell_bytes));

    int32_t phase = (frame.load(std::memory_order_relaxed) & 8) ? 1 : 0;
    int32_t cursor_x = relaxed(page->cursor_x) - 1, cursor_y = relaxed(page->cursor_y) - 1;
    if (relaxed(page->cursor_held) == 2 && cursor_y < rows - 1) {
        cursor_x = 0;
        cursor_y++;
    }
    bool cursor_moved = cursor_x != last_cursor_x || cursor_y != last_cursor_y;
    bool phase_changed = phase != last_phase;
    if (valid && (phase_changed || cursor_moved)) changed = true;
    if (!changed) return false;

    if (!frame_slot_fit(slot, frame_w, frame_h)) return false;
    if (!grow(&row_cells, &row_cells_size, static_cast<int64_t>(cols) * 2)) return false;

    if (valid) {
        // The starting picture is the previous text frame; when that frame is gone or
        // has another shape, everything is drawn.
        display_frame_record* previous = newest_frame();
        if (!previous) {
            gui_alert("Text Screen Update: Failed to locate previous frame's data for comparison", "Error", "ok");
            valid = false;
        } else if (previous->w != frame_w || previous->h != frame_h ||
                   previous->order.load(std::memory_order_relaxed) != last_text_order) {
            valid = false;
        } else {
            memcpy(slot->pixels, previous->pixels, static_cast<size_t>(frame_w) * static_cast<size_t>(frame_h) * 4);
        }
    }

    cell_painter painter{slot->pixels, frame_w, fw, fh, page->font, phase,
                         H3C0_blink_enable.load(std::memory_order_relaxed) == 1};
    bool show_cursor = relaxed(page->cursor_show) != 0 && phase == 1;
    cursor_lines lines = cursor_shape(relaxed(page->cursor_firstvalue), relaxed(page->cursor_lastvalue), fh);

    for (int32_t cy = 0; cy < rows; cy++) {
        int64_t row_offset = static_cast<int64_t>(cy) * cols * 2;
        display_page_buffer_copy(row_cells, page->pixels + row_offset, static_cast<size_t>(cols) * 2);
        uint8_t* remembered = screen_last + row_offset;
        for (int32_t cx = 0; cx < cols; cx++) {
            uint8_t c = row_cells[cx * 2], a = row_cells[cx * 2 + 1];
            bool at_cursor = cx == cursor_x && cy == cursor_y;
            // A moved cursor redraws both its old cell and its new one.
            bool draw = !valid || c != remembered[cx * 2] || a != remembered[cx * 2 + 1] ||
                        ((a & 0x80) && phase_changed) || (at_cursor && (phase_changed || cursor_moved)) ||
                        (cursor_moved && cx == last_cursor_x && cy == last_cursor_y);
            if (!draw) continue;
            remembered[cx * 2] = c;
            remembered[cx * 2 + 1] = a;
            painter.draw(cx, cy, c, a);
            if (at_cursor && show_cursor) painter.draw_cursor(cx, cy, a, lines);
        }
    }

    last_phase = phase;
    last_cursor_x = cursor_x;
    last_cursor_y = cursor_y;
    last_text_w = frame_w;
    last_text_h = frame_h;
    last_text_order = slot->order.load(std::memory_order_relaxed);
    return true;
}
