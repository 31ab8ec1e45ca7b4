// What scenario programs do while their test acts: pass the time until the runtime
// stops them, and the step handshake (the program makes <folder>/ready<n> when it
// reached step n, then waits for the test to make <folder>/go<n>).
#pragma once
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "zv.h"

// Argument n of the command line, "" when there is none.
inline std::string program_argument(int64_t n) {
    std::string_view text;
    return command_argument(n, &text) ? std::string(text) : std::string();
}

// Sleeps in steps of 10 ms; the program ends when the runtime asks it to stop.
[[noreturn]] inline void wait_until_stopped() {
    for (;;) {
        libzv_sleep_ms(10);
        if (stop_program.load()) end();
    }
}

// Step n of the handshake in folder; nothing without a folder.
inline void step_handshake(const std::string& folder, int32_t n) {
    if (folder.empty()) return;
    std::string ready = folder + "/ready" + std::to_string(n), go = folder + "/go" + std::to_string(n);
    if (FILE* f = fopen(ready.c_str(), "w")) fclose(f);
    struct stat st;
    while (stat(go.c_str(), &st) != 0) {
        libzv_sleep_ms(10);
        if (stop_program.load()) end();
    }
}
