// The runtime's alert box: a modal message from whichever thread meets a failure.
#pragma once
#include <cstdint>

// kind: "ok", "yesno", ... Returns the button: 1 OK or Yes, 0 No.
// Never checks for a pending error (it is called while one is pending).
int32_t gui_alert(const char* message, const char* title, const char* kind);

// Tests record the boxes and script the answers; nullptr restores the default.
using gui_alert_fn = int32_t (*)(const char* message, const char* title, const char* kind);
void gui_alert_set_backend(gui_alert_fn backend);
