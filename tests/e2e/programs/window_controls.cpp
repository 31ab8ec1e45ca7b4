// Window statements driven by a window test. argv[1] names the scenario, argv[2] a
// folder for the step handshake (the program creates "ready<n>" when it reached
// step n and waits for "go<n>") and for its answers; argv[3] is the window title.
//   move_full: _SCREENMOVE 200, 100; step 1; _FULLSCREEN; step 2; _FULLSCREEN _OFF.
//   focus:     writes _HASFOCUS to <folder>/<title> whenever it changes.
//   place:     _SCREENMOVE 200, 100, then writes "_SCREENX _SCREENY" to
//              <folder>/<title> whenever they change; _SCREENMOVE 50, 60 once
//              <folder>/go1 exists.
//   steps:     runs the commands that the test writes to <folder>/command<n>, n = 1,
//              2, ... in turn: "move X Y", "middle", "full", "windowed", "hide" and
//              "show"; writes "<n> _SCREENX _SCREENY _SCREENHIDE" to <folder>/<title>
//              after each, and whenever it changes.

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
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

// Runs one command of the steps scenario.
void run_command(const std::string& line) {
    int32_t x = 0, y = 0;
    if (sscanf(line.c_str(), "move %d %d", &x, &y) == 2)
        sub__screenmove(x, y, 2);
    else if (line == "middle")
        sub__screenmove(0, 0, 1);
    else if (line == "full")
        sub__fullscreen(0, 0);
    else if (line == "windowed")
        sub__fullscreen(1, 0);
    else if (line == "hide")
        sub__screenhide();
    else if (line == "show")
        sub__screenshow();
}

[[noreturn]] void steps(const std::string& folder, const std::string& path) {
    int32_t done = 0;
    std::string last;
    for (;;) {
        std::string command = folder + "/command" + std::to_string(done + 1);
        if (exists(command)) {
            std::ifstream in(command);
            std::string line;
            std::getline(in, line);
            run_command(line);
            done++;
        }
        std::string now = std::to_string(done) + " " + std::to_string(func__screenx()) + " " +
                          std::to_string(func__screeny()) + " " + std::to_string(func__screenhide());
        if (now != last) write_answer(path, now);
        last = now;
        libzv_sleep_ms(10);
        if (stop_program.load()) end();
    }
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
    } else if (scenario == "steps") {
        steps(program_argument(2), program_argument(2) + "/" + title);
    }
    wait_until_stopped();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
