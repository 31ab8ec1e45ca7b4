// SCREEN: mode changes with their page sets (text pages and the SCREEN 13 page in
// conventional memory), page flips, and the screen-state words.
#include "screen/screen.h"

#include <cstdlib>
#include <cstring>

#include "display/display.h"
#include "error/error.h"
#include "font/font_tables.h"
#include "image/image_handle.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "memory/cmem.h"
#include "screen/lock_display.h"
#include "screen/mode_defaults.h"

int32_t sub_screen_width_in_characters = -1;
int32_t sub_screen_height_in_characters = -1;
int32_t sub_screen_font = -1;
int32_t sub_screen_keep_page0 = 0;
int32_t width8050switch = 0;

namespace {

// Text pages start at B800:0 and share its 64 KB; the SCREEN 13 page is A000:0.
constexpr int64_t text_window = 0xB8000;
constexpr int64_t text_window_bytes = 65536;
constexpr int64_t mode13_window = 0xA0000;
constexpr int64_t mode13_bytes = 320 * 200;
constexpr int32_t text_pages = 8;

int32_t previous_active_page = 0;
void (*key_line_redraw)() = nullptr;
// Text pages of the set that lie outside conventional memory are made at their first
// use (bit n: page n), so that a large text geometry costs one page, not eight.
uint32_t deferred_text_pages = 0;

bool geometry_pending() {
    return sub_screen_width_in_characters != -1 || sub_screen_height_in_characters != -1 || sub_screen_font != -1;
}

struct cells {
    int32_t columns, rows;
};

// Page 0's size in character cells; (0, 0) without a page 0.
cells page0_cells() {
    int32_t p0 = page_index(0);
    if (!p0) return {0, 0};
    const img_struct* im = img_get(p0);
    if (im->text) return {im->width, im->height};
    int32_t fw = 0, fh = 0;
    if (im->font >= 0 && im->font < font_table_capacity) {
        fw = fontwidth[im->font];
        fh = fontheight[im->font];
    }
    return {im->width / (fw ? fw : 1), im->height / (fh ? fh : 1)};
}

struct text_geometry {
    int32_t columns, rows, font;
};

// SCREEN 0's geometry from what WIDTH left pending and the previous page 0.
text_geometry screen0_geometry(cells old) {
    int32_t w = sub_screen_width_in_characters;
    int32_t h = sub_screen_height_in_characters;
    int32_t f = sub_screen_font;
    if (w != -1 && h != -1) return {w, h, f != -1 ? f : text_font_for(w, h)};
    if (w != -1) {
        text_geometry g{w, 25, 16};
        if (old.rows == 43) g = {w, 43, 14};
        if (old.rows == 50) g = {w, 50, 8};
        if (w == 40) g.font++;
        return g;
    }
    if (h != -1) {
        text_geometry g{80, h, h == 43 ? 14 : h == 50 ? 8 : 16};
        if (old.columns == 40) {
            g.columns = 40;
            g.font++;
        }
        return g;
    }
    if (old.columns == 80 && old.rows == 50) return {80, 50, 8};
    if (old.columns == 40 && old.rows == 50) return {40, 50, 9};
    if (old.columns == 80 && old.rows == 43) return {80, 43, 8};
    if (old.columns == 40 && old.rows == 43) return {40, 43, 9};
    if (old.columns == 40 && old.rows == 25) return {40, 25, 17};
    return {80, 25, 16};
}

// What a new page set needs, worked out and allocated before the old pages go, so
// that running out of memory keeps the old screen.
struct mode_plan {
    int32_t mode = 0;
    int32_t adopt = 0;  // table index of an adopted image
    int32_t width = 0, height = 0;
    int32_t font = 0;  // 0: the mode's own
    text_geometry text{};
    int64_t page_bytes = 0;  // text pages
    int32_t in_window = 0;   // text pages that lie in conventional memory
    int32_t built = 0;       // text pages made now; the others at their first use
    uint8_t* pixels[text_pages] = {};
    uint32_t* palettes[text_pages] = {};

    ~mode_plan() {
        for (int32_t n = 0; n < text_pages; n++) {
            free(pixels[n]);
            free(palettes[n]);
        }
    }
};

bool allocate_page(mode_plan& plan, int32_t n, bool own_pixels, int64_t bytes) {
    plan.palettes[n] = static_cast<uint32_t*>(calloc(256, sizeof(uint32_t)));
    if (!plan.palettes[n]) return false;
    if (!own_pixels) return true;
    if (bytes > img_max_bytes) return false;
    plan.pixels[n] = static_cast<uint8_t*>(calloc(static_cast<size_t>(bytes), 1));
    return plan.pixels[n] != nullptr;
}

bool prepare(mode_plan& plan) {
    if (plan.adopt) return true;
    cells old = page0_cells();
    switch (plan.mode) {
        case 0: {
            text_geometry g = screen0_geometry(old);
            // Beyond the bound the screen is out of memory before anything is touched.
            if (g.columns < 1 || g.rows < 1 || g.columns > img_max_text_side || g.rows > img_max_text_side ||
                static_cast<int64_t>(g.columns) * g.rows > img_max_text_cells)
                return false;
            int64_t bytes = static_cast<int64_t>(g.columns) * g.rows * 2;
            // The legacy 40 x 25 and 80 x 25 pages sit on 2 KB and 4 KB boundaries.
            if (g.columns == 40 && g.rows == 25) {
                bytes = 2048;
                g.font = 17;
            } else if (g.columns == 80 && g.rows == 25) {
                bytes = 4096;
                g.font = 16;
            }
            plan.text = g;
            plan.page_bytes = bytes;
            plan.in_window =
                static_cast<int32_t>(text_window_bytes / bytes < text_pages ? text_window_bytes / bytes : text_pages);
            // Page 0 always, and every page that conventional memory holds anyway.
            plan.built = plan.in_window > 0 ? plan.in_window : 1;
            int64_t own_bytes = static_cast<int64_t>(g.columns) * g.rows * 2;
            for (int32_t n = 0; n < plan.built; n++) {
                bool own = n >= plan.in_window;
                if (!allocate_page(plan, n, own, own_bytes)) return false;
                if (own)
                    for (int64_t i = 0; i < own_bytes; i += 2) memcpy(plan.pixels[n] + i, &blank_text_cell, 2);
            }
            return true;
        }
        case 13:
            plan.width = 320;
            plan.height = 200;
            return allocate_page(plan, 0, false, 0);
        default: {
            const legacy_mode_info* m = legacy_mode(plan.mode);
            plan.width = m->page_width;
            plan.height = m->page_height;
            if ((plan.mode == 11 || plan.mode == 12) && old.columns == 80 && old.rows == 60) plan.font = 8;
            if ((plan.mode == 9 || plan.mode == 10) && old.columns == 80 && old.rows == 43) plan.font = 8;
            return allocate_page(plan, 0, true, static_cast<int64_t>(plan.width) * plan.height * m->bytes_per_pixel);
        }
    }
}

// Frees every page; an adopted page 0 only stops being a page.
void free_pages() {
    deferred_text_pages = 0;
    for (auto [n, index] : page_entries())
        if (n != 0) image_release(index);
    if (int32_t p0 = page_index(0)) {
        if (sub_screen_keep_page0)
            img_get(p0)->flags &= ~IMG_SCREEN;
        else
            image_release(p0);
    }
    sub_screen_keep_page0 = 0;
    pages_forget_all();
}

// A page over the planned buffers; the record takes them over.
int32_t build_page(mode_plan& plan, int32_t n, uint8_t* pixels, int32_t width, int32_t height, int32_t font) {
    int32_t index = imgframe_with_palette(pixels, plan.palettes[n], width, height, plan.mode);
    if (!index) return 0;
    plan.palettes[n] = nullptr;
    img_struct* im = img_get(index);
    if (pixels == plan.pixels[n]) {
        plan.pixels[n] = nullptr;
        im->flags |= IMG_FREEMEM;
    }
    if (font) selectfont(font, im);
    im->flags |= IMG_SCREEN;
    page_set(n, index);
    return index;
}

// A text page of the set at its first use, as the mode change would have built it:
// cells of its own, its own palette, the font every page has (page 0's), and the
// cursor look that LOCATE gives every page.
int32_t make_deferred_text_page(int32_t n) {
    if (n < 0 || n >= text_pages || !(deferred_text_pages & (1u << n))) return 0;
    int32_t first = page_index(0);
    if (!first) return 0;
    const img_struct* p0 = img_get(first);
    int32_t index = imgnew(p0->width, p0->height, 0);
    if (!index) return -1;
    deferred_text_pages &= ~(1u << n);
    img_struct* im = img_get(index);
    selectfont(p0->font, im);
    im->cursor_show = p0->cursor_show;
    im->cursor_firstvalue = p0->cursor_firstvalue;
    im->cursor_lastvalue = p0->cursor_lastvalue;
    im->flags |= IMG_SCREEN;
    page_set(n, index);
    return index;
}

// Builds page 0 (and for text the pages conventional memory holds); 0 when no slot
// could be had.
int32_t build_pages(mode_plan& plan) {
    if (plan.adopt) {
        img_get(plan.adopt)->flags |= IMG_SCREEN;
        sub_screen_keep_page0 = 1;
        page_set(0, plan.adopt);
        return plan.adopt;
    }
    if (plan.mode == 13) {
        memset(cmem + mode13_window, 0, mode13_bytes);
        return build_page(plan, 0, cmem + mode13_window, plan.width, plan.height, 0);
    }
    if (plan.mode != 0) return build_page(plan, 0, plan.pixels[0], plan.width, plan.height, plan.font);
    const text_geometry& g = plan.text;
    int32_t first = 0;
    for (int32_t n = 0; n < plan.built; n++) {
        uint8_t* cells = n < plan.in_window ? cmem + text_window + n * plan.page_bytes : plan.pixels[n];
        int32_t index = build_page(plan, n, cells, g.columns, g.rows, g.font);
        if (!index) return 0;
        if (n == 0) first = index;
    }
    for (int32_t n = plan.built; n < text_pages; n++) deferred_text_pages |= 1u << n;
    if (deferred_text_pages) set_deferred_page_maker(make_deferred_text_page);
    for (int64_t i = 0; i < text_window_bytes; i += 2) {
        cmem[text_window + i] = 0x20;
        cmem[text_window + i + 1] = 0x07;
    }
    return first;
}

// The mode change proper, with the producer paused.
void replace_pages(mode_plan& plan) {
    if (!plan.adopt && plan.mode == 0) {
        // Everything pending is used up (a lone font has no geometry to go with).
        sub_screen_width_in_characters = sub_screen_height_in_characters = sub_screen_font = -1;
    }
    free_pages();
    int32_t p0 = build_pages(plan);
    if (!p0) return;
    set_write_page(p0);
    set_read_page(p0);
    set_display_page(p0);
    img_struct* im = write_page();
    im->graphics.draw_angle = 0;
    im->graphics.draw_scale = 1;
    previous_active_page = 0;
    if (key_line_redraw) key_line_redraw();
}

void select_active(int32_t n) {
    int32_t index = validatepage(n);
    if (!index || (index == write_page_index() && index == read_page_index())) return;
    set_write_page(index);
    set_read_page(index);
    defaultcolors();
    img_struct* im = write_page();
    reset_view_print(im);
    if (n != previous_active_page && !im->text) {
        // The previous page may have been freed since (WIDTH frees pages 1 and up).
        int32_t previous = page_index(previous_active_page);
        if (previous && previous != index) im->graphics = img_get(previous)->graphics;
    }
    previous_active_page = n;
}

void select_visual(int32_t n) {
    int32_t index = validatepage(n);
    if (!index || index == display_page_index()) return;
    set_display_page(index);
    defaultcolors();
    reset_view_print(write_page());
}

}  // namespace

void zvg_screen(int32_t mode, int32_t, int32_t active_page, int32_t visual_page, int32_t, int32_t passed) {
    if (new_error_is_set()) return;
    if (!(passed == 1 && mode == 0)) width8050switch = 0;

    mode_plan plan;
    bool mode_change = false;
    if (passed & 1) {
        if (mode < 0) {
            int32_t index = image_index_of(mode);
            if (!index) return;
            if (index != page_index(0)) {
                // Adopting page 1 or above would free it first.
                if (img_get(index)->flags & IMG_SCREEN) {
                    error(ERR_ILLEGAL_FUNCTION_CALL);
                    return;
                }
                plan.adopt = index;
                mode_change = true;
            }
        } else {
            const legacy_mode_info* m = legacy_mode(mode);
            if (!m || !m->screen) {
                error(ERR_ILLEGAL_FUNCTION_CALL);
                return;
            }
            int32_t p0 = page_index(0);
            mode_change = !p0 || img_get(p0)->legacy_mode != mode || geometry_pending();
            plan.mode = mode;
        }
    }
    bool active_given = passed & 4;
    bool visual_given = passed & 8;
    if (active_given && active_page < 0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (active_given && !visual_given) {
        visual_page = active_page;
        visual_given = true;
    }
    if (visual_given && visual_page < 0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }

    bool change = mode_change;
    if (!mode_change) {
        if (active_given) {
            int32_t index = validatepage(active_page);
            if (!index) return;
            change |= index != write_page_index() || index != read_page_index();
        }
        if (visual_given) {
            int32_t index = validatepage(visual_page);
            if (!index) return;
            change |= index != display_page_index();
        }
    }
    if (!change) return;

    display_pause pause = display_pause::not_needed;
    if (mode_change) {
        if (!prepare(plan)) {
            error(ERR_OUT_OF_MEMORY);
            return;
        }
        pause = lock_display_pause();
        if (pause == display_pause::stopping) return;
    }
    screen_last_valid.store(0, std::memory_order_relaxed);
    if (mode_change) replace_pages(plan);
    if (active_given) select_active(active_page);
    if (visual_given) select_visual(visual_page);
    lock_display_resume(pause);
}

void screen_console_image_init() {
    int32_t index = imgnew(80, 25, 0);
    if (!index) return;
    img_get(index)->console = 1;
    set_console_image(-index);
}

void screen_set_key_line_redraw(void (*redraw)()) { key_line_redraw = redraw; }

void screen_reset_for_tests() {
    sub_screen_width_in_characters = sub_screen_height_in_characters = sub_screen_font = -1;
    sub_screen_keep_page0 = 0;
    width8050switch = 0;
    previous_active_page = 0;
    key_line_redraw = nullptr;
    deferred_text_pages = 0;
    lock_display_reset_for_tests();
}
