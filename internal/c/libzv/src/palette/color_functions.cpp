// _RGB, _RGBA, _ALPHA, _RED, _GREEN, _BLUE, matchcol and the HSB colour functions.
#include "palette/color_functions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "error/error.h"
#include "image/image_handle.h"
#include "image/image_table.h"
#include "palette/palette.h"

namespace {

int32_t clamp255(int32_t v) { return std::clamp(v, 0, 255); }

img_struct* image_of(int32_t handle, int32_t passed) {
    int32_t index = image_index_or_write(handle, passed);
    return index ? img_get(index) : nullptr;
}

// _RED, _GREEN and _BLUE: the byte at shift of a 32-bit colour or of a palette entry.
int32_t channel(uint32_t colour, int32_t handle, int32_t passed, int shift) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    if (!im) return 0;
    if (im->bytes_per_pixel == 4) return static_cast<int32_t>(colour >> shift & 255);
    if (colour > im->pixel_mask || colour > 255) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return static_cast<int32_t>(palette_get(im->palette, static_cast<int32_t>(colour)) >> shift & 255);
}

uint32_t channel_byte(double v) { return static_cast<uint32_t>(std::round(v * 255)); }

// NaN counts as the lower limit.
double clamp_to(double v, double lo, double hi) { return v >= lo ? std::min(v, hi) : lo; }

hsb_color hsb_in(double h, double s, double b) {
    return {clamp_to(h, 0, 360), clamp_to(s, 0, 100) / 100, clamp_to(b, 0, 100) / 100};
}

}  // namespace

int32_t matchcol(int32_t r, int32_t g, int32_t b, const img_struct* im) {
    int32_t last = im->text ? 15 : static_cast<int32_t>(std::min<uint32_t>(im->pixel_mask, 255));
    int32_t best = 1000, result = 0;
    for (int32_t i = 0; i <= last; i++) {
        uint32_t e = palette_get(im->palette, i);
        int32_t d = std::abs(b - static_cast<int32_t>(e & 255)) + std::abs(g - static_cast<int32_t>(e >> 8 & 255)) +
                    std::abs(r - static_cast<int32_t>(e >> 16 & 255));
        if (d < best) {
            if (d == 0) return i;
            best = d;
            result = i;
        }
    }
    return result;
}

int32_t matchcol(int32_t r, int32_t g, int32_t b) { return matchcol(r, g, b, write_page()); }

uint32_t func__rgb(int32_t r, int32_t g, int32_t b, int32_t handle, int32_t passed) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    if (!im) return 0;
    r = clamp255(r), g = clamp255(g), b = clamp255(b);
    if (im->bytes_per_pixel == 4) return 0xFF000000u | static_cast<uint32_t>(r << 16 | g << 8 | b);
    return static_cast<uint32_t>(matchcol(r, g, b, im));
}

uint32_t func__rgba(int32_t r, int32_t g, int32_t b, int32_t a, int32_t handle, int32_t passed) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    if (!im) return 0;
    r = clamp255(r), g = clamp255(g), b = clamp255(b), a = clamp255(a);
    if (im->bytes_per_pixel == 4) return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r << 16 | g << 8 | b);
    if (a == 0 && im->clear_color != -1) return static_cast<uint32_t>(im->clear_color);
    return static_cast<uint32_t>(matchcol(r, g, b, im));
}

int32_t func__alpha(uint32_t colour, int32_t handle, int32_t passed) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    if (!im) return 0;
    if (im->bytes_per_pixel == 4) return static_cast<int32_t>(colour >> 24);
    if (colour > im->pixel_mask) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return static_cast<int32_t>(colour) == im->clear_color ? 0 : 255;
}

int32_t func__red(uint32_t colour, int32_t handle, int32_t passed) { return channel(colour, handle, passed, 16); }
int32_t func__green(uint32_t colour, int32_t handle, int32_t passed) { return channel(colour, handle, passed, 8); }
int32_t func__blue(uint32_t colour, int32_t handle, int32_t passed) { return channel(colour, handle, passed, 0); }

void hsb2rgb(const hsb_color* in, rgb_color* out) {
    double v = in->b, s = in->s;
    if (s == 0) {
        out->r = out->g = out->b = v;
        return;
    }
    double c = in->h / 60;
    if (c == 6) c = 0;
    double i = std::floor(c), f = c - i;
    if (!(i >= 0 && i <= 5)) return;
    double p = (1 - s) * v, q = (1 - s * f) * v, t = (1 - s * (1 - f)) * v;
    switch (static_cast<int>(i)) {
        case 0: *out = {v, t, p}; break;
        case 1: *out = {q, v, p}; break;
        case 2: *out = {p, v, t}; break;
        case 3: *out = {p, q, v}; break;
        case 4: *out = {t, p, v}; break;
        case 5: *out = {v, p, q}; break;
        default: break;
    }
}

void rgb2hsb(const rgb_color* in, hsb_color* out) {
    double mx = std::max({in->r, in->g, in->b}), mn = std::min({in->r, in->g, in->b});
    out->b = mx;
    out->h = 0;
    out->s = 0;
    if (mx == 0) return;
    double delta = mx - mn;
    out->s = delta / mx;
    if (out->s == 0) return;
    double h;
    if (in->r == mx) {
        h = (in->g - in->b) / delta;
        if (h < 0) h += 6;
    } else if (in->g == mx) {
        h = (in->b - in->r) / delta + 2;
    } else {
        h = (in->r - in->g) / delta + 4;
    }
    out->h = h * 60;
}

uint32_t func__hsb32(double h, double s, double b) {
    if (new_error) return 0;
    hsb_color in = hsb_in(h, s, b);
    rgb_color out{0, 0, 0};
    hsb2rgb(&in, &out);
    return 0xFF000000u | channel_byte(out.r) << 16 | channel_byte(out.g) << 8 | channel_byte(out.b);
}

uint32_t func__hsba32(double h, double s, double b, double a) {
    if (new_error) return 0;
    hsb_color in = hsb_in(h, s, b);
    rgb_color out{0, 0, 0};
    hsb2rgb(&in, &out);
    uint32_t alpha = channel_byte(clamp_to(a, 0, 100) / 100);
    return alpha << 24 | channel_byte(out.r) << 16 | channel_byte(out.g) << 8 | channel_byte(out.b);
}

namespace {

hsb_color hsb_of(uint32_t colour) {
    rgb_color in{(colour >> 16 & 255) / 255.0, (colour >> 8 & 255) / 255.0, (colour & 255) / 255.0};
    hsb_color out{};
    rgb2hsb(&in, &out);
    return out;
}

}  // namespace

double func__hue32(uint32_t colour) {
    if (new_error) return 0;
    return hsb_of(colour).h;
}

double func__sat32(uint32_t colour) {
    if (new_error) return 0;
    return hsb_of(colour).s * 100;
}

double func__bri32(uint32_t colour) {
    if (new_error) return 0;
    return hsb_of(colour).b * 100;
}
