// The kept command line: COMMAND$ and _COMMANDCOUNT.
#include <string>
#include <vector>

#include "command/command.h"
#include "error/error.h"

namespace {

// Allocated by command_initialize; program thread only afterwards.
std::vector<std::string>* arguments = nullptr;
std::string* command_text = nullptr;

void rebuild_command_text() {
    command_text->clear();
    for (size_t i = 1; i < arguments->size(); i++) {
        if (i > 1) command_text->push_back(' ');
        command_text->append((*arguments)[i]);
    }
}

void make_storage() {
    if (arguments) return;
    arguments = new std::vector<std::string>;
    command_text = new std::string;
}

}  // namespace

void command_initialize(int32_t argc, char** argv) {
    make_storage();
    arguments->clear();
    for (int32_t i = 0; i < argc && argv && argv[i]; i++) arguments->emplace_back(argv[i]);
    rebuild_command_text();
}

int32_t func__commandcount() {
    if (new_error.load(std::memory_order_relaxed)) return 0;
    if (!arguments || arguments->empty()) return 0;
    return int32_t(arguments->size()) - 1;
}

bool command_argument(int64_t n, std::string_view* out) {
    if (!arguments || n < 0 || n >= int64_t(arguments->size())) return false;
    *out = (*arguments)[size_t(n)];
    return true;
}

std::string_view command_line() { return command_text ? std::string_view(*command_text) : std::string_view(); }

void command_drop_last_argument() {
    if (!arguments || arguments->size() < 2) return;
    arguments->pop_back();
    rebuild_command_text();
}
