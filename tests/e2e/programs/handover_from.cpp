// A console program that hands the terminal to another: with ZV_HANDOVER_KEYS set it
// first reads the console with _CONSOLEINPUT (key mode, mouse reports on), then it
// CHAINs or RUNs (ZV_HANDOVER_BY "chain" or "run") to ZV_HANDOVER_TARGET from the
// folder ZV_HANDOVER_DIR.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "zv.h"

namespace {

std::string setting(const char* name) {
    const char* value = getenv(name);
    return value ? value : "";
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    sub__dest(console_image());
    sub__source(console_image());
    // A program starts in its own folder.
    if (chdir(setting("ZV_HANDOVER_DIR").c_str()) == 0) {
        if (!setting("ZV_HANDOVER_KEYS").empty()) ZV_STATEMENT(1, func__getconsoleinput());
        // The text is viewed, not copied: the environment's copy stays.
        const char* name = getenv("ZV_HANDOVER_TARGET");
        zvs* target = zvs_new_txt(name ? name : "");
        if (setting("ZV_HANDOVER_BY") == "chain")
            ZV_STATEMENT(2, sub_chain(target));
        else
            ZV_STATEMENT(3, sub_run(target));
    }
    // Reached only when nothing started; ends as SYSTEM does, without a prompt.
    ZV_STATEMENT(4, print_text("not handed over", 1));
    close_program.store(1);
    end();
}

void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}

}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
