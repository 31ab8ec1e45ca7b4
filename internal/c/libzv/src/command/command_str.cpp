// COMMAND$, ENVIRON$, ENVIRON and _OS$: the string entry points.
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "command/command.h"
#include "error/error.h"

namespace {

bool error_pending() { return new_error_is_set(); }

zvs* temporary_copy(std::string_view text) {
    zvs* s = zvs_new(int32_t(text.size()), 1);
    if (!text.empty()) memcpy(s->text, text.data(), text.size());
    return s;
}

}  // namespace

zvs* func_command(int32_t n, int32_t passed) {
    if (error_pending()) return zvs_new(0, 1);
    if (!passed) return temporary_copy(command_line());
    std::string_view argument;
    if (!command_argument(n, &argument)) return zvs_new(0, 1);
    return temporary_copy(argument);
}

zvs* func_environ(zvs* name) {
    if (error_pending()) return zvs_new(0, 1);
    std::string key(reinterpret_cast<const char*>(name->text), size_t(name->length));
    const char* value = getenv(key.c_str());
    return temporary_copy(value ? std::string_view(value) : std::string_view());
}

zvs* func_environ(int32_t n) {
    if (error_pending()) return zvs_new(0, 1);
    if (n < 1) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return zvs_new(0, 1);
    }
    const char* entry = environ_entry(n);
    return temporary_copy(entry ? std::string_view(entry) : std::string_view());
}

void sub_environ(zvs* text) {
    if (error_pending()) return;
    int32_t result = environ_apply(std::string_view(reinterpret_cast<const char*>(text->text), size_t(text->length)));
    if (result) error(result);
}

zvs* func__os() {
    if (error_pending()) return zvs_new(0, 1);
    return zvs_new_txt_len(libzv_os_name.data(), int32_t(libzv_os_name.size()));
}
