// ndlg_beep: the X bell at 900 Hz for 500 ms on a connection of its own, then a wait
// for the tone's length once the dialog lock is released.
#include <X11/Xlib.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"
#include "dialog/x11_backend.h"

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
    Display* d = XOpenDisplay(dialog_env_display());
    if (!d) return console_beep();
    XKeyboardState saved;
    XGetKeyboardControl(d, &saved);
    XKeyboardControl tone;
    tone.bell_pitch = 900;
    tone.bell_duration = tone_ms;
    XChangeKeyboardControl(d, KBBellPitch | KBBellDuration, &tone);
    XBell(d, 0);
    // The server's own settings come back at once; the bell already sounds with the tone's.
    XKeyboardControl back;
    back.bell_pitch = int(saved.bell_pitch);
    back.bell_duration = int(saved.bell_duration);
    XChangeKeyboardControl(d, KBBellPitch | KBBellDuration, &back);
    XSync(d, False);
    XCloseDisplay(d);
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
