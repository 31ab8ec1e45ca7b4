// KEY ON, KEY OFF, KEY LIST and KEY n.
#include "input/key_statements.h"

#include <string>

#include "core/traps.h"
#include "error/error.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "input/keyboard.h"
#include "input/keyboard_lock.h"
#include "string/zvs.h"
#include "text/key_line.h"
#include "text/print.h"

namespace {

constexpr int32_t soft_key_max = 15;

// Function key 1-12 to its ON KEY slot (F11 and F12 are slots 30 and 31).
int32_t slot_of_key(int32_t key) { return key <= 10 ? key : key + 19; }

bool printable_as_is(uint8_t c) { return !((c >= 7 && c <= 13) || (c >= 28 && c <= 31)); }

void print(const std::string& s, int32_t finish_line) {
    uint32_t mark = zvs_tmp_list_nexti();
    zvs_print(zvs_new_txt_len(s.data(), int32_t(s.size())), finish_line);
    zvs_tmp_release_to(mark, 0);
}

int32_t print_width(const char* s) {
    uint32_t mark = zvs_tmp_list_nexti();
    int32_t w = func__printwidth(zvs_new_txt(s), 0, 0);
    zvs_tmp_release_to(mark, 0);
    return w;
}

}  // namespace

zvs* key_soft_text(int32_t key) {
    if (key < 1 || key > 12) return nullptr;
    return onkey(slot_of_key(key)).text.load();
}

void key_on() {
    if (new_error_is_set()) return;
    key_display = 1;
    key_update();
}

void key_off() {
    if (new_error_is_set()) return;
    key_display = 0;
    key_update();
}

void key_list() {
    if (new_error_is_set()) return;
    img_struct* im = write_page();
    bool proportional = im && fontwidth[im->font].load() == 0;
    bool aligned = true;
    if (proportional && print_width(" ") != print_width(")")) aligned = false;
    for (int32_t key = 1; key <= 12; ++key) {
        std::string label = "F" + std::to_string(key);
        if (!proportional)
            label += key <= 9 ? "  " : " ";
        else
            label += key <= 9 && aligned ? ")  " : ") ";
        zvs* text = onkey(slot_of_key(key)).text.load();
        if (!text || !text->length) {
            print(label, 1);
            continue;
        }
        std::string shown;
        for (int32_t i = 0; i < text->length; ++i)
            shown += printable_as_is(text->text[i]) ? char(text->text[i]) : ' ';
        print(label, 0);
        print(shown, 1);
    }
}

void key_assign(int32_t n, zvs* text) {
    if (new_error_is_set()) return;
    if ((n >= 1 && n <= 10) || n == 30 || n == 31) {
        if (text->length > soft_key_max) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
        uint8_t bytes[soft_key_max];
        int32_t length = text->length;
        for (int32_t i = 0; i < length; ++i) bytes[i] = text->text[i];
        {
            // The window thread expands soft keys; it never sees a half-written text.
            keyboard_guard hold(keyboard_mutex());
            zvs* stored = onkey(n).text.load();
            if (!stored) {
                stored = zvs_new(0, 0);
                onkey(n).text.store(stored);
            }
            zvs_set(stored, text);
            keyboard_set_soft_key(n, bytes, length);
        }
        key_display_redraw = 1;
        key_update();
        return;
    }
    if (n >= 15 && n <= 29) {
        keyboard_guard hold(keyboard_mutex());
        onkey_struct& k = onkey(n);
        if (!text->length) {
            k.scancode.store(0);
            return;
        }
        uint8_t flags = 0;
        for (int32_t i = 0; i + 1 < text->length; ++i) flags |= text->text[i];
        k.flags.store(flags);
        k.scancode.store(text->text[text->length - 1]);
        return;
    }
    error(ERR_ILLEGAL_FUNCTION_CALL);
}
