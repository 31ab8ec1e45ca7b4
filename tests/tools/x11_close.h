// Sending a window the window manager's close request (WM_DELETE_WINDOW).
#pragma once

// Opens its own connection to the display; false when there is none.
bool x11_send_close(unsigned long window);
