// Goes full screen, then runs a waiting SHELL that touches <out>.running and sleeps
// a second; afterwards writes _FULLSCREEN to the file named by ZV_SHELLFS_OUT.
// The window is titled "shellfs".
#include <cstdio>
#include <cstdlib>
#include <string>

#include "waiting.h"
#include "zv.h"

namespace {
void ZVMAIN() {
    uint32_t mark = zvs_tmp_list_nexti();
    sub__title(zvs_new_txt("shellfs"));
    std::string out = getenv("ZV_SHELLFS_OUT");
    sub__fullscreen(2, 0);
    while (full_screen.load() == 0 && !stop_program.load()) libzv_sleep_ms(10);
    std::string command = "touch '" + out + ".running'; sleep 1";
    sub_shell(zvs_new_txt(command.c_str()), 1);
    zvs_tmp_release_to(mark, 0);
    if (FILE* f = fopen(out.c_str(), "w")) {
        fprintf(f, "%d\n", func__fullscreen());
        fclose(f);
    }
    wait_until_stopped();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
