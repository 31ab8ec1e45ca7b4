// END's wait for a key: the prompt on the display page of a windowed program, or on
// the terminal of a hidden console program.
#include <errno.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "display/display.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "lifecycle/end.h"
#include "string/zvs.h"

namespace {

// The last text row of an image: its height in rows, or in character cells.
int32_t last_row(const img_struct* im) {
    if (im->text) return im->height;
    int32_t cell = im->font >= 0 && im->font < font_table_capacity ? fontheight[im->font].load() : 0;
    int32_t rows = cell > 0 ? im->height / cell : 0;
    return rows > 0 ? rows : 1;
}

// INKEY$ gave a key; its temporary is released.
bool key_read(const end_screen_calls& calls) {
    uint32_t mark = zvs_tmp_list_nexti();
    zvs* key = calls.inkey();
    bool got = key && key->length > 0;
    zvs_tmp_release_to(mark, 0);
    return got;
}

bool stopping() { return stop_program.load() != 0; }

}  // namespace

bool end_wait_in_window() {
    const end_screen_calls& calls = end_screen();
    if (int32_t display = display_page_index()) set_write_page(display);  // _DEST _DISPLAY
    if (img_struct* im = write_page()) {
        int32_t last = last_row(im);
        calls.view_print(last, last);
    }
    uint32_t mark = zvs_tmp_list_nexti();
    calls.print(zvs_new_txt(""), 1);
    calls.print(zvs_new_txt("Press any key to continue"), 0);
    zvs_tmp_release_to(mark, 0);

    // Keys pressed before END do not end the wait.
    while (key_read(calls)) {
        if (stopping()) return false;
        libzv_sleep_ms(0);
    }
    autodisplay.store(1);
    for (;;) {
        if (stopping()) return false;
        if (key_read(calls)) return true;
        libzv_sleep_ms(100);
    }
}

bool end_wait_on_console(int fd) {
    fputs("\nPress any key to continue", stdout);
    fflush(stdout);

    termios saved{};
    bool terminal = isatty(fd) && tcgetattr(fd, &saved) == 0;
    if (terminal) {
        tcflush(fd, TCIFLUSH);
        termios keys = saved;
        keys.c_lflag &= tcflag_t(~(ICANON | ECHO));
        keys.c_cc[VMIN] = 1;
        keys.c_cc[VTIME] = 0;
        tcsetattr(fd, TCSANOW, &keys);
    }
    // A byte, the end of input or an input that cannot be read ends the wait; so
    // does the shutdown, checked between polls.
    bool key = false;
    while (!key && !stopping()) {
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, 50);
        if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
        if (ready < 0) break;
        char byte;
        ssize_t n = read(fd, &byte, 1);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        key = true;
    }
    if (terminal) tcsetattr(fd, TCSANOW, &saved);
    return key || !stopping();
}

void end_reset_for_tests() {
    end_set_screen_calls(nullptr);
    end_set_close_all_files(nullptr);
    end_set_park_hook(nullptr);
}
