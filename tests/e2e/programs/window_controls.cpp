// Window statements driven by a window test. argv[1] names the scenario, argv[2] a
// folder for the step handshake (the program creates "ready<n>" when it reached
// step n and waits for "go<n>") and for its answers; argv[3] is the window title.
//   move_full: _SCREENMOVE 200, 100; step 1; _FULLSCREEN; step 2; _FULLSCREEN _OFF.
//   focus:     writes _HASFOCUS to <folder>/<title> whenever it changes.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "zv.h"

namespace {

std::string argument(int64_t n) {
    std::string_view text;
    return command_argument(n, &text) ? std::string(text) : std::string();
}

void step(int32_t n) {
    std::string folder = argument(2);
    std::string ready = folder + "/ready" + std::to_string(n), go = folder + "/go" + std::to_string(n);
    if (FILE* f = fopen(ready.c_str(), "w")) fclose(f);
    struct stat st;
    while (stat(go.c_str(), &st) != 0) {
        libzv_sleep_ms(10);
        if (stop_program.load()) end();
    }
}

// The answer replaces the file whole, so that a reader never meets half of it.
void write_answer(const std::string& path, int32_t value) {
    std::string part = path + ".part";
    if (FILE* f = fopen(part.c_str(), "w")) {
        fprintf(f, "%d\n", value);
        fclose(f);
        rename(part.c_str(), path.c_str());
    }
}

void ZVMAIN() {
    std::string scenario = argument(1), title = argument(3);
    uint32_t mark = zvs_tmp_list_nexti();
    sub__title(zvs_new_txt(title.c_str()));
    zvs_tmp_release_to(mark, 0);
    if (scenario == "move_full") {
        sub__screenmove(200, 100, 2);
        step(1);
        sub__fullscreen(0, 0);
        step(2);
        sub__fullscreen(1, 0);
    } else if (scenario == "focus") {
        std::string path = argument(2) + "/" + title;
        int32_t last = 1;
        for (;;) {
            int32_t now = func__hasfocus();
            if (now != last) write_answer(path, now);
            last = now;
            libzv_sleep_ms(10);
            if (stop_program.load()) end();
        }
    }
    for (;;) {
        libzv_sleep_ms(10);
        if (stop_program.load()) end();
    }
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
