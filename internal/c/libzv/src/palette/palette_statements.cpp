// COLOR, PALETTE, PALETTE USING, _PALETTECOLOR and _COPYPALETTE.
#include "palette/palette_statements.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "error/error.h"
#include "image/image_handle.h"
#include "image/image_table.h"
#include "palette/palette.h"
#include "platform/console_terminal.h"

namespace {

// COLOR on the console image: the attribute as an ANSI colour sequence on a terminal.
void console_color(uint32_t fg, uint32_t bg, int32_t passed) {
    uint32_t attribute = ((passed & 1 ? fg : 0) + 16 * (passed & 2 ? bg : 0)) & 255;
    console_set_attribute(attribute);  // for SCREEN() on the console's shadow cells
    if (!isatty(STDOUT_FILENO)) return;
    char sequence[32];
    console_attribute_sequence(attribute, sequence, sizeof sequence);
    fputs(sequence, stdout);
    fflush(stdout);
}

// PALETTE without the pending-error test; error 5 for every value the mode refuses.
void set_palette(img_struct* im, uint32_t attribute, uint32_t colour) {
    if (im->bytes_per_pixel == 4) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    attribute &= 255;
    uint32_t* pal = im->palette;
    switch (im->legacy_mode) {
        case 13:
        case 256:
        case 12:
        case 11: {
            uint32_t limit = im->legacy_mode == 12 ? 15 : im->legacy_mode == 11 ? 1 : 255;
            if (attribute > limit || (colour & ~0x3F3F3Fu)) break;
            uint32_t r = static_cast<uint32_t>(palette_dac_to_channel(colour & 63));
            uint32_t g = static_cast<uint32_t>(palette_dac_to_channel(colour >> 8 & 63));
            uint32_t b = static_cast<uint32_t>(palette_dac_to_channel(colour >> 16 & 63));
            palette_set(pal, static_cast<int32_t>(attribute), r << 16 | g << 8 | b);
            return;
        }
        case 10:
            if (attribute > 3 || colour > 8) break;
            palette_set(pal, static_cast<int32_t>(attribute) + 4, colour);
            return;
        case 9:
        case 0:
            if (attribute > 15 || colour > 63) break;
            palette_set(pal, static_cast<int32_t>(attribute), palette_64[colour]);
            return;
        case 8:
        case 7:
        case 1:
        case 2:
            if (attribute > (im->legacy_mode == 2 ? 1u : 15u) || colour > 15) break;
            palette_set(pal, static_cast<int32_t>(attribute), palette_256[colour]);
            return;
        default:
            break;
    }
    error(ERR_ILLEGAL_FUNCTION_CALL);
}

// The record an optional argument names, or null after error 258.
img_struct* image_of(int32_t handle, int32_t passed) {
    int32_t index = image_index_or_write(handle, passed);
    return index ? img_get(index) : nullptr;
}

}  // namespace

void console_attribute_sequence(uint32_t attribute, char* out, int32_t out_size) {
    static constexpr int cga_to_ansi[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    uint32_t f = attribute & 15, b = attribute >> 4 & 15;
    int fg = (f & 8 ? 90 : 30) + cga_to_ansi[f & 7];
    int bg = (b & 8 ? 100 : 40) + cga_to_ansi[b & 7];
    snprintf(out, static_cast<size_t>(out_size), "\x1b[0;%d;%dm", fg, bg);
}

void zvg_sub_color(uint32_t fg, uint32_t bg, uint32_t border, int32_t passed) {
    (void)border;
    if (new_error) return;
    if (!passed) return;
    img_struct* im = write_page();
    if (im->console) {
        console_color(fg, bg, passed);
        return;
    }
    bool has_fg = passed & 1, has_bg = passed & 2, has_border = passed & 4;
    uint32_t* pal = im->palette;
    int32_t mode = im->bytes_per_pixel == 4 ? 32 : im->legacy_mode;
    // Ranges of the first two arguments by mode; UINT32_MAX means any value.
    uint32_t fg_max, bg_max;
    switch (mode) {
        case 32: fg_max = bg_max = UINT32_MAX; break;
        case 256:
        case 13: fg_max = bg_max = 255; break;
        case 12: fg_max = bg_max = 15; break;
        case 11: fg_max = bg_max = 1; break;
        case 10: fg_max = 3, bg_max = 8; break;
        case 9: fg_max = 15, bg_max = 63; break;
        case 8:
        case 7: fg_max = bg_max = 15; break;
        case 2: fg_max = 1, bg_max = 15; break;
        case 1: fg_max = 15, bg_max = UINT32_MAX; break;  // background, then palette choice
        case 0: fg_max = 31, bg_max = 15; break;
        default: error(ERR_ILLEGAL_FUNCTION_CALL); return;
    }
    if ((has_fg && fg > fg_max) || (has_bg && bg > bg_max) || (has_border && mode != 0)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    switch (mode) {
        case 1:
            if (has_fg) palette_set(pal, 0, palette_256[fg]);
            if (has_bg) {
                static constexpr int odd[3] = {3, 5, 7}, even[3] = {2, 4, 6};
                for (int i = 0; i < 3; i++) palette_set(pal, i + 1, palette_256[(bg & 1 ? odd : even)[i]]);
            }
            return;
        case 10:
            if (has_fg) im->color = fg;
            if (has_bg) palette_set(pal, 4, bg);
            return;
        case 9:
            if (has_fg) im->color = fg;
            if (has_bg) palette_set(pal, 0, palette_64[bg]);
            return;
        case 8:
        case 7:
        case 2:
            if (has_fg) im->color = fg;
            if (has_bg) palette_set(pal, 0, palette_256[bg]);
            return;
        case 0:
            if (has_fg) im->color = fg;
            if (has_bg) im->background_color = bg & 7;
            return;
        default:  // 32, 256, 13, 12, 11
            if (has_fg) im->color = fg;
            if (has_bg) im->background_color = bg;
            return;
    }
}

void zvg_palette(uint32_t attribute, uint32_t colour, int32_t passed) {
    if (new_error) return;
    img_struct* im = write_page();
    if (!passed) {
        restorepalette(im);
        return;
    }
    set_palette(im, attribute, colour);
}

void sub_paletteusing(const void* data, int64_t bytes, int32_t element_bits) {
    if (new_error) return;
    img_struct* im = write_page();
    if (im->bytes_per_pixel == 4) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    // A text image's mask spans its cells; its palette has 16 attributes.
    int64_t last = im->text ? 15 : im->pixel_mask;
    int64_t element_bytes = element_bits / 8;
    bool wide_mode = im->legacy_mode == 11 || im->legacy_mode == 12 || im->legacy_mode == 13 || im->legacy_mode == 256;
    if (bytes < element_bytes * (last + 1) || (element_bits == 16 && wide_mode)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    const auto* p = static_cast<const uint8_t*>(data);
    for (int64_t attribute = 0; attribute <= last && !new_error; attribute++) {
        int32_t value;
        if (element_bits == 16) {
            int16_t v16;
            memcpy(&v16, p + attribute * 2, 2);
            value = v16;
        } else {
            memcpy(&value, p + attribute * 4, 4);
        }
        if (value < -1) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
        if (value == -1) continue;
        set_palette(im, static_cast<uint32_t>(attribute), static_cast<uint32_t>(value));
    }
}

uint32_t func__palettecolor(int32_t attribute, int32_t handle, int32_t passed) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    if (!im) return 0;
    if (!im->palette || attribute < 0 || attribute > 255) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return palette_get(im->palette, attribute) | 0xFF000000;
}

void sub__palettecolor(int32_t attribute, uint32_t colour, int32_t handle, int32_t passed) {
    if (new_error) return;
    img_struct* im = image_of(handle, passed);
    if (!im) return;
    if (!im->palette || attribute < 0 || attribute > 255) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    palette_set(im->palette, attribute, colour);
}

void sub__copypalette(int32_t source, int32_t destination, int32_t passed) {
    if (new_error) return;
    int32_t from = image_index_or_read(source, passed & 1);
    if (!from) return;
    int32_t to = image_index_or_write(destination, passed & 2);
    if (!to) return;
    uint32_t* src = img_get(from)->palette;
    uint32_t* dst = img_get(to)->palette;
    if (!src || !dst) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    for (int i = 0; i < 256; i++) palette_set(dst, i, palette_get(src, i));
}
