// The runtime's alert box: a modal message with the error icon, from whichever thread
// meets a failure. Never checks for a pending error (it is called while one is pending).
// Every layer may raise one; the box itself belongs to the dialog layer, which
// registers it at start-up. Until then the alert goes to standard error.
#pragma once
#include <cstdint>

// kind: the buttons, "ok", "yesno", ... Returns the button: 1 OK or Yes, 2 No of
// "yesnocancel", 0 otherwise.
int32_t gui_alert(const char* message, const char* title, const char* kind);
// A printf-formatted message in an "Alert" box with an OK button; true when it was
// shown. The text is cut at twice the format's length plus 254 bytes (never inside a
// UTF-8 character).
bool gui_alert(const char* format, ...) __attribute__((format(printf, 1, 2)));

using gui_alert_fn = int32_t (*)(const char* message, const char* title, const char* kind);
// The real box (start-up); nullptr: standard error again.
void gui_alert_set_box(gui_alert_fn box);
// Tests record the boxes and script the answers; nullptr restores the real box.
void gui_alert_set_backend(gui_alert_fn backend);
// A back end that writes "title: message" to standard error and answers 1, for
// programs whose tests read their alerts there.
int32_t gui_alert_to_stderr(const char* message, const char* title, const char* kind);
