// Prints COMMAND$, COMMAND$(2) and _COMMANDCOUNT, then the start-up layout of the
// data block as PEEK reads it and the current folder, one item per line, and ends.
#include <unistd.h>

#include <cstdio>

#include "zv.h"

namespace {

void print(zvs* s) {
    fwrite(s->text, 1, size_t(s->length), stdout);
    fputc('\n', stdout);
}

void ZVMAIN() {
    print(func_command(0, 0));
    print(func_command(2, 1));
    printf("%d\n", func__commandcount());
    sub_defseg(0, 0);
    for (int32_t offset = 65520; offset < 65536; offset++) printf("%02X%s", func_peek(offset), offset % 4 == 3 ? " " : "");
    printf("%02X %d\n", func_peek(256), cmem_sp);
    char folder[4096];
    printf("%s\n", getcwd(folder, sizeof folder) ? folder : "");
    fflush(stdout);
    close_program.store(1);
    end();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}

}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
