// Runtime paths to system paths: separators, the null device and drive letters.
#include "platform/os_path.h"

bool libzv_os_path(std::string_view path, std::string* out) {
    if (path.find('\0') != std::string_view::npos) return false;
    out->assign(path);
    for (char& c : *out)
        if (c == '\\') c = '/';
    return true;
}

static bool is_null_device(std::string_view path) {
    if (path.size() != 3) return false;
    static constexpr char name[] = "NUL";
    for (size_t i = 0; i < 3; i++)
        if ((path[i] & ~0x20) != name[i]) return false;
    return true;
}

bool libzv_os_path_device(std::string_view path, std::string* out) {
    if (is_null_device(path)) {
        out->assign("/dev/null");
        return true;
    }
    return libzv_os_path(path, out);
}

bool libzv_path_has_drive(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') return false;
    char letter = static_cast<char>(path[0] & ~0x20);
    return letter >= 'A' && letter <= 'Z';
}
