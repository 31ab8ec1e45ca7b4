// Process entry: prepares every runtime table in order before any other thread
// exists, then starts the program, timer and housekeeping threads and becomes the
// window thread for good. This is where every hook between the layers is wired.
#include <X11/Xlib.h>
#include <unistd.h>

#include <string>

#include "clock/clock.h"
#include "command/command.h"
#include "core/boundary.h"
#include "core/program.h"
#include "core/startup.h"
#include "dialog/alert_box.h"
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
#include "lifecycle/fix_error.h"
#include "lifecycle/main_loop.h"
#include "lifecycle/run.h"
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
#include "platform/alert.h"
#include "platform/console_terminal.h"
#include "platform/exe_path.h"
#include "platform/process_exit.h"
#include "platform/x11_desktop.h"
#include "program.h"
#include "screen/lock_display.h"
#include "screen/screen.h"
#include "screen/width.h"
#include "string/zvs.h"
#include "support/traxel.h"
#include "text/end_calls.h"
#include "text/input_editor.h"
#include "text/key_line.h"
#include "text/lprint.h"
#include "text/print.h"
#include "text/text_cursor.h"
#include "traps.h"
#include "x86/call_absolute.h"
#include "x86/cpu.h"

namespace {

int start_argc = 0;
char** start_argv = nullptr;

// RUN's resets: WIDTH 80, 25, the RND seeds and _KEYCLEAR.
const run_init_calls run_calls{width_80_25, rnd_reset_seeds, [] { sub__keyclear(0, 0); }};

struct startup_step {
    const char* name;
    void (*run)();
};

// Every step of start-up, in the order of their effects; each names the layer it
// prepares or the layers it joins. Every later step may rely on the earlier ones
// (e.g. the log is up before "Program starting.").
const startup_step startup_steps[] = {
    // Xlib is used from the window thread and from dialogs on other threads.
    {"platform: X threads", [] { XInitThreads(); }},
    {"dialog: locale, environment, console routes, alert box",
     [] {
         dialog_locale_global_init();
         dialog_global_init();
         console_dialog_global_init();  // the dialogs' console routes
         gui_alert_set_box(dialog_alert_box);
     }},
    {"base: program descriptor", [] { libzv_set_program(&zv_program_info); }},
    {"devices: window request queue", glut_queue_global_init},
    {"base: log, strings, memory locks, return points",
     [] {
         libzv_log_global_init();
         zvs_global_init();
         zvs_cmem_global_init();
         mem_lock_global_init();
         return_point_global_init();
     }},
    {"devices: input devices", devices_global_init},
    {"program: trap tables",
     [] {
         onstrig_global_init();
         onkey_global_init();
         ontimer_freelist_global_init();
         ontimer_global_init();
     }},
    {"base: clock and log",
     [] {
         clock_init();
         libzv_log_init();
         // Logged as main's own entry: the log reads the same whatever the table's shape.
         if (libzv_log_enabled())
             libzv_log(LOGLEVEL_INFO, LOGSCOPE_LIBZV, __FILE__, "main", __LINE__, "Program starting.");
     }},
    {"graphics: display", display_global_init},
    {"program: dynamic settings", set_dynamic_info},
    {"devices: network", net_global_init},
    {"platform: debug link", [] { traxel_set_handle(0); }},  // this program serves no debug link
    {"graphics: hardware images", hardware_images_global_init},
    {"devices: mouse", mouse_global_init},
    {"base: hidden start", [] {
         if (libzv_program().screen_hide_startup) screen_hide.store(1);
     }},
    {"program: default keys and timer",
     [] {
         onkey_default_keys();
         ontimer_default_slot();
     }},
    {"graphics: font metrics and image table",
     [] {
         font_metrics_global_init();
         image_table_global_init();
     }},
    {"devices: x86 registers and keyboard",
     [] {
         cpu_global_init();
         keyboard_global_init();  // port 60h answers 0x81 before any key
     }},
    {"base: static arena, conventional memory, runtime strings",
     [] {
         mem_static_global_init();
         cmem_global_init();
         zvs_cmem_make_runtime_strings();
     }},
    // Empty file tables; END, CLEAR and the shutdown close files through them.
    {"devices: files",
     [] {
         file_global_init();
         field_global_init();  // LSET, RSET and string releases reach FIELD
     }},
    {"devices: start folder",
     [] {
         FS_SaveStartDirectory();  // _STARTDIR$, before the folder changes
         // The current folder becomes the executable's own.
         std::string folder = libzv_executable_folder();
         if (!folder.empty() && chdir(folder.c_str()) != 0) {
         }
     }},
    {"devices: x86 messages", unknown_opcode_mess_global_init},
    // Before the window set-up, which takes its own options out of argv.
    {"base: command line", [] { command_initialize(start_argc, start_argv); }},
    {"platform: desktop connection", x11_desktop_global_init},
    {"devices: lock keys and BIOS keyboard",
     [] {
         startup_lock_keys();
         bios_keyboard_empty();
     }},
    {"graphics: palettes", palette_global_init},
    // The terminal standing for the console: its size, and its mode put back at exit.
    {"platform: console terminal", console_terminal_global_init},
    // RANDOMIZE without a number asks through INPUT.
    {"devices: RANDOMIZE prompt", [] { randomize_set_ask_seed(input_ask_seed); }},
    {"graphics: glyphs", glyphs_global_init},
    {"graphics: start-up screen",
     [] {
         // SCREEN and CLS redraw the KEY line.
         screen_set_key_line_redraw(key_line_redraw);
         zvg_screen(0, 0, 0, 0, 0, 1);
         width8050switch = 1;
         // LOCATE below row 25 of the start-up screen switches it to 80 x 50 through WIDTH.
         set_locate_width(width_columns_rows);
     }},
    {"lifecycle: RUN's resets", [] { run_set_init_calls(&run_calls); }},
    {"graphics: console image", [] {
         if (libzv_program().console) screen_console_image_init();
     }},
    {"devices: keyboard and mouse input devices", devices_start},
    // END's prompt prints through the text statements and waits with INKEY$.
    {"devices: END's prompt", [] { text_register_end_calls(zvs_inkey); }},
    {"devices: printer page", lprint_global_init},  // TAB/SPC, hand-over, idle check
    {"devices: PRINT's bell", [] { set_print_beep(sub_beep); }},  // PRINT CHR$(7) rings the bell
    {"lifecycle: error box title", [] { error_set_program_name(start_argv[0]); }},
    // Runtime waits serve errors, traps and the shutdown through the program's boundary.
    {"program: boundary of runtime waits", [] { libzv_set_boundary_check(zv_wait_boundary_check); }},
    {"devices: HTTP client", libzv_http_init},
    {"devices: window", [] { libzv_glut_presetup(start_argc, start_argv); }},
    {"program: program and timer threads",
     [] {
         startup_start_thread(zv_program_thread, "program");
         startup_start_thread(TIMERTHREAD, "timer");
     }},
    {"graphics: display lock", [] { lock_display_required.store(1); }},
};

}  // namespace

int main(int argc, char** argv) {
    start_argc = argc;
    start_argv = argv;
    for (const startup_step& step : startup_steps) step.run();
    // The housekeeping thread starts and this thread becomes the window thread.
    libzv_start_main_thread(argc, argv, MAIN_LOOP);
}
