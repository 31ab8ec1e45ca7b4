// INPUT and LINE INPUT: the edit loop shared by every image, and the console image's key source.
#include "text/input_editor.h"

#include <string>
#include <vector>

#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "error/error.h"
#include "display/display.h"
#include "font/font_tables.h"
#include "glut/glut_setup.h"
#include "image/image_statements.h"
#include "image/image_table.h"
#include "input/key_functions.h"
#include "image/img_struct.h"
#include "number/type_word.h"
#include "platform/console_terminal.h"
#include "screen/pcopy.h"
#include "string/zvs.h"
#include "text/input_editor_check.h"
#include "text/print.h"
#include "text/text_image.h"

namespace {

std::vector<uint32_t> target_types(1);
std::vector<void*> target_addresses(1);

struct edit_line {
    int32_t n = 0;
    bool line_input = false;
    std::string accepted;
};

// Parses the working line and checks its last field; true when it can stay.
bool check_line(const edit_line& edit, const std::string& working) {
    std::vector<std::string> fields;
    const int32_t count = input_split_line(working, edit.n, edit.line_input, fields);
    if (count == 0) return false;
    return input_check_field(fields.back(), target_types[count], target_addresses[count]) != 0;
}

// Takes the last character back and checks the shorter line again, so that the
// field being typed holds its value once more.
void take_back(edit_line& edit) {
    if (edit.accepted.empty()) return;
    edit.accepted.pop_back();
    check_line(edit, edit.accepted);
}

void start_targets(edit_line& edit) {
    if (edit.n >= 1 && type_word_is_string(target_types[1]) && (target_types[1] & type_word_line_input)) {
        target_types[1] = 0xFFFFFE00u;
        edit.line_input = true;
    }
    for (int32_t k = 1; k <= edit.n; ++k) input_clear_target(target_types[k], target_addresses[k]);
}

// Console image: the terminal edits and echoes the line; the editor only checks
// it, so a refused character is dropped without writing anything.
void console_input_line(edit_line& edit, uint32_t mark) {
    const console_mode before = console_set_mode(console_mode::line);
    int32_t tab_spaces = 0;
    for (;;) {
        uint8_t key;
        if (tab_spaces) {
            key = ' ';
            --tab_spaces;
        } else {
            if (stop_program.load(std::memory_order_relaxed)) break;
            const console_input state = console_input_state();
            if (state == console_input::none) {
                libzv_sleep_ms(10);
                continue;
            }
            if (state == console_input::end || !console_read_byte(&key)) break;  // end of input is Enter
            if (key == 10) key = 13;
            zvs_tmp_release_to(mark, 0);
        }
        if (key == 13) break;
        if (key == 8) {
            take_back(edit);
            continue;
        }
        if (key == 9) {
            tab_spaces = 8 - static_cast<int32_t>(edit.accepted.size() & 7);
            continue;
        }
        if (key == 7 || key == 10 || key == 11 || key == 12 || (key >= 28 && key <= 31)) continue;
        const std::string working = edit.accepted + static_cast<char>(key);
        if (check_line(edit, working)) edit.accepted = working;
        else check_line(edit, edit.accepted);
    }
    console_set_mode(before);
}

// The screen copies of one statement: the page as it was at the start, and the
// scratch copy on which a taken-back line is printed again.
struct screen_copies {
    int32_t page = 0;        // write image index
    int32_t start = 0;       // handles (negative)
    int32_t scratch = 0;
    int32_t column = 1, row = 1, held = 0;
};

void print_char(uint8_t c) {
    const char text[1] = {static_cast<char>(c)};
    zvs_print(zvs_new_txt_len(text, 1), 0);
}

// Taking a key back on a screen: the start-of-input page with the shorter line
// printed again, so that nothing of the refused key stays.
void screen_take_back(edit_line& edit, const screen_copies& copies) {
    if (edit.accepted.empty()) return;
    edit.accepted.pop_back();
    sub_pcopy(copies.start, copies.scratch);
    set_write_page(-copies.scratch);
    img_struct* scratch = write_page();
    set_cursor_x(scratch, copies.column);
    set_cursor_y(scratch, copies.row);
    set_cursor_held(scratch, copies.held);
    for (char c : edit.accepted) print_char(static_cast<uint8_t>(c));
    const int32_t column = cursor_x(scratch), row = cursor_y(scratch), held = cursor_held(scratch);
    set_write_page(copies.page);
    sub_pcopy(copies.scratch, -copies.page);
    img_struct* page = write_page();
    set_cursor_x(page, column);
    set_cursor_y(page, row);
    set_cursor_held(page, held);
    check_line(edit, edit.accepted);
}

// The cursor of graphics images: the character cell at the text cursor with every
// pixel XORed with the foreground colour (all 32 bits on 32-bit images, alpha too),
// so that drawing it twice gives back the exact pixels. Text images show the
// producer's own cursor.
struct graphics_cursor {
    bool drawn = false;
    int32_t left = 0, top = 0, width = 0, height = 0;

    void flip(img_struct* im) {
        const uint32_t colour = im->color;
        for (int32_t y = top; y < top + height && y < im->height; ++y)
            for (int32_t x = left; x < left + width && x < im->width; ++x) {
                const size_t at = static_cast<size_t>(y) * im->width + static_cast<size_t>(x);
                if (im->bytes_per_pixel == 4) reinterpret_cast<uint32_t*>(im->pixels)[at] ^= colour;
                else im->pixels[at] = static_cast<uint8_t>(im->pixels[at] ^ colour);
            }
        drawn = !drawn;
    }
    // Draws or erases the cursor when its state changes; it blinks (bit 0x200 of the
    // millisecond clock) on 256-colour and 32-bit images and with loaded fonts.
    void update(img_struct* im) {
        if (im->text) return;
        const bool loaded_font = im->font >= first_loaded_font;
        const bool blinks = loaded_font || im->bits_per_pixel >= 8;
        const bool shown = !blinks || (GetTicks() & 0x200) == 0;
        if (shown == drawn) return;
        if (shown) {
            const int32_t font_width = text_font_width(im->font), font_height = text_font_height(im->font);
            width = blinks ? 1 : font_width;
            height = font_height;
            left = (cursor_x(im) - 1) * (font_width ? font_width : 1);
            top = (cursor_y(im) - 1) * font_height;
        }
        flip(im);
    }
    void erase(img_struct* im) {
        if (drawn) flip(im);
    }
};

// Waits for a one-character key: pending tab spaces first, then INKEY$ every 10 ms.
// Returns -1 when the program is stopping.
int32_t screen_key(int32_t& tab_spaces, uint32_t mark) {
    graphics_cursor cursor;
    for (;;) {
        if (tab_spaces) {
            --tab_spaces;
            return ' ';
        }
        cursor.update(write_page());
        libzv_sleep_ms(10);
        zvs* key = zvs_inkey();
        const int32_t length = key->length;
        const int32_t c = length ? key->text[0] : 0;
        zvs_tmp_release_to(mark, 0);
        if (stop_program.load(std::memory_order_relaxed)) return -1;
        if (length == 1) {
            cursor.erase(write_page());
            return c;
        }
    }
}

// Screen images: the editor echoes and restores the line itself. Returns false when
// the program is stopping (nothing is restored then).
bool screen_input_line(edit_line& edit, uint8_t finish_line, uint32_t mark) {
    screen_copies copies;
    copies.page = write_page_index();
    copies.start = func__copyimage(-copies.page, 0, 1);
    if (copies.start >= -1) {
        error(ERR_OOM_INPUT_START_COPY);
        return true;
    }
    copies.scratch = func__copyimage(-copies.page, 0, 1);
    if (copies.scratch >= -1) {
        sub__freeimage(copies.start, 1);
        error(ERR_OOM_INPUT_SCRATCH_COPY);
        return true;
    }
    img_struct* page = write_page();
    copies.column = cursor_x(page);
    copies.row = cursor_y(page);
    copies.held = cursor_held(page);
    const uint8_t cursor_show = page->cursor_show;
    page->cursor_show = 1;
    int32_t tab_spaces = 0;
    for (;;) {
        const int32_t key = screen_key(tab_spaces, mark);
        if (key < 0) return false;
        if (key == 13) break;
        if (key == 8) {
            screen_take_back(edit, copies);
            continue;
        }
        if (key == 9) {
            tab_spaces = 8 - static_cast<int32_t>(edit.accepted.size() & 7);
            continue;
        }
        if (key == 7) {
            print_char(7);
            continue;
        }
        if (key == 10 || key == 11 || key == 12 || (key >= 28 && key <= 31)) continue;
        edit.accepted += static_cast<char>(key);
        print_char(static_cast<uint8_t>(key));
        if (!check_line(edit, edit.accepted)) screen_take_back(edit, copies);
    }
    if (finish_line) zvs_print(zvs_new_txt_len("", 0), 1);
    write_page()->cursor_show = cursor_show;
    sub__freeimage(copies.scratch, 1);
    sub__freeimage(copies.start, 1);
    return true;
}

// Manual display before the statement: the producer shows the finished line once and
// switches back to manual. A hidden screen gets no frames, so it switches at once.
void hand_back_display() {
    if (screen_hide.load(std::memory_order_acquire)) {
        autodisplay.store(0, std::memory_order_release);
        return;
    }
    autodisplay.store(-1, std::memory_order_release);
    while (autodisplay.load(std::memory_order_acquire) != 0 && !stop_program.load(std::memory_order_relaxed)) libzv_sleep_ms(1);
}

}  // namespace

void zvs_input_target(int32_t index, uint32_t type, void* address) {
    if (index < 1) return;
    if (static_cast<size_t>(index) >= target_types.size()) {
        target_types.resize(static_cast<size_t>(index) + 1);
        target_addresses.resize(static_cast<size_t>(index) + 1);
    }
    target_types[static_cast<size_t>(index)] = type;
    target_addresses[static_cast<size_t>(index)] = address;
}

void zvs_input(int32_t n, uint8_t finish_line) {
    if (new_error_is_set()) return;
    if (n < 1 || static_cast<size_t>(n) >= target_types.size()) return;
    img_struct* image = write_page();
    if (!image) return;
    edit_line edit;
    edit.n = n;
    const uint32_t mark = zvs_tmp_list_nexti();
    if (image->console) {
        start_targets(edit);
        console_input_line(edit, mark);
        zvs_tmp_release_to(mark, 0);
        return;
    }
    const int32_t previous_autodisplay = autodisplay.exchange(1);
    const int32_t read_index = read_page_index();
    set_read_page(write_page_index());
    start_targets(edit);
    if (!screen_input_line(edit, finish_line, mark)) return;
    zvs_tmp_release_to(mark, 0);
    if (previous_autodisplay == 0) hand_back_display();
    set_read_page(read_index);
}

int32_t input_ask_seed(const char* prompt, int16_t* value) {
    if (new_error_is_set()) return 0;
    print_text(prompt, 0);
    int16_t seed = 0;
    zvs_input_target(1, 16, &seed);
    zvs_input(1, 1);
    if (new_error_is_set() || stop_program.load(std::memory_order_relaxed)) return 0;
    *value = seed;
    return 1;
}

void input_editor_reset_for_tests() {
    target_types.assign(1, 0);
    target_addresses.assign(1, nullptr);
}
