// Frames of graphics pages: palette pages through a copy of their palette (with
// SCREEN 10's blinking colours), 32-bit pages by a plain copy; each only when changed.
#include <cstdlib>
#include <cstring>

#include "clock/clock.h"
#include "display/display.h"
#include "display/producer_internal.h"
#include "palette/palette.h"

uint32_t paldata[256];

namespace {

// The last converted palette page: its pixel bytes and its shape.
uint8_t* pixeldata = nullptr;
int64_t pixeldatasize = 0;
int32_t pixeldata_w = 0, pixeldata_h = 0;

// SCREEN 10 shows entries 0-3 as the pseudo-colours named by entries 4-7, in the
// blink phase of the clock (512 ms each). Entries 4-7 can be given any value
// (_PALETTECOLOR, OUT &H3C9); one outside the 9 pseudo-colours shows as colour 0.
void update_mode10_colours(uint32_t* palette) {
    int32_t phase = (GetTicks() & 0x200) ? 1 : 0;
    for (int32_t i = 0; i < 4; i++) {
        uint32_t pseudo = palette_get(palette, i + 4);
        if (pseudo > 8) pseudo = 0;
        palette_set(palette, i, pal_mode10[phase][pseudo]);
    }
}

bool palette_differs(const uint32_t* palette, int32_t colours) {
    for (int32_t i = 0; i < colours; i++)
        if (palette_get(palette, i) != paldata[i]) return true;
    return false;
}

}  // namespace

void palette_frames_reset() {
    free(pixeldata);
    pixeldata = nullptr;
    pixeldatasize = 0;
    pixeldata_w = pixeldata_h = 0;
    memset(paldata, 0, sizeof paldata);
}

bool produce_palette_frame(img_struct* page, display_frame_record* slot) {
    if (page->legacy_mode == 10) update_mode10_colours(page->palette);
    int32_t w = page->width, h = page->height;
    int64_t count = static_cast<int64_t>(w) * h;
    int32_t colours = 1 << page->bits_per_pixel;

    bool changed = force_display_update.load(std::memory_order_relaxed) != 0;
    if (count != pixeldatasize) {
        auto* grown = static_cast<uint8_t*>(malloc(static_cast<size_t>(count)));
        if (!grown) return false;
        free(pixeldata);
        pixeldata = grown;
        pixeldatasize = count;
        changed = true;
    } else if (w != pixeldata_w || h != pixeldata_h) {
        // The same number of pixels in a new shape is a new picture.
        changed = true;
    }
    if (!changed) {
        if (!displayorder_screen.load(std::memory_order_relaxed)) return false;
        changed = !display_page_buffer_equal(page->pixels, pixeldata, static_cast<size_t>(count)) ||
                  palette_differs(page->palette, colours) || !screen_last_valid.load(std::memory_order_relaxed);
        if (!changed) return false;
    }

    if (!frame_slot_fit(slot, w, h)) {
        // The copy no longer matches a shown frame.
        pixeldata_w = pixeldata_h = 0;
        return false;
    }
    display_page_buffer_copy(pixeldata, page->pixels, static_cast<size_t>(count));
    pixeldata_w = w;
    pixeldata_h = h;
    for (int32_t i = 0; i < colours; i++) paldata[i] = palette_get(page->palette, i);
    uint32_t* out = slot->pixels;
    for (int64_t i = 0; i < count; i++) out[i] = paldata[pixeldata[i]];
    return true;
}

bool produce_32bit_frame(const img_struct* page, display_frame_record* slot) {
    int32_t w = page->width, h = page->height;
    size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
    display_frame_record* newest = newest_frame();
    bool changed = force_display_update.load(std::memory_order_relaxed) || !newest ||
                   !screen_last_valid.load(std::memory_order_relaxed) || newest->w != w || newest->h != h;
    if (!changed) {
        if (!displayorder_screen.load(std::memory_order_relaxed)) return false;
        if (display_page_buffer_equal(page->pixels, newest->pixels, bytes)) return false;
    }
    if (!frame_slot_fit(slot, w, h)) return false;
    display_page_buffer_copy(slot->pixels, page->pixels, bytes);
    return true;
}
