// Console title and cursor as terminal escape sequences.
#include "platform/console_controls.h"

#include <cstdio>
#include <string>

#include "platform/console_terminal.h"
#include "platform/console_terminal_state.h"

namespace {
void put(const std::string& sequence) {
    FILE* out = console_terminal_out();
    fwrite(sequence.data(), 1, sequence.size(), out);
    fflush(out);
}
}  // namespace

void console_terminal_set_title(const void* text, size_t length) {
    if (!console_output_is_terminal()) return;
    std::string sequence = "\033]0;";
    const auto* bytes = static_cast<const unsigned char*>(text);
    for (size_t i = 0; i < length; i++)
        if (bytes[i] >= 32 && bytes[i] != 127) sequence += char(bytes[i]);
    put(sequence + "\007");
}

void console_terminal_set_cursor(bool visible, int32_t size) {
    if (!console_output_is_terminal()) return;
    put(std::string(visible ? "\033[?25h" : "\033[?25l") + (size >= 50 ? "\033[2 q" : "\033[4 q"));
}
