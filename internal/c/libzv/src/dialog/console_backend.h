// The console routes of the dialog layer as its back ends: the curses program when it
// is allowed and found, else the basic questions.
#pragma once

// Fills the back ends of the curses and basic routes (start-up, and tests after
// dialog_reset_for_tests). The curses program is looked for on first use, along the
// PATH and with the TMPDIR that the layer read at start-up.
void console_dialog_global_init();

extern "C" {
// Whether the curses route may be used: ndlg_allowCursesDialogs set and "dialog"
// found along PATH (searched once).
bool tfd_findCursesDialogExe();
}
