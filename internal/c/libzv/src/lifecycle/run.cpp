// RUN with and without a file name.
#include "lifecycle/run.h"

#include <atomic>
#include <string>

#include "core/runtime_flags.h"
#include "core/traps.h"
#include "error/error.h"
#include "image/image_table.h"
#include "lifecycle/end.h"
#include "palette/palette.h"
#include "palette/palette_statements.h"
#include "platform/console_terminal.h"
#include "platform/process_start.h"
#include "screen/mode_defaults.h"
#include "screen/screen.h"
#include "string/zvs.h"

namespace {
void nothing() {}
const run_init_calls no_calls{nothing, nothing, nothing};
std::atomic<const run_init_calls*> init_calls{&no_calls};
}  // namespace

void run_set_init_calls(const run_init_calls* calls) { init_calls.store(calls ? calls : &no_calls); }

void sub_run_init() {
    onkey_reset_handlers();
    const run_init_calls& calls = *init_calls.load();
    zvg_screen(0, 0, 0, 0, 0, 1 | 4 | 8);
    calls.width_80_25();
    if (img_struct* page = write_page()) {
        reset_view_print(page);
        restorepalette(page);
    }
    zvg_sub_color(7, 0, 0, 1 | 2);
    calls.reset_rnd();
    calls.keyclear();
}

void run_hand_over(std::string_view folder, std::string_view command_line) {
    console_mode mode = console_lend_terminal();
    if (!libzv_process_start_in(folder, command_line)) {
        console_take_back_terminal(mode);
        return;
    }
    console_leave_terminal();
    close_program.store(1);
    end();
}

void sub_run(zvs* file) {
    if (new_error_is_set()) return;
    std::string command(reinterpret_cast<const char*>(file->text), size_t(file->length));
    // The name goes to the system as a C string: a zero byte in it names no file.
    // Only the program path gets its separators turned; arguments pass as written.
    if (command.find('\0') == std::string::npos) run_hand_over({}, command);
    error(ERR_FILE_NOT_FOUND);
}
