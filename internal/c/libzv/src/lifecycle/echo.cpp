// _ECHO.
#include <atomic>
#include <cstdio>

#include "error/error.h"
#include "image/image_table.h"
#include "lifecycle/diagnostics.h"
#include "string/zvs.h"

namespace {
void print_to_stdout(zvs* text) {
    fwrite(text->text, 1, size_t(text->length), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}
std::atomic<void (*)(zvs*)> console_print{print_to_stdout};
}  // namespace

void echo_set_console_print(void (*print_line)(zvs*)) { console_print.store(print_line ? print_line : print_to_stdout); }

void sub__echo(zvs* text) {
    if (new_error_is_set()) return;
    if (!console_image()) return;
    console_print.load()(text);
}
