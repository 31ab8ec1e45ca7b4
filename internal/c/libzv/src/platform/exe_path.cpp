// Executable path from /proc.
#include "platform/exe_path.h"

#include <unistd.h>

#include <vector>

std::string libzv_executable_path() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return "";
        if (size_t(n) < buffer.size()) return std::string(buffer.data(), size_t(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string libzv_executable_folder() {
    std::string path = libzv_executable_path();
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}
