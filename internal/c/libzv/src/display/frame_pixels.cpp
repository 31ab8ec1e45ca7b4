// Frames of graphics pages: palette pages through a copy of their palette (with
// SCREEN 10's blinking colours), 32-bit pages by a plain copy; each only when changed.
//
// Both compare the page row by row and rewrite only the rows of the slot that
// changed since the frame the slot last held: each row keeps the number of the
// last frame in which it changed, and each slot the number of the frame it holds.
#include <immintrin.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

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

// Slot content tags: frame number times 4 plus the kind of page.
constexpr int64_t palette_kind = 1, pixels32_kind = 2;
int64_t content_tag(int64_t frame_number, int64_t kind) { return frame_number * 4 + kind; }
// The frame a slot holds when it holds one of this kind, else 0.
int64_t frame_of_kind(int64_t tag, int64_t kind) { return tag % 4 == kind ? tag / 4 : 0; }

// Per kind: the number of its last frame and, for each row, of the last frame in
// which the row changed.
struct row_history {
    int64_t last_frame = 0;
    std::vector<int64_t> changed;
    // A frame that rewrites every row; false when memory runs out.
    bool all_changed(int32_t rows, int64_t frame) {
        try {
            changed.assign(static_cast<size_t>(rows), frame);
            return true;
        } catch (const std::bad_alloc&) {
            changed.clear();
            return false;
        }
    }
    void reset() {
        last_frame = 0;
        changed.clear();
    }
};
row_history palette_rows, pixels32_rows;

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

using convert_row_fn = void (*)(const uint8_t* in, uint32_t* out, int32_t n);

convert_row_fn choose_convert_row() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) return palette_row_avx512;
    if (__builtin_cpu_supports("avx2")) return palette_row_avx2;
    return palette_row_plain;
}

const convert_row_fn convert_row = choose_convert_row();

// The first row from which the page differs from the copy (rows of row_bytes bytes),
// or rows when none does.
int32_t first_changed_row(const uint8_t* page, const uint8_t* copy, int32_t rows, size_t row_bytes) {
    for (int32_t y = 0; y < rows; y++) {
        size_t at = static_cast<size_t>(y) * row_bytes;
        if (!display_page_buffer_equal(page + at, copy + at, row_bytes)) return y;
    }
    return rows;
}

}  // namespace

void palette_row_plain(const uint8_t* in, uint32_t* out, int32_t n) {
    for (int32_t i = 0; i < n; i++) out[i] = paldata[in[i]];
}

// Indices below 16 (every pixel of a 16-colour page drawn within its mask) go
// through one register-held table; any other index is looked up in the whole table.

[[gnu::target("avx2")]] void palette_row_avx2(const uint8_t* in, uint32_t* out, int32_t n) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(paldata));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(paldata + 8));
    const __m128i above15 = _mm_set1_epi8(static_cast<char>(0xF0));
    int32_t i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (!_mm_testz_si128(bytes, above15)) {
            palette_row_plain(in + i, out + i, 16);
            continue;
        }
        for (int32_t half = 0; half < 2; half++) {
            __m256i index = _mm256_cvtepu8_epi32(half ? _mm_srli_si128(bytes, 8) : bytes);
            // Bit 3 of the index chooses the table half; the permutes use bits 0 to 2.
            __m256i from_high = _mm256_slli_epi32(index, 28);
            __m256i colour = _mm256_castps_si256(_mm256_blendv_ps(
                _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(low, index)),
                _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(high, index)), _mm256_castsi256_ps(from_high)));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i + half * 8), colour);
        }
    }
    palette_row_plain(in + i, out + i, n - i);
}

[[gnu::target("avx512f,avx512bw")]] void palette_row_avx512(const uint8_t* in, uint32_t* out, int32_t n) {
    const __m512i table = _mm512_loadu_si512(paldata);
    const __m128i above15 = _mm_set1_epi8(static_cast<char>(0xF0));
    int32_t i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        // The zero-masked forms: the plain ones start from an undefined register,
        // which the compiler reports as uninitialised.
        __m512i index = _mm512_maskz_cvtepu8_epi32(0xFFFF, bytes);
        __m512i colour = _mm_testz_si128(bytes, above15)
                             ? _mm512_maskz_permutexvar_epi32(0xFFFF, index, table)
                             : _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), 0xFFFF, index, paldata, 4);
        _mm512_storeu_si512(out + i, colour);
    }
    palette_row_plain(in + i, out + i, n - i);
}

void palette_frames_reset() {
    free(pixeldata);
    pixeldata = nullptr;
    pixeldatasize = 0;
    pixeldata_w = pixeldata_h = 0;
    memset(paldata, 0, sizeof paldata);
    palette_rows.reset();
    pixels32_rows.reset();
}

bool produce_palette_frame(img_struct* page, display_frame_record* slot) {
    if (page->legacy_mode == 10) update_mode10_colours(page->palette);
    int32_t w = page->width, h = page->height;
    int64_t count = static_cast<int64_t>(w) * h;
    int32_t colours = 1 << page->bits_per_pixel;

    // Every row is converted when the picture is new as a whole.
    bool whole = force_display_update.load(std::memory_order_relaxed) != 0;
    if (count != pixeldatasize) {
        auto* grown = static_cast<uint8_t*>(malloc(static_cast<size_t>(count)));
        if (!grown) return false;
        free(pixeldata);
        pixeldata = grown;
        pixeldatasize = count;
        whole = true;
    } else if (w != pixeldata_w || h != pixeldata_h) {
        // The same number of pixels in a new shape is a new picture.
        whole = true;
    }
    int32_t first_row = 0;
    if (!whole) {
        if (!displayorder_screen.load(std::memory_order_relaxed)) return false;
        whole = palette_differs(page->palette, colours) || !screen_last_valid.load(std::memory_order_relaxed);
        if (!whole) {
            first_row = first_changed_row(page->pixels, pixeldata, h, static_cast<size_t>(w));
            if (first_row == h) return false;
        }
    }

    int64_t held = 0;
    if (!frame_slot_fit(slot, w, h, &held)) {
        // The copy no longer matches a shown frame.
        pixeldata_w = pixeldata_h = 0;
        return false;
    }
    int64_t frame_number = ++palette_rows.last_frame;
    int64_t slot_frame = frame_of_kind(held, palette_kind);
    if (whole && !palette_rows.all_changed(h, frame_number)) {
        pixeldata_w = pixeldata_h = 0;
        return false;
    }
    for (int32_t i = 0; i < colours; i++) paldata[i] = palette_get(page->palette, i);
    for (int32_t y = 0; y < h; y++) {
        size_t at = static_cast<size_t>(y) * static_cast<size_t>(w);
        int64_t& changed = palette_rows.changed[static_cast<size_t>(y)];
        if (whole || (y >= first_row &&
                      !display_page_buffer_equal(page->pixels + at, pixeldata + at, static_cast<size_t>(w)))) {
            display_page_buffer_copy(pixeldata + at, page->pixels + at, static_cast<size_t>(w));
            changed = frame_number;
        } else if (changed <= slot_frame) {
            continue;  // the slot holds this row already
        }
        convert_row(pixeldata + at, slot->pixels + at, w);
    }
    pixeldata_w = w;
    pixeldata_h = h;
    frame_slot_set_content(slot, content_tag(frame_number, palette_kind));
    return true;
}

bool produce_32bit_frame(const img_struct* page, display_frame_record* slot) {
    int32_t w = page->width, h = page->height;
    size_t row_bytes = static_cast<size_t>(w) * 4;
    display_frame_record* newest = newest_frame();
    bool whole = force_display_update.load(std::memory_order_relaxed) || !newest ||
                 !screen_last_valid.load(std::memory_order_relaxed) || newest->w != w || newest->h != h;
    int32_t first_row = 0;
    if (!whole) {
        if (!displayorder_screen.load(std::memory_order_relaxed)) return false;
        const auto* shown = reinterpret_cast<const uint8_t*>(newest->pixels);
        first_row = first_changed_row(page->pixels, shown, h, row_bytes);
        if (first_row == h) return false;
        // Unchanged rows come from the newest frame; the rows' history only tells
        // what changed since an older frame when the newest is this kind's last.
        whole = frame_slot_content(newest) != content_tag(pixels32_rows.last_frame, pixels32_kind);
    }

    int64_t held = 0;
    if (!frame_slot_fit(slot, w, h, &held)) return false;
    int64_t frame_number = ++pixels32_rows.last_frame;
    auto* out = reinterpret_cast<uint8_t*>(slot->pixels);
    if (whole) {
        // Out of memory: no frame; the frame number has moved on, so the next frame
        // does not build on the newest one either.
        if (!pixels32_rows.all_changed(h, frame_number)) return false;
        display_page_buffer_copy(out, page->pixels, row_bytes * static_cast<size_t>(h));
    } else {
        int64_t slot_frame = frame_of_kind(held, pixels32_kind);
        const auto* shown = reinterpret_cast<const uint8_t*>(newest->pixels);
        for (int32_t y = 0; y < h; y++) {
            size_t at = static_cast<size_t>(y) * row_bytes;
            int64_t& changed = pixels32_rows.changed[static_cast<size_t>(y)];
            if (y >= first_row && !display_page_buffer_equal(page->pixels + at, shown + at, row_bytes)) {
                display_page_buffer_copy(out + at, page->pixels + at, row_bytes);
                changed = frame_number;
            } else if (changed > slot_frame) {
                memcpy(out + at, shown + at, row_bytes);
            }
        }
    }
    frame_slot_set_content(slot, content_tag(frame_number, pixels32_kind));
    return true;
}
