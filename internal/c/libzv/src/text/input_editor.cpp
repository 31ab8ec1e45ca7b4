// INPUT and LINE INPUT: the edit loop shared by every image, and the console image's key source.
#include "text/input_editor.h"

#include <string>
#include <vector>

#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "error/error.h"
#include "image/image_table.h"
#include "image/img_struct.h"
#include "number/type_word.h"
#include "platform/console_terminal.h"
#include "string/zvs.h"
#include "text/input_editor_check.h"
#include "text/print.h"

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
void console_input_line(edit_line& edit) {
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

void zvs_input(int32_t n, uint8_t /*finish_line*/) {
    if (new_error_is_set()) return;
    if (n < 1 || static_cast<size_t>(n) >= target_types.size()) return;
    img_struct* image = write_page();
    if (!image || !image->console) return;  // screen images: not built yet
    edit_line edit;
    edit.n = n;
    const uint32_t mark = zvs_tmp_list_nexti();
    start_targets(edit);
    console_input_line(edit);
    zvs_tmp_release_to(mark, 0);
}

int32_t input_ask_seed(const char* prompt, int16_t* value) {
    if (new_error_is_set()) return 0;
    print_text(prompt, 0);
    img_struct* image = write_page();
    if (!image || !image->console) return 0;
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
