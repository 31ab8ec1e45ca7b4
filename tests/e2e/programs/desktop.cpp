// The desktop as a program sees it. Starts hidden and appends to the file argv[1]:
// "_DESKTOPWIDTH _DESKTOPHEIGHT"; then pops up a notification "note", asks a message
// box "place" (no owner: the window does not exist yet) and appends its answer; then
// shows the window "desktop", centres it with _SCREENMOVE _MIDDLE and appends
// "_SCREENX _SCREENY" once the window thread has seen the move.
#include <cstdio>
#include <string>

#include "waiting.h"
#include "zv.h"

namespace {

void append(const std::string& line) {
    if (FILE* f = fopen(program_argument(1).c_str(), "a")) {
        fprintf(f, "%s\n", line.c_str());
        fclose(f);
    }
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    ZV_STATEMENT(1, sub__title(zvs_new_txt("desktop")); ZV_RELEASE_TEMPORARIES());
    ZV_STATEMENT(2, append(std::to_string(func_screenwidth()) + " " + std::to_string(func_screenheight())));
    ZV_STATEMENT(3, sub__guiNotifyPopup(zvs_new_txt("note"), zvs_new_txt("n"), nullptr, 3); ZV_RELEASE_TEMPORARIES());
    int32_t answer = 0;
    ZV_STATEMENT(4, answer = func__guiMessageBox(zvs_new_txt("place"), zvs_new_txt("m"), zvs_new_txt("ok"),
                                                 zvs_new_txt("info"), 1, 31);
                 ZV_RELEASE_TEMPORARIES());
    append(std::to_string(answer));
    ZV_STATEMENT(5, sub__screenshow());
    ZV_STATEMENT(6, sub__screenmove(0, 0, 1));
    libzv_sleep_ms(300);
    ZV_STATEMENT(7, append(std::to_string(func__screenx()) + " " + std::to_string(func__screeny())));
    wait_until_stopped();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
