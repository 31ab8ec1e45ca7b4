// Graphics GET and PUT: the packed array format by depth, bounds, fill, clipping,
// key colour and the five pixel actions.
#include "draw/graphics_get_put.h"

#include <cstring>
#include <utility>

#include "draw/coordinates.h"
#include "draw/graphics_open.h"
#include "error/error.h"
#include "image/image_table.h"

namespace {

// Bytes of one packed row of w pixels at a depth.
int64_t row_bytes(int32_t bits, int64_t w) {
    switch (bits) {
    case 1: return (w + 7) / 8;
    case 2: return (2 * w + 7) / 8;
    case 4: return 4 * ((w + 7) / 8);
    case 8: return w;
    default: return 4 * w;
    }
}

// The header's bit count for a row of w pixels (32-bit images: the pixel count).
int64_t row_bits(int32_t bits, int64_t w) {
    switch (bits) {
    case 2: return 2 * w;
    case 8: return 8 * w;
    default: return w;
    }
}

uint32_t depth_mask(int32_t bits) { return bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1; }

uint32_t read_pixel(const img_struct* im, int64_t x, int64_t y) {
    size_t i = static_cast<size_t>(y) * im->width + static_cast<size_t>(x);
    if (im->bytes_per_pixel == 1) return im->pixels[i];
    uint32_t v;
    memcpy(&v, im->pixels + i * 4, 4);
    return v;
}

void write_pixel(img_struct* im, int64_t x, int64_t y, uint32_t v) {
    size_t i = static_cast<size_t>(y) * im->width + static_cast<size_t>(x);
    if (im->bytes_per_pixel == 1) im->pixels[i] = static_cast<uint8_t>(v);
    else memcpy(im->pixels + i * 4, &v, 4);
}

// Packs value v as pixel k of a row; the row bytes start zeroed. Values wider than
// the depth (left by unmasked blits) are cut to it.
void pack(uint8_t* row, int32_t bits, int64_t w, int64_t k, uint32_t v) {
    switch (bits) {
    case 1:
        if (v) row[k / 8] |= static_cast<uint8_t>(0x80 >> (k % 8));
        break;
    case 2: row[k / 4] |= static_cast<uint8_t>((v & 3) << (6 - 2 * (k % 4))); break;
    case 4:
        for (int p = 0; p < 4; p++)
            if (v >> p & 1) row[p * ((w + 7) / 8) + k / 8] |= static_cast<uint8_t>(0x80 >> (k % 8));
        break;
    case 8: row[k] = static_cast<uint8_t>(v); break;
    default:
        for (int b = 0; b < 4; b++) row[4 * k + b] = static_cast<uint8_t>(v >> (8 * b));
    }
}

uint32_t unpack(const uint8_t* row, int32_t bits, int64_t w, int64_t k) {
    switch (bits) {
    case 1: return row[k / 8] >> (7 - k % 8) & 1;
    case 2: return row[k / 4] >> (6 - 2 * (k % 4)) & 3;
    case 4: {
        uint32_t v = 0;
        for (int p = 0; p < 4; p++) v |= static_cast<uint32_t>(row[p * ((w + 7) / 8) + k / 8] >> (7 - k % 8) & 1) << p;
        return v;
    }
    case 8: return row[k];
    default:
        return static_cast<uint32_t>(row[4 * k]) | static_cast<uint32_t>(row[4 * k + 1]) << 8 |
               static_cast<uint32_t>(row[4 * k + 2]) << 16 | static_cast<uint32_t>(row[4 * k + 3]) << 24;
    }
}

}  // namespace

void sub_graphics_get(float x1, float y1, float x2, float y2, void* data, int64_t bytes, uint32_t fill,
                      int32_t passed) {
    img_struct* im = graphics_read_page();
    if (!im) return;
    // Corners first; the cursor moves only once every check has passed.
    step_from_cursor(passed & 1, im->graphics, x1, y1);
    if (passed & 2) x2 += x1, y2 += y1;
    int64_t px1 = map_x(im->graphics, x1), py1 = map_y(im->graphics, y1);
    int64_t px2 = map_x(im->graphics, x2), py2 = map_y(im->graphics, y2);
    if (px2 < px1) std::swap(px1, px2);
    if (py2 < py1) std::swap(py1, py2);
    int64_t w = px2 - px1 + 1, h = py2 - py1 + 1;
    bool outside = px1 < 0 || py1 < 0 || px2 >= im->width || py2 >= im->height;
    int32_t bits = im->bits_per_pixel;
    // The header fields are 16-bit: a larger shape could not be put back as taken.
    if ((outside && !(passed & 4)) || row_bits(bits, w) > 65535 || h > 65535) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    int64_t per_row = row_bytes(bits, w);
    if (bytes < 4 + h * per_row) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    fill &= depth_mask(bits);

    auto* out = static_cast<uint8_t*>(data);
    uint16_t header[2] = {static_cast<uint16_t>(row_bits(bits, w)), static_cast<uint16_t>(h)};
    for (int i = 0; i < 2; i++) out[2 * i] = header[i] & 0xFF, out[2 * i + 1] = header[i] >> 8;
    uint8_t* row = out + 4;
    memset(row, 0, static_cast<size_t>(h * per_row));
    for (int64_t y = py1; y <= py2; y++, row += per_row)
        for (int64_t x = px1; x <= px2; x++) {
            bool inside = x >= 0 && y >= 0 && x < im->width && y < im->height;
            pack(row, bits, w, x - px1, inside ? read_pixel(im, x, y) : fill);
        }
    im->graphics.x = x2;
    im->graphics.y = y2;
}

void sub_graphics_put(float x, float y, const void* data, int64_t bytes, int32_t action, uint32_t key,
                      int32_t passed) {
    img_struct* im = graphics_write_page();
    if (!im) return;
    if (action < 0 || action > 5 || bytes <= 3) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    step_from_cursor(passed & 1, im->graphics, x, y);
    int64_t px = map_x(im->graphics, x), py = map_y(im->graphics, y);
    const auto* in = static_cast<const uint8_t*>(data);
    int64_t count = in[0] | in[1] << 8, h = in[2] | in[3] << 8;
    int32_t bits = im->bits_per_pixel;
    if ((bits == 2 && count % 2) || (bits == 8 && count % 8)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    int64_t w = bits == 2 ? count / 2 : bits == 8 ? count / 8 : count;
    bool clip = passed & 2;
    if (!clip && (px < 0 || py < 0 || px + w - 1 >= im->width || py + h - 1 >= im->height)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    int64_t per_row = row_bytes(bits, w);
    if (bytes < 4 + h * per_row) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    bool keyed = passed & ~3;
    uint32_t mask = depth_mask(bits);
    key &= mask;
    if (passed & 1) im->graphics.x = x, im->graphics.y = y;

    const uint8_t* row = in + 4;
    for (int64_t r = 0; r < h; r++, row += per_row) {
        int64_t dy = py + r;
        if (dy < 0 || dy >= im->height) continue;
        for (int64_t k = 0; k < w; k++) {
            int64_t dx = px + k;
            if (dx < 0 || dx >= im->width) continue;
            uint32_t v = unpack(row, bits, w, k);
            if (keyed && v == key) continue;
            uint32_t p = read_pixel(im, dx, dy);
            switch (action) {
            case 1: p = v; break;
            case 2: p = ~v & im->pixel_mask; break;
            case 3: p &= v; break;
            case 4: p |= v; break;
            default: p ^= v;
            }
            write_pixel(im, dx, dy, p);
        }
    }
}
