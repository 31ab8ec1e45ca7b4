// The runtime's alert box, shown through the dialog layer.
#include "dialog/alert_box.h"

#include <mutex>

#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"
#include "platform/alert.h"

int32_t dialog_alert_box(const char* message, const char* title, const char* kind) {
    {
        // With no way to show a box (a process that set up no console route and has no
        // display), the runtime's own messages still reach standard error.
        std::lock_guard<std::recursive_mutex> hold(dialog_lock());
        if (!dialog_backend_of(dialog_choose_route()).message_box) return gui_alert_to_stderr(message, title, kind);
    }
    return ndlg_messageBox(title ? title : "", message ? message : "", kind, "error", 1);
}
