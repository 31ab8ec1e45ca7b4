// Window statements driven by a window test. argv[1] names the scenario, argv[2] a
// folder for the step handshake (the program creates "ready<n>" when it reached
// step n and waits for "go<n>") and for its answers; argv[3] is the window title.
//   move_full: _SCREENMOVE 200, 100; step 1; _FULLSCREEN; step 2; _FULLSCREEN _OFF.
//   focus:     writes _HASFOCUS to <folder>/<title> whenever it changes.
//   place:     _SCREENMOVE 200, 100, then writes "_SCREENX _SCREENY" to
//              <folder>/<title> whenever they change; _SCREENMOVE 50, 60 once
//              <folder>/go1 exists.

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "waiting.h"
#include "zv.h"

namespace {

void step(int32_t n) { step_handshake(program_argument(2), n); }

// The answer replaces the file whole, so that a reader never meets half of it.
void write_answer(const std::string& path, const std::string& value) {
    std::string part = path + ".part";
    if (FILE* f = fopen(part.c_str(), "w")) {
        fprintf(f, "%s\n", value.c_str());
        fclose(f);
        rename(part.c_str(), path.c_str());
    }
}

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

void ZVMAIN() {
    std::string scenario = program_argument(1), title = program_argument(3);
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
        std::string path = program_argument(2) + "/" + title;
        int32_t last = 1;
        for (;;) {
            int32_t now = func__hasfocus();
            if (now != last) write_answer(path, std::to_string(now));
            last = now;
            libzv_sleep_ms(10);
            if (stop_program.load()) end();
        }
    } else if (scenario == "place") {
        std::string path = program_argument(2) + "/" + title;
        sub__screenmove(200, 100, 2);
        bool moved_again = false;
        std::string last;
        for (;;) {
            std::string now = std::to_string(func__screenx()) + " " + std::to_string(func__screeny());
            if (now != last) write_answer(path, now);
            last = now;
            if (!moved_again && exists(program_argument(2) + "/go1")) {
                sub__screenmove(50, 60, 2);
                moved_again = true;
            }
            libzv_sleep_ms(10);
            if (stop_program.load()) end();
        }
    }
    wait_until_stopped();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
