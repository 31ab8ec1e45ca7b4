// CHAIN's screen records: screen mode, font, every page with its image record, the
// active and visual page, the palette.
#include <cmath>
#include <cstring>

#include "error/error.h"
#include "image/image_modes.h"
#include "image/image_statements.h"
#include "image/image_table.h"
#include "lifecycle/chain.h"
#include "memory/cmem.h"
#include "palette/palette_statements.h"
#include "screen/font_statement.h"
#include "screen/screen.h"
#include "screen/width.h"
#include "text/text_image.h"

namespace {

enum : int32_t {
    tag_screen_mode = 256,
    tag_custom_screen = 257,
    tag_text_size = 258,
    tag_font = 259,
    tag_page = 260,
    tag_pages = 261,
    tag_palette = 262,
    tag_end = 511,
};
constexpr size_t record_size = 176;

void put_u8(uint8_t* at, uint8_t v) { at[0] = v; }
void put_u16(uint8_t* at, uint16_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
}
void put_u32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; i++) at[i] = uint8_t(v >> (8 * i));
}
void put_u64(uint8_t* at, uint64_t v) {
    for (int i = 0; i < 8; i++) at[i] = uint8_t(v >> (8 * i));
}
void put_f32(uint8_t* at, float v) {
    uint32_t bits;
    memcpy(&bits, &v, 4);
    put_u32(at, bits);
}
void put_f64(uint8_t* at, double v) {
    uint64_t bits;
    memcpy(&bits, &v, 8);
    put_u64(at, bits);
}
uint16_t get_u16(const uint8_t* at) { return uint16_t(at[0] | at[1] << 8); }
uint32_t get_u32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}
uint64_t get_u64(const uint8_t* at) { return uint64_t(get_u32(at)) | uint64_t(get_u32(at + 4)) << 32; }
float get_f32(const uint8_t* at) {
    uint32_t bits = get_u32(at);
    float v;
    memcpy(&v, &bits, 4);
    return v;
}
double get_f64(const uint8_t* at) {
    uint64_t bits = get_u64(at);
    double v;
    memcpy(&v, &bits, 8);
    return v;
}

// The image record in its file layout; pointer slots, padding and the last eight
// bytes are 0.
void encode_record(const img_struct& im, uint8_t* r) {
    memset(r, 0, record_size);
    put_u64(r + 8, im.lock_id);
    put_u8(r + 16, im.valid);
    put_u8(r + 17, im.text);
    put_u8(r + 18, im.console);
    put_u16(r + 20, im.width);
    put_u16(r + 22, im.height);
    put_u8(r + 24, im.bytes_per_pixel);
    put_u8(r + 25, im.bits_per_pixel);
    put_u32(r + 28, im.pixel_mask);
    put_u16(r + 32, im.legacy_mode);
    put_u32(r + 36, im.color);
    put_u32(r + 40, im.background_color);
    put_u32(r + 44, im.draw_color);
    put_u32(r + 48, uint32_t(im.font));
    put_u16(r + 52, uint16_t(im.top_row));
    put_u16(r + 54, uint16_t(im.bottom_row));
    put_u16(r + 56, uint16_t(im.cursor_x));
    put_u16(r + 58, uint16_t(im.cursor_y));
    put_u8(r + 60, im.cursor_show);
    put_u8(r + 61, im.cursor_firstvalue);
    put_u8(r + 62, im.cursor_lastvalue);
    put_u32(r + 68, im.flags);
    put_u32(r + 76, uint32_t(im.clear_color));
    put_u8(r + 80, im.blend_off);
    put_u8(r + 81, im.cursor_held);
    put_u8(r + 82, im.print_mode);
    const img_graphics_state& g = im.graphics;
    const int32_t view[6] = {g.view_x1, g.view_y1, g.view_x2, g.view_y2, g.view_offset_x, g.view_offset_y};
    for (int i = 0; i < 6; i++) put_u32(r + 84 + 4 * i, uint32_t(view[i]));
    put_f32(r + 108, g.x);
    put_f32(r + 112, g.y);
    put_u8(r + 116, g.clipping_or_scaling);
    const float scaling[8] = {g.scaling_x, g.scaling_y, g.scaling_offset_x, g.scaling_offset_y,
                              g.window_x1, g.window_y1, g.window_x2, g.window_y2};
    for (int i = 0; i < 8; i++) put_f32(r + 120 + 4 * i, scaling[i]);
    put_f64(r + 152, g.draw_angle);
    put_f64(r + 160, g.draw_scale);
}

bool builtin_font(int32_t font) {
    return font == 8 || font == 9 || font == 14 || font == 15 || font == 16 || font == 17;
}

// The stored record over the page's own, or false when it does not describe that
// page or would send text or drawing outside it. The page keeps its lock, pixel
// buffer, palette, flags and validity, and its own font when the stored one is a
// loaded font.
bool apply_record(img_struct* page, const uint8_t* r) {
    if (r[17] != page->text || get_u16(r + 20) != page->width || get_u16(r + 22) != page->height ||
        r[24] != page->bytes_per_pixel || get_u16(r + 32) != page->legacy_mode)
        return false;
    img_struct next = *page;
    next.bits_per_pixel = r[25];
    next.pixel_mask = get_u32(r + 28);
    next.color = get_u32(r + 36);
    next.background_color = get_u32(r + 40);
    next.draw_color = get_u32(r + 44);
    int32_t font = int32_t(get_u32(r + 48));
    if (font < 32) next.font = font;
    next.top_row = int16_t(get_u16(r + 52));
    next.bottom_row = int16_t(get_u16(r + 54));
    next.cursor_x = int16_t(get_u16(r + 56));
    next.cursor_y = int16_t(get_u16(r + 58));
    next.cursor_show = r[60];
    next.cursor_firstvalue = r[61];
    next.cursor_lastvalue = r[62];
    next.clear_color = int32_t(get_u32(r + 76));
    next.blend_off = r[80];
    next.cursor_held = r[81];
    next.print_mode = r[82];
    img_graphics_state& g = next.graphics;
    int32_t* view[6] = {&g.view_x1, &g.view_y1, &g.view_x2, &g.view_y2, &g.view_offset_x, &g.view_offset_y};
    for (int i = 0; i < 6; i++) *view[i] = int32_t(get_u32(r + 84 + 4 * i));
    g.x = get_f32(r + 108);
    g.y = get_f32(r + 112);
    g.clipping_or_scaling = r[116];
    float* scaling[8] = {&g.scaling_x, &g.scaling_y, &g.scaling_offset_x, &g.scaling_offset_y,
                         &g.window_x1, &g.window_y1, &g.window_x2, &g.window_y2};
    for (int i = 0; i < 8; i++) *scaling[i] = get_f32(r + 120 + 4 * i);
    g.draw_angle = get_f64(r + 152);
    g.draw_scale = get_f64(r + 160);

    // What a corrupt file could make unsafe: the bit depth, the font, the text
    // window and cursor, and the VIEW rectangle.
    if (next.bits_per_pixel != page->bits_per_pixel) return false;
    if (next.font != page->font && !builtin_font(next.font)) return false;
    int32_t rows = text_rows(&next), columns = text_columns(&next);
    if (next.top_row < 1 || next.bottom_row < next.top_row || next.bottom_row > rows) return false;
    if (next.cursor_y < 1 || next.cursor_y > rows || next.cursor_x < 1 || next.cursor_x > columns + 1) return false;
    if (!page->text && (g.view_x1 < 0 || g.view_y1 < 0 || g.view_x1 > g.view_x2 || g.view_y1 > g.view_y2 ||
                        g.view_x2 >= page->width || g.view_y2 >= page->height))
        return false;
    *page = next;
    return true;
}

struct writer {
    std::vector<uint8_t>& out;
    void u32(uint32_t v) {
        uint8_t b[4];
        put_u32(b, v);
        out.insert(out.end(), b, b + 4);
    }
    void bytes(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        out.insert(out.end(), b, b + n);
    }
};

struct reader {
    const chain_source& source;
    int32_t i32() {
        uint8_t b[4] = {0, 0, 0, 0};
        source.read(source.context, b, 4);
        return int32_t(get_u32(b));
    }
    void bytes(void* p, int64_t n) { source.read(source.context, p, n); }
    // Whether the rest of the file can hold n more bytes.
    bool holds(int64_t n) const { return n <= source.left(source.context); }
};

// What one page takes in the file after its tag and number are read: its cells or
// pixels and its record. A screen is only set up when its first page is there.
int64_t page_record_bytes(int64_t width, int64_t height, int64_t bytes_per_pixel) {
    return width * height * bytes_per_pixel + int64_t(record_size);
}
constexpr int64_t page_tag_bytes = 8;  // 260 and the page number

int64_t pixel_bytes(const img_struct* im) {
    return int64_t(im->width) * im->height * im->bytes_per_pixel;
}

// The checks of the statement each record restores, made before the record is used:
// the error that statement gives, 0 when it takes the values. A record beyond them
// ends the restore with that error, before anything is allocated.

// SCREEN mode.
int32_t screen_mode_refusal(int32_t mode) {
    const legacy_mode_info* m = legacy_mode(mode);
    return m && m->screen ? 0 : 5;
}

// WIDTH columns, rows of a text screen.
int32_t text_size_refusal(int32_t columns, int32_t rows) {
    if (columns < 1 || rows < 1 || columns > img_max_text_side || rows > img_max_text_side) return 5;
    return int64_t(columns) * rows > img_max_text_cells ? 7 : 0;
}

// SCREEN _NEWIMAGE(width, height, mode).
int32_t custom_screen_refusal(int32_t mode, int32_t width, int32_t height) {
    const legacy_mode_info* m = legacy_mode(mode);
    if (!m || width < 1 || height < 1) return 5;
    int64_t side = mode == 0 ? img_max_text_side : img_max_side;
    if (width > side || height > side) return 5;
    if (int64_t(width) * height * m->bytes_per_pixel > img_max_bytes) return 7;
    return mode == 0 && int64_t(width) * height > img_max_text_cells ? 7 : 0;
}

// SCREEN , , active, visual.
int32_t page_number_refusal(int32_t number) { return number < 0 ? 5 : 0; }

// _PALETTECOLOR on page 0.
int32_t palette_refusal() {
    int32_t p0 = page_index(0);
    return p0 && img_get(p0)->palette ? 0 : 5;
}

// Raises the refusal; true when there was one.
bool refused(int32_t error_number) {
    if (error_number) error(error_number);
    return error_number != 0;
}

bool in_conventional_memory(const img_struct* im) { return im->pixels >= cmem && im->pixels < cmem + cmem_size; }

// The first page number showing the image, 0 when none does.
int32_t page_showing(int32_t index) {
    for (const auto& [number, image] : page_entries())
        if (image == index) return number;
    return 0;
}

}  // namespace

void chain_encode_screen_state(std::vector<uint8_t>& out) {
    writer w{out};
    img_struct* page0 = img_get(page_index(0));
    if (in_conventional_memory(page0)) {
        w.u32(tag_screen_mode);
        w.u32(page0->legacy_mode);
        if (page0->text) {
            w.u32(tag_text_size);
            w.u32(page0->width);
            w.u32(page0->height);
        }
    } else {
        w.u32(tag_custom_screen);
        w.u32(page0->legacy_mode);
        w.u32(page0->width);
        w.u32(page0->height);
    }
    if (page0->font < 32) {
        w.u32(tag_font);
        w.u32(uint32_t(page0->font));
    }
    // The active page goes last, so that the restore leaves it active.
    auto pages = page_entries();
    int32_t active = write_page_index();
    std::vector<std::pair<int32_t, int32_t>> ordered;
    for (const auto& p : pages)
        if (p.second != active) ordered.push_back(p);
    for (const auto& p : pages)
        if (p.second == active) ordered.push_back(p);
    uint8_t record[record_size];
    for (const auto& [number, index] : ordered) {
        const img_struct* im = img_get(index);
        w.u32(tag_page);
        w.u32(uint32_t(number));
        w.bytes(im->pixels, size_t(pixel_bytes(im)));
        encode_record(*im, record);
        w.bytes(record, record_size);
    }
    w.u32(tag_pages);
    w.u32(uint32_t(page_showing(active)));
    w.u32(uint32_t(page_showing(display_page_index())));
    if (page0->bytes_per_pixel != 4 && page0->palette) {
        w.u32(tag_palette);
        for (int i = 0; i < 256; i++) w.u32(page0->palette[i] | 0xFF000000u);
    }
    w.u32(tag_end);
}

bool chain_decode_screen_state(const chain_source& source) {
    reader r{source};
    for (;;) {
        if (new_error_is_set()) return false;
        int32_t tag = r.i32();
        switch (tag) {
        case tag_screen_mode: {
            int32_t mode = r.i32();
            if (refused(screen_mode_refusal(mode))) return false;
            if (mode != 0) zvg_screen(mode, 0, 0, 0, 0, 1);
            break;
        }
        case tag_text_size: {
            int32_t columns = r.i32(), rows = r.i32();
            if (refused(text_size_refusal(columns, rows))) return false;
            if (!r.holds(page_tag_bytes + page_record_bytes(columns, rows, 2))) return false;
            zvsub_width(0, columns, rows, 0, 0, 1 | 2);
            break;
        }
        case tag_custom_screen: {
            int32_t mode = r.i32(), width = r.i32(), height = r.i32();
            if (refused(custom_screen_refusal(mode, width, height))) return false;
            if (!r.holds(page_tag_bytes + page_record_bytes(width, height, legacy_mode(mode)->bytes_per_pixel)))
                return false;
            int32_t handle = func__newimage(width, height, mode, 1);
            if (handle >= -1) return false;
            zvg_screen(handle, 0, 0, 0, 0, 1);
            break;
        }
        case tag_font: {
            int32_t font = r.i32();
            if (refused(font_refusal(write_page(), font))) return false;
            sub__font(font, 0, 0);
            break;
        }
        case tag_page: {
            int32_t number = r.i32();
            if (refused(page_number_refusal(number))) return false;
            // A page that is not there yet is made like the current one.
            const img_struct* like = write_page();
            if (!like || !r.holds(page_record_bytes(like->width, like->height, like->bytes_per_pixel))) return false;
            zvg_screen(0, 0, number, 0, 0, 4 | 8);
            if (new_error_is_set()) return false;
            img_struct* page = write_page();
            // Read aside first: the page changes only when its record fits it.
            std::vector<uint8_t> pixels(size_t(pixel_bytes(page)));
            r.bytes(pixels.data(), int64_t(pixels.size()));
            uint8_t record[record_size];
            r.bytes(record, record_size);
            if (!apply_record(page, record)) return false;
            memcpy(page->pixels, pixels.data(), pixels.size());
            break;
        }
        case tag_pages: {
            int32_t active = r.i32(), visual = r.i32();
            if (refused(page_number_refusal(active)) || refused(page_number_refusal(visual))) return false;
            zvg_screen(0, 0, active, visual, 0, 4 | 8);
            break;
        }
        case tag_palette:
            if (refused(palette_refusal())) return false;
            for (int i = 0; i < 256; i++) {
                uint32_t colour = uint32_t(r.i32());
                sub__palettecolor(i, colour, 0, 1);
            }
            break;
        case tag_end:
            return true;
        default:
            return false;
        }
    }
}
