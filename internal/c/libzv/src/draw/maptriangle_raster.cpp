// The software rasteriser of _MAPTRIANGLE: edges walked row by row in 16.16 fixed
// point, spans sampled at pixel centres, one pixel writer chosen per triangle.
#include "draw/maptriangle_raster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "draw/blend.h"

namespace {

constexpr int64_t ONE = 65536, HALF = 0x8000;

// Floor division by 65536 (arithmetic shift of a signed value).
inline int64_t whole(int64_t v) { return v >> 16; }
inline int64_t fraction(int64_t v) { return v & 0xFFFF; }

// An edge from its upper to its lower corner; x, u, v are the running values.
struct edge {
    int32_t y0, y1;
    int64_t x0, u0, v0, x1, u1, v1;
    int64_t dx, du, dv;
    int64_t x, u, v;

    edge(const maptriangle_vertex& a, const maptriangle_vertex& b, int64_t xa, int64_t xb) {
        bool down = a.y <= b.y;
        const maptriangle_vertex& top = down ? a : b;
        const maptriangle_vertex& bottom = down ? b : a;
        y0 = top.y;
        y1 = bottom.y;
        x0 = down ? xa : xb;
        x1 = down ? xb : xa;
        u0 = top.u;
        v0 = top.v;
        u1 = bottom.u;
        v1 = bottom.v;
        int64_t rows = y1 - y0;
        dx = rows ? (x1 - x0) / rows : 0;
        du = rows ? (u1 - u0) / rows : 0;
        dv = rows ? (v1 - v0) / rows : 0;
        x = x0;
        u = u0;
        v = v0;
    }
    bool flat() const { return y0 == y1; }
    void step() {
        x += dx;
        u += du;
        v += dv;
    }
    // Straight to row r (skipped rows), exactly rather than by accumulated steps.
    void move_to(int32_t r) {
        int64_t rows = y1 - y0, skipped = r - y0;
        if (!rows) return;
        x = x0 + (x1 - x0) * skipped / rows;
        u = u0 + (u1 - u0) * skipped / rows;
        v = v0 + (v1 - v0) * skipped / rows;
    }
};

// Texel readers: tiling takes a non-negative modulo, the plain one clamps (truncated
// increments can drift a fraction past the edge).
struct wrap_reader {
    int64_t w, h;
    // After the shift into range values are non-negative and small: a 32-bit modulo.
    static int64_t wrap(int64_t t, int64_t size) {
        if (t >= 0 && t <= INT32_MAX) return uint32_t(t) % uint32_t(size);
        return ((t % size) + size) % size;
    }
    int64_t column(int64_t u) const { return wrap(whole(u), w); }
    int64_t row(int64_t v) const { return wrap(whole(v), h); }
};
struct clamp_reader {
    int64_t w, h;
    int64_t column(int64_t u) const { return std::clamp<int64_t>(whole(u), 0, w - 1); }
    int64_t row(int64_t v) const { return std::clamp<int64_t>(whole(v), 0, h - 1); }
};

enum class writer { store32, blend32, store8, clear8 };

template <class Reader, writer W>
struct rasteriser {
    const img_struct* src;
    img_struct* dst;
    Reader read;
    bool seamless;
    int64_t width, height;

    void pixel(int64_t column, int64_t row, int64_t u, int64_t v) {
        size_t s = static_cast<size_t>(read.row(v) * read.w + read.column(u));
        size_t d = static_cast<size_t>(row * width + column);
        if constexpr (W == writer::store32 || W == writer::blend32) {
            uint32_t texel;
            std::memcpy(&texel, src->pixels + s * 4, 4);
            if constexpr (W == writer::blend32) {
                uint32_t old;
                std::memcpy(&old, dst->pixels + d * 4, 4);
                texel = blend_pixel(old, texel);
            }
            std::memcpy(dst->pixels + d * 4, &texel, 4);
        } else {
            uint8_t texel = src->pixels[s];
            if constexpr (W == writer::clear8)
                if (texel == static_cast<uint32_t>(src->clear_color)) return;
            dst->pixels[d] = texel;
        }
    }

    void span(int64_t row, int64_t xl, int64_t ul, int64_t vl, int64_t xr, int64_t ur, int64_t vr) {
        int64_t il = whole(xl), ir = whole(xr);
        if (xr < 0 || il >= width) return;
        int64_t du = 0, dv = 0;
        if (il != ir) {
            du = (ur - ul) * ONE / (xr - xl);
            dv = (vr - vl) * ONE / (xr - xl);
        }
        // Right end: a centre beyond the edge still gets the edge's own texel.
        int64_t last;
        if (fraction(xr) < HALF) {
            if (!seamless && ir < width) pixel(ir, row, ur, vr);
            if (xr < ONE || il >= ir) return;
            last = ir - 1;
        } else if (seamless) {
            if (xr < ONE || il >= ir) return;
            last = ir - 1;
        } else {
            last = ir;
        }
        // Left end: a centre before the edge gets the edge's own texel.
        int64_t start, offset;
        if (fraction(xl) > HALF) {
            if (il >= 0) pixel(il, row, ul, vl);
            if (il >= ir) return;
            start = il + 1;
            offset = 0x18000 - fraction(xl);
        } else {
            start = il;
            offset = HALF - fraction(xl);
        }
        // A span narrower than a pixel has huge increments: the products need 128 bits.
        int64_t u = ul + static_cast<int64_t>(static_cast<__int128>(du) * offset / ONE);
        int64_t v = vl + static_cast<int64_t>(static_cast<__int128>(dv) * offset / ONE);
        if (start < 0) {
            // Exact advance over the columns left of the image.
            __int128 skipped = -start;
            u += static_cast<int64_t>(static_cast<__int128>(ur - ul) * skipped * ONE / (xr - xl));
            v += static_cast<int64_t>(static_cast<__int128>(vr - vl) * skipped * ONE / (xr - xl));
            start = 0;
        }
        last = std::min(last, width - 1);
        for (int64_t c = start; c <= last; c++, u += du, v += dv) pixel(c, row, u, v);
    }

    void draw(const maptriangle_vertex c[3]) {
        int64_t x[3];
        for (int i = 0; i < 3; i++) x[i] = int64_t(c[i].x) * ONE + HALF;
        int32_t top_row = std::min({c[0].y, c[1].y, c[2].y});
        int32_t bottom_row = std::max({c[0].y, c[1].y, c[2].y});
        int32_t last_row = seamless ? bottom_row - 1 : bottom_row;

        if (top_row == bottom_row) {
            // One row: from the leftmost to the rightmost corner, each with its texel.
            if (seamless) return;
            int lo = 0, hi = 0;
            for (int i = 1; i < 3; i++) {
                if (x[i] < x[lo]) lo = i;
                if (x[i] > x[hi]) hi = i;
            }
            span(top_row, x[lo], c[lo].u, c[lo].v, x[hi], c[hi].u, c[hi].v);
            return;
        }

        edge e[3] = {edge(c[0], c[1], x[0], x[1]), edge(c[1], c[2], x[1], x[2]), edge(c[2], c[0], x[2], x[0])};
        int flat = -1;
        for (int i = 0; i < 3; i++)
            if (e[i].flat()) flat = i;

        // The first segment's two edges, and the one that takes over at the middle corner.
        edge *p, *q, *third = nullptr;
        int32_t first_end;
        if (flat >= 0) {
            p = &e[(flat + 1) % 3];
            q = &e[(flat + 2) % 3];
            first_end = bottom_row;
        } else {
            // The edges meeting at the top corner start on the top row.
            int starts[2], n = 0, other = 0;
            for (int i = 0; i < 3; i++) {
                if (e[i].y0 == top_row && n < 2)
                    starts[n++] = i;
                else
                    other = i;
            }
            p = &e[starts[0]];
            q = &e[starts[1]];
            third = &e[other];
            first_end = third->y0;
        }
        // Left and right by the x each edge reaches halfway down the first segment.
        int64_t rows1 = first_end - top_row;
        int64_t estimate_p = p->x + p->dx * rows1 / 2, estimate_q = q->x + q->dx * rows1 / 2;
        edge* left = estimate_p <= estimate_q ? p : q;
        edge* right = left == p ? q : p;

        // First segment.
        int32_t first = top_row;
        if (first < 0) {
            left->move_to(0);
            right->move_to(0);
            first = 0;
        }
        bool drawn = first <= first_end;
        if (!walk(*left, *right, first, std::min(first_end, last_row))) return;
        if (!third) return;

        // Second segment: the finished edge is replaced by the third one, which starts
        // one step below the middle corner; the long edge has stepped past it too.
        edge*& finished = left->y1 == first_end ? left : right;
        edge* long_edge = finished == left ? right : left;
        finished = third;
        third->step();
        int32_t second = first_end + 1;
        if (second < 0) {
            long_edge->move_to(0);
            third->move_to(0);
            second = 0;
        } else if (!drawn && long_edge->y0 < 0) {
            // The first segment lay wholly above the image: its rows were skipped.
            long_edge->move_to(second);
        }
        walk(*left, *right, second, last_row);
    }

    // Rows first .. last; false once a row reaches the image's bottom.
    bool walk(edge& l, edge& r, int32_t first, int32_t last) {
        for (int32_t row = first; row <= last; row++) {
            if (row >= height) return false;
            span(row, l.x, l.u, l.v, r.x, r.u, r.v);
            l.step();
            r.step();
        }
        return true;
    }
};

template <class Reader>
void run(const img_struct* src, img_struct* dst, const maptriangle_vertex c[3], bool seamless, Reader read) {
    int64_t w = dst->width, h = dst->height;
    if (src->bytes_per_pixel == 4) {
        if (src->blend_off || dst->blend_off) {
            rasteriser<Reader, writer::store32>{src, dst, read, seamless, w, h}.draw(c);
        } else {
            init_blend();
            rasteriser<Reader, writer::blend32>{src, dst, read, seamless, w, h}.draw(c);
        }
    } else if (src->clear_color != -1) {
        rasteriser<Reader, writer::clear8>{src, dst, read, seamless, w, h}.draw(c);
    } else {
        rasteriser<Reader, writer::store8>{src, dst, read, seamless, w, h}.draw(c);
    }
}

}  // namespace

void maptriangle_raster(const img_struct* src, img_struct* dst, const maptriangle_vertex corners[3], bool seamless,
                        bool wrap) {
    if (wrap)
        run(src, dst, corners, seamless, wrap_reader{src->width, src->height});
    else
        run(src, dst, corners, seamless, clamp_reader{src->width, src->height});
}
