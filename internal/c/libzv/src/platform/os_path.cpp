// Runtime paths to system paths: separators, the null device and drive letters.
#include "platform/os_path.h"

bool libzv_os_path(std::string_view path, std::string* out) {
    if (path.find('\0') != std::string_view::npos) return false;
    out->assign(path);
    for (char& c : *out)
        if (c == '\\') c = '/';
    return true;
}

// The last part of the path is NUL, with or without an extension ("x\\nul.txt").
static bool is_null_device(std::string_view path) {
    size_t slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    if (name.size() != 3) return false;
    static constexpr char device[] = "NUL";
    for (size_t i = 0; i < 3; i++)
        if ((name[i] & ~0x20) != device[i]) return false;
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
