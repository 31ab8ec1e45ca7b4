// ENVIRON, ENVIRON$(n) and _ENVIRONCOUNT over the process environment.
#include <cstdlib>
#include <string>

#include "command/command.h"
#include "error/error.h"

extern char** environ;

namespace {

// The C calls see NUL-terminated copies: a zero byte inside the text ends them.
std::string c_string(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

}  // namespace

int32_t environ_apply(std::string_view text) {
    size_t separator = text.find_first_of(" =");
    if (separator == std::string_view::npos) return 5;
    std::string name = c_string(text.substr(0, separator));
    if (name.empty()) return 5;
    if (separator + 1 == text.size()) return unsetenv(name.c_str()) == 0 ? 0 : 5;
    std::string value = c_string(text.substr(separator + 1));
    return setenv(name.c_str(), value.c_str(), 1) == 0 ? 0 : 5;
}

int32_t func__environcount() {
    if (new_error.load(std::memory_order_relaxed)) return 0;
    int32_t count = 0;
    for (char** entry = environ; entry && *entry; entry++) count++;
    return count;
}

const char* environ_entry(int64_t n) {
    if (n < 1 || !environ) return nullptr;
    for (int64_t i = 1; environ[i - 1]; i++) {
        if (i == n) return environ[i - 1];
    }
    return nullptr;
}
