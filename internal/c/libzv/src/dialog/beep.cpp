// ndlg_beep: the X bell at 900 Hz for 500 ms on the dialogs' connection, then a wait
// for the tone's length once the dialog lock is released.
#include <unistd.h>

#include <chrono>
#include <thread>

#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"
#include "dialog/x11_backend.h"
#include "dialog/x11_dialog.h"

namespace {

constexpr int32_t tone_ms = 500;

// Without a display: the terminal's bell, when standard output is one.
int32_t console_beep() {
    if (isatty(1) && write(1, "\a", 1) < 0) {
    }
    return tone_ms;
}

}  // namespace

int32_t x11_beep() {
    if (!dx_ring_bell(900, tone_ms)) return console_beep();
    return tone_ms;
}

extern "C" void ndlg_beep() {
    int32_t wait_ms;
    {
        std::lock_guard<std::recursive_mutex> hold(dialog_lock());
        const dialog_backend& b = dialog_backend_of(dialog_choose_route());
        wait_ms = b.beep ? b.beep() : console_beep();
    }
    if (wait_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
}
