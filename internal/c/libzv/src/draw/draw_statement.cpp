// DRAW: the command interpreter, its number reader and VARPTR$ substrings.
#include "draw/draw_statement.h"

#include <cmath>
#include <cstring>

#include "draw/circle.h"
#include "draw/coordinates.h"
#include "draw/graphics_open.h"
#include "draw/line.h"
#include "draw/paint.h"
#include "draw/rounding.h"
#include "error/error.h"
#include "image/image_table.h"
#include "memory/cmem.h"

const uint8_t* sub_draw_cp;
int64_t sub_draw_len;
int64_t sub_draw_i;
int32_t draw_num_invalid;
int32_t draw_num_undefined;

namespace {

// Suspended strings of X commands; lengths and positions are kept in full.
struct suspended {
    const uint8_t* text;
    int64_t length, position;
};
constexpr int32_t max_suspended = 8192;
suspended draw_stack[max_suspended];
int32_t draw_stack_depth;

struct vec {
    double x, y;
};

// The pen and the direction vectors of the current statement.
struct draw_state {
    double x, y;
    vec u, r, e, f;
    double aspect, scale;
};

bool is_blank(uint8_t c) { return c == ' ' || c == '\t'; }
uint8_t upper(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; }

void skip_blanks() {
    while (sub_draw_i < sub_draw_len && is_blank(sub_draw_cp[sub_draw_i])) sub_draw_i++;
}

// U, R, E and F for the aspect, turned anticlockwise on screen by `degrees`.
void build_vectors(draw_state& s, double degrees) {
    s.u = {0, -1};
    s.r = {s.aspect, 0};
    s.e = {s.aspect, -1};
    s.f = {s.aspect, 1};
    double t = degrees * 0.0174532925199433;
    double c = std::cos(t), sn = std::sin(t);
    for (vec* v : {&s.u, &s.r, &s.e, &s.f}) {
        double x = v->x * c + v->y * sn;
        double y = v->y * c - v->x * sn;
        *v = {x, y};
    }
}

// A reference value: type code and offset into the default data segment.
double reference_value(uint8_t type, uint16_t offset, bool& ok) {
    const uint8_t* p = cmem + dblock_linear + offset;
    ok = true;
    auto read = [p](auto v) {
        memcpy(&v, p, sizeof v);
        return static_cast<double>(v);
    };
    switch (type) {
        case 1: return read(int8_t{});
        case 129: return read(uint8_t{});
        case 2: return read(int16_t{});
        case 130: return read(uint16_t{});
        case 20: return read(int32_t{});
        case 148: return read(uint32_t{});
        case 5: return read(int64_t{});
        case 133: return read(uint64_t{});
        case 4: return read(float{});
        case 8: return read(double{});
        case 6: {
            long double v = 0;
            memcpy(&v, p, 10);
            return static_cast<double>(v);
        }
        default:
            ok = false;
            return 0;
    }
}

// A well-formed integer value as its low 32 bits; false when malformed, absent or
// fractional. Values beyond the int64 range keep the checked conversion's 0.
bool read_integer(uint32_t& out) {
    double n = draw_num();
    if (draw_num_invalid || draw_num_undefined || !(n == std::trunc(n))) return false;
    int64_t v = n >= -9.2233720368547758e18 && n < 9.2233720368547758e18 ? static_cast<int64_t>(n) : INT64_MIN;
    out = static_cast<uint32_t>(v);
    return true;
}

bool next_is(uint8_t c) {
    if (sub_draw_i >= sub_draw_len || sub_draw_cp[sub_draw_i] != c) return false;
    sub_draw_i++;
    return true;
}

// The pen back in program coordinates.
vec to_program(const img_graphics_state& g, double x, double y) {
    if (g.clipping_or_scaling == 2)
        return {(x - map_origin_x(g) - g.scaling_offset_x) / g.scaling_x,
                (y - map_origin_y(g) - g.scaling_offset_y) / g.scaling_y};
    if (g.clipping_or_scaling == 1) return {x - g.view_offset_x, y - g.view_offset_y};
    return {x, y};
}

// The graphics cursor on the pixel grid, unrounded (single precision in WINDOW mode).
vec from_program(const img_graphics_state& g) {
    if (g.clipping_or_scaling == 2) {
        float sx = g.x * g.scaling_x, sy = g.y * g.scaling_y;
        float ox = sx + g.scaling_offset_x, oy = sy + g.scaling_offset_y;
        return {ox + static_cast<float>(map_origin_x(g)), oy + static_cast<float>(map_origin_y(g))};
    }
    if (g.clipping_or_scaling == 1)
        return {static_cast<double>(g.x) + g.view_offset_x, static_cast<double>(g.y) + g.view_offset_y};
    return {g.x, g.y};
}

// One DRAW command as read from the text: what it does and its numbers.
struct draw_command {
    enum kind_t { end, fail, move, move_to, move_by, no_draw, no_move, colour, scale, angle, paint } kind;
    uint8_t letter = 0;   // move: U, D, L, R, E, F, G or H
    double a = 0, b = 0;  // move: the count; move_to, move_by: x, y; scale: n; angle: degrees
    uint32_t fill = 0, border = 0;  // colour: fill; paint: fill, border
    int32_t error = 0;              // fail
};

draw_command failed(int32_t n) { return {draw_command::fail, 0, 0, 0, 0, 0, n}; }

// The next command of the text, entering X substrings and returning from them; blanks
// and ';' are skipped. Reads numbers and checks them; changes nothing else.
draw_command read_command() {
    for (;;) {
        if (sub_draw_i >= sub_draw_len) {
            if (draw_stack_depth == 0) return {draw_command::end};
            const suspended& r = draw_stack[--draw_stack_depth];
            sub_draw_cp = r.text;
            sub_draw_len = r.length;
            sub_draw_i = r.position;
            continue;
        }
        uint8_t c = upper(sub_draw_cp[sub_draw_i++]);
        switch (c) {
            case 'U': case 'D': case 'L': case 'R': case 'E': case 'F': case 'G': case 'H': {
                double n = draw_num();
                if (draw_num_invalid) return failed(5);
                if (draw_num_undefined) n = 1;
                return {draw_command::move, c, n};
            }
            case 'M': {
                skip_blanks();
                if (sub_draw_i >= sub_draw_len) return failed(5);
                bool relative = sub_draw_cp[sub_draw_i] == '+' || sub_draw_cp[sub_draw_i] == '-';
                double x = draw_num();
                if (draw_num_invalid || draw_num_undefined || !next_is(',')) return failed(5);
                double y = draw_num();
                if (draw_num_invalid || draw_num_undefined) return failed(5);
                return {relative ? draw_command::move_by : draw_command::move_to, c, x, y};
            }
            case 'B':
                return {draw_command::no_draw};
            case 'N':
                return {draw_command::no_move};
            case 'C': {
                uint32_t v;
                if (!read_integer(v)) return failed(5);
                return {draw_command::colour, c, 0, 0, v};
            }
            case 'S': {
                double n = draw_num();
                if (draw_num_invalid || draw_num_undefined || !(n >= 0)) return failed(5);
                return {draw_command::scale, c, n};
            }
            case 'A':
            case 'T': {
                double angle;
                if (c == 'T') {
                    skip_blanks();
                    if (sub_draw_i >= sub_draw_len) return failed(5);
                    if (upper(sub_draw_cp[sub_draw_i]) != 'A') return failed(5);
                    sub_draw_i++;
                    angle = draw_num();
                    if (draw_num_invalid || draw_num_undefined) return failed(5);
                } else {
                    double n = draw_num();
                    if (draw_num_invalid || draw_num_undefined) return failed(5);
                    if (n != 0 && n != 1 && n != 2 && n != 3) return failed(5);
                    angle = n * 90;
                }
                return {draw_command::angle, c, angle};
            }
            case 'P': {
                uint32_t fill, border;
                if (!read_integer(fill) || !next_is(',') || !read_integer(border)) return failed(5);
                return {draw_command::paint, c, 0, 0, fill, border};
            }
            case 'X': {
                if (sub_draw_len - sub_draw_i < 3 || sub_draw_cp[sub_draw_i] != 3) return failed(5);
                if (draw_stack_depth == max_suspended) return failed(6);
                const uint8_t* p = sub_draw_cp + sub_draw_i;
                uint16_t offset = static_cast<uint16_t>(p[1] | p[2] << 8);
                draw_stack[draw_stack_depth++] = {sub_draw_cp, sub_draw_len, sub_draw_i + 3};
                // The VARPTR$ string form: a 16-bit length, then the text's offset.
                const uint8_t* d = cmem + dblock_linear + offset;
                sub_draw_len = d[0] | d[1] << 8;
                sub_draw_cp = cmem + dblock_linear + (d[2] | d[3] << 8);
                sub_draw_i = 0;
                continue;
            }
            case ' ':
            case '\t':
            case ';':
                continue;
            default:
                return failed(5);
        }
    }
}

// B and N: they apply to the next move only.
struct pen_options {
    bool no_draw = false, no_move = false;
};

// Carries out one command on the image: pen, vectors, colour, fill.
void run_command(const draw_command& c, img_struct* im, draw_state& s, pen_options& pen, uint32_t& col) {
    img_graphics_state& g = im->graphics;
    double ia = 1 / s.aspect;
    double tx, ty;
    switch (c.kind) {
        case draw_command::move: {
            uint8_t l = c.letter;
            vec d = l == 'U' || l == 'D' ? s.u : l == 'L' || l == 'R' ? s.r : l == 'E' || l == 'G' ? s.e : s.f;
            if (l == 'D' || l == 'L' || l == 'G' || l == 'H') d = {-d.x, -d.y};
            vec v{c.a * d.x * ia, c.a * d.y};
            tx = s.x + v.x * s.scale;
            ty = s.y + v.y * s.scale;
            break;
        }
        case draw_command::move_by:
            tx = s.x + (c.a * ia * s.r.x - c.b * ia * s.u.x) * s.scale;
            ty = s.y + (c.a * s.r.y - c.b * s.u.y) * s.scale;
            break;
        case draw_command::move_to:
            tx = c.a;
            ty = c.b;
            break;
        case draw_command::no_draw:
            pen.no_draw = true;
            return;
        case draw_command::no_move:
            pen.no_move = true;
            return;
        case draw_command::colour:
            col = c.fill;
            im->draw_color = c.fill;
            return;
        case draw_command::scale:
            s.scale = c.a / 4;
            g.draw_scale = s.scale;
            return;
        case draw_command::angle:
            g.draw_angle = c.a;
            build_vectors(s, c.a);
            return;
        case draw_command::paint: {
            vec at = to_program(g, s.x, s.y);
            sub_paint(static_cast<float>(at.x), static_cast<float>(at.y), c.fill, c.border, nullptr, 2 | 4);
            col = c.fill;
            return;
        }
        default:
            return;
    }
    // A move: draw unless B, move the pen unless N.
    if (!pen.no_draw)
        fast_line(round_double_to_int32(s.x), round_double_to_int32(s.y), round_double_to_int32(tx),
                  round_double_to_int32(ty), col);
    if (!pen.no_move) {
        s.x = tx;
        s.y = ty;
    }
    pen = {};
}

}  // namespace

double draw_num() {
    double value = 0, sign = 1, fraction = 0.1;
    bool digits = false, point = false, signs = false;
    draw_num_invalid = 0;
    draw_num_undefined = 1;
    while (sub_draw_i < sub_draw_len) {
        uint8_t c = sub_draw_cp[sub_draw_i];
        if (is_blank(c)) {
            sub_draw_i++;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                value += (c - '0') * fraction;
                fraction /= 10;
            } else {
                value = value * 10 + (c - '0');
            }
            digits = true;
            draw_num_invalid = 0;
            draw_num_undefined = 0;
            sub_draw_i++;
        } else if (c == '-' || c == '+') {
            if (digits || point) break;
            if (c == '-') sign = -sign;
            signs = true;
            draw_num_invalid = 1;  // a sign alone is malformed
            sub_draw_i++;
        } else if (c == '.') {
            if (point) break;
            point = true;
            if (digits) draw_num_invalid = 1;  // "5." is malformed, "5.5" is not
            sub_draw_i++;
        } else if (c == '=') {
            sub_draw_i++;
            if (digits || point || signs || sub_draw_len - sub_draw_i < 3) {
                draw_num_invalid = 1;
                return 0;
            }
            const uint8_t* p = sub_draw_cp + sub_draw_i;
            sub_draw_i += 3;
            bool ok;
            double v = reference_value(p[0], static_cast<uint16_t>(p[1] | p[2] << 8), ok);
            draw_num_invalid = ok ? 0 : 1;
            draw_num_undefined = 0;
            return ok ? v : 0;
        } else {
            break;
        }
    }
    return value * sign;
}

void sub_draw(zvs* commands) {
    img_struct* im = graphics_write_page();
    if (!im) return;
    img_graphics_state& g = im->graphics;
    draw_state s{};
    s.aspect = legacy_mode_aspect(im->legacy_mode);
    s.scale = g.draw_scale;
    build_vectors(s, g.draw_angle);
    vec pen = from_program(g);
    s.x = pen.x;
    s.y = pen.y;
    pen_options pen_flags;
    uint32_t col = im->draw_color;

    sub_draw_cp = commands->text;
    sub_draw_len = commands->length;
    sub_draw_i = 0;
    draw_stack_depth = 0;
    for (;;) {
        draw_command c = read_command();
        if (c.kind == draw_command::end) break;
        if (c.kind == draw_command::fail) return error(c.error);
        run_command(c, im, s, pen_flags, col);
    }
    vec at = to_program(g, s.x, s.y);
    g.x = static_cast<float>(at.x);
    g.y = static_cast<float>(at.y);
}
