// zv_send_close WINDOW-ID: sends the window manager's close request to a window,
// as a close button would (xdotool cannot).
#include <cstdio>
#include <cstdlib>

#include "x11_close.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: zv_send_close WINDOW-ID\n");
        return 2;
    }
    if (!x11_send_close(strtoul(argv[1], nullptr, 0))) {
        fprintf(stderr, "zv_send_close: no display\n");
        return 1;
    }
    return 0;
}
