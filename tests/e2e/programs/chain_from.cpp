// SCREEN 0 with "PAGE0" on page 0 and "PAGE1" on page 1, page 1 active; changes to
// the folder ZV_CHAIN_DIR and CHAINs to ZV_CHAIN_TARGET. When CHAIN returns, its
// error number goes to chain_error.txt in that folder.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "zv.h"

namespace {
void put_text(int32_t page, const char* text) {
    img_struct* im = img_get(page_index(page));
    for (int i = 0; text[i]; i++) {
        im->pixels[2 * i] = uint8_t(text[i]);
        im->pixels[2 * i + 1] = 7;
    }
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    zvg_screen(0, 0, 1, 0, 0, 4 | 8);
    put_text(1, "PAGE1");
    put_text(0, "PAGE0");
    if (chdir(getenv("ZV_CHAIN_DIR")) != 0) return;
    sub_chain(zvs_new_txt(getenv("ZV_CHAIN_TARGET")));
    if (FILE* f = fopen("chain_error.txt", "w")) {
        fprintf(f, "%d\n", new_error.load());
        fclose(f);
    }
    clear_error();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
