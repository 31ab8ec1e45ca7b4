// A window titled "owner" that asks one question when a line arrives on standard
// input ("alert": the runtime's own yes/no box; anything else: _GUIMESSAGEBOX), and
// prints the answer on standard output.
#include <cstdio>

#include "zv.h"

namespace {
void ZVMAIN() {
    uint32_t mark = zvs_tmp_list_nexti();
    sub__title(zvs_new_txt("owner"));
    zvs_tmp_release_to(mark, 0);
    char line[16];
    if (!fgets(line, sizeof line, stdin)) return;
    int32_t answer = line[0] == 'a' ? gui_alert("Continue?", "Unhandled Error", "yesno") : func__guiMessageBox(zvs_new_txt("T1"), zvs_new_txt("m"), zvs_new_txt("yesnocancel"),
                                         zvs_new_txt("question"), 0, 31);
    zvs_tmp_release_to(mark, 0);
    printf("%d\n", answer);
    fflush(stdout);
    // Stays until the test closes the window.
    if (!fgets(line, sizeof line, stdin)) return;
}

void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
