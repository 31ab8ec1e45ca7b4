// Started by RUN: writes its arguments, each ended by a zero byte, to the file its
// first argument names.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "zv.h"

namespace {
void ZVMAIN() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string cmdline((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string arguments = cmdline.substr(cmdline.find('\0') + 1);
    std::string marker = arguments.substr(0, arguments.find('\0'));
    FILE* f = fopen(marker.c_str(), "wb");
    if (f) {
        fwrite(arguments.data(), 1, arguments.size(), f);
        fclose(f);
    }
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
