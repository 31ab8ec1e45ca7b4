// The graphic route's table, and whether a display opens.
#include "dialog/x11_backend.h"

#include "dialog/chooser_window.h"
#include "dialog/x11_dialog.h"

bool x11_display_opens() { return dx_display_opens(); }

dialog_backend x11_backend() {
    dialog_backend b{};
    b.available = x11_display_opens;
    b.message_box = x11_message_box;
    b.notify_popup = x11_notify_popup;
    b.input_box = x11_input_box;
    b.beep = x11_beep;
    b.save_file = chooser_window_save;
    b.open_file = chooser_window_open;
    b.select_folder = chooser_window_folder;
    b.color_chooser = chooser_window_colour;
    return b;
}
