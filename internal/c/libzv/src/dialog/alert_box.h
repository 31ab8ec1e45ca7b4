// The runtime's alert box in the dialog layer: start-up registers it with gui_alert.
#pragma once
#include <cstdint>

// A message box with the error icon; standard error when this process has no way to
// show one (no console route set up and no display).
int32_t dialog_alert_box(const char* message, const char* title, const char* kind);
