// Process entry: prepares every runtime table in order before any other thread
// exists, then starts the program, timer and housekeeping threads and becomes the
// window thread for good.
#include <X11/Xlib.h>
#include <unistd.h>

#include "clock/clock.h"
#include "command/command.h"
#include "core/boundary.h"
#include "core/program.h"
#include "core/run.h"
#include "core/startup.h"
#include "dialog/console_backend.h"
#include "dialog/dialog_layer.h"
#include "dialog/gui.h"
#include "display/display.h"
#include "error/error.h"
#include "file/field.h"
#include "file/file_numbers.h"
#include "font/font_tables.h"
#include "font/glyphs.h"
#include "glut/glut_queue.h"
#include "glut/glut_setup.h"
#include "image/hardware_queue.h"
#include "image/image_table.h"
#include "input/bios_keyboard.h"
#include "input/device.h"
#include "input/key_functions.h"
#include "input/keyboard.h"
#include "input/lock_keys.h"
#include "input/mouse_ring.h"
#include "log/log.h"
#include "memory/cmem.h"
#include "memory/cmem_string.h"
#include "memory/mem_lock.h"
#include "memory/return_points.h"
#include "memory/static_arena.h"
#include "net/net.h"
#include "net/net_backend.h"
#include "number/rnd.h"
#include "palette/palette.h"
#include "path/folders.h"
#include "platform/console_terminal.h"
#include "platform/exe_path.h"
#include "platform/x11_desktop.h"
#include "platform/process_exit.h"
#include "string/zvs.h"
#include "support/traxel.h"
#include "text/end_calls.h"
#include "text/input_editor.h"
#include "text/key_line.h"
#include "text/lprint.h"
#include "text/print.h"
#include "text/text_cursor.h"
#include "program.h"
#include "screen/lock_display.h"
#include "screen/screen.h"
#include "screen/width.h"
#include "traps.h"
#include "x86/call_absolute.h"
#include "x86/cpu.h"

int main(int argc, char** argv) {
    // Xlib is used from the window thread and from dialogs on other threads.
    XInitThreads();
    dialog_locale_global_init();
    dialog_global_init();
    console_dialog_global_init();  // the dialogs' console routes
    libzv_set_program(&zv_program_info);
    glut_queue_global_init();
    libzv_log_global_init();
    zvs_global_init();
    zvs_cmem_global_init();
    mem_lock_global_init();
    return_point_global_init();
    devices_global_init();
    onstrig_global_init();
    onkey_global_init();
    ontimer_freelist_global_init();
    ontimer_global_init();

    clock_init();
    libzv_log_init();
    libzv_log_info(LOGSCOPE_LIBZV, "Program starting.");
    display_global_init();
    set_dynamic_info();

    net_global_init();
    traxel_set_handle(0);  // this program serves no debug link
    hardware_images_global_init();
    mouse_global_init();
    if (libzv_program().screen_hide_startup) screen_hide.store(1);
    onkey_default_keys();
    ontimer_default_slot();
    font_metrics_global_init();
    image_table_global_init();
    cpu_global_init();
    keyboard_global_init();  // port 60h answers 0x81 before any key

    mem_static_global_init();
    cmem_global_init();
    zvs_cmem_make_runtime_strings();
    // Empty file tables; END, CLEAR and the shutdown close files through them.
    file_global_init();
    field_global_init();  // LSET, RSET and string releases reach FIELD

    FS_SaveStartDirectory();  // _STARTDIR$, before the folder changes
    // The current folder becomes the executable's own.
    std::string folder = libzv_executable_folder();
    if (!folder.empty() && chdir(folder.c_str()) != 0) {
    }
    unknown_opcode_mess_global_init();

    // Before the window set-up, which takes its own options out of argv.
    command_initialize(argc, argv);

    x11_desktop_global_init();
    startup_lock_keys();
    bios_keyboard_empty();
    palette_global_init();
    // The terminal standing for the console: its size, and its mode put back at exit.
    console_terminal_global_init();
    randomize_set_ask_seed(input_ask_seed);  // RANDOMIZE without a number asks through INPUT
    glyphs_global_init();
    // SCREEN and CLS redraw the KEY line.
    screen_set_key_line_redraw(key_line_redraw);
    zvg_screen(0, 0, 0, 0, 0, 1);
    width8050switch = 1;
    // LOCATE below row 25 of the start-up screen switches it to 80 x 50 through WIDTH.
    set_locate_width(width_columns_rows);
    // RUN's resets: WIDTH 80, 25, the RND seeds and _KEYCLEAR.
    static const run_init_calls run_calls{width_80_25, rnd_reset_seeds, [] { sub__keyclear(0, 0); }};
    run_set_init_calls(&run_calls);
    if (libzv_program().console) screen_console_image_init();
    devices_start();  // keyboard and mouse input devices
    // END's prompt prints through the text statements and waits with INKEY$.
    text_register_end_calls(zvs_inkey);
    lprint_global_init();  // the printer page: TAB/SPC, hand-over, idle check
    set_print_beep(sub_beep);  // PRINT CHR$(7) rings the bell

    error_set_program_name(argv[0]);
    // Runtime waits serve errors, traps and the shutdown through the program's boundary.
    libzv_set_boundary_check(zv_wait_boundary_check);

    libzv_http_init();
    libzv_glut_presetup(argc, argv);
    startup_start_thread(zv_program_thread);
    startup_start_thread(TIMERTHREAD);
    lock_display_required.store(1);
    libzv_start_main_thread(argc, argv);
}
