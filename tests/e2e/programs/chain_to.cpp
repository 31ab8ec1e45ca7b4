// Started by CHAIN: writes to chained.txt in its current folder COMMAND$,
// _COMMANDCOUNT, the folder, the first five characters of pages 0 and 1, and
// whether page 1 is the active page.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "zv.h"

namespace {
std::string text_of(int32_t page) {
    std::string s;
    if (int32_t index = page_index(page))
        for (int i = 0; i < 5; i++) s += char(img_get(index)->pixels[2 * i]);
    return s;
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    char folder[4096] = "";
    if (!getcwd(folder, sizeof folder)) return;
    if (FILE* f = fopen("chained.txt", "w")) {
        fprintf(f, "[%s]\n%d\n%s\n%s\n%s\n%d\n%d\n", std::string(command_line()).c_str(), func__commandcount(), folder,
                text_of(0).c_str(), text_of(1).c_str(), write_page_index() == page_index(1), new_error.load());
        fclose(f);
    }
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
