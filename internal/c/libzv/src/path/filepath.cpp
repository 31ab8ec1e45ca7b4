// Path helpers: separators, file-name part, extensions, split and join.
#include <cstring>

#include "path/path.h"
#include "platform/os_path.h"

namespace {

bool is_separator(char c) { return c == '/' || c == '\\'; }

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

}  // namespace

char* filepath_fix_directory(char* text) {
    if (!text) return text;
    for (char* p = text; *p; p++)
        if (*p == '\\') *p = '/';
    return text;
}

std::string& filepath_fix_directory(std::string& text) {
    for (char& c : text)
        if (c == '\\') c = '/';
    return text;
}

std::string filepath_fix_directory(const zvs* text) {
    std::string copy(zvs_view(text));
    return filepath_fix_directory(copy);
}

const char* filepath_get_filename(const char* path) {
    if (!path) return nullptr;
    const char* name = path;
    for (const char* p = path; *p; p++)
        if (is_separator(*p)) name = p + 1;
    return name;
}

std::string_view filepath_get_filename(std::string_view path) {
    size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

const char* filepath_get_extension(const char* path) {
    if (!path) return "";
    const char* name = filepath_get_filename(path);
    const char* dot = strrchr(name, '.');
    return dot ? dot + 1 : name + strlen(name);
}

int32_t filepath_has_extension(const char* path, const char* extension) {
    if (!path || !extension) return 0;
    const char* own = filepath_get_extension(path);
    size_t n = strlen(own);
    if (n != strlen(extension)) return 0;
    for (size_t i = 0; i < n; i++)
        if (ascii_upper(own[i]) != ascii_upper(extension[i])) return 0;
    return 1;
}

void filepath_split(std::string_view path, std::string* folder, std::string* name) {
    size_t cut = path.find_last_of("/\\");
    if (cut == std::string_view::npos) {
        folder->clear();
        name->assign(path);
        return;
    }
    // path may view one of the outputs: take the name before the folder is written.
    std::string tail(path.substr(cut + 1));
    folder->assign(path.substr(0, cut + 1));
    *name = std::move(tail);
}

void filepath_join(std::string* out, std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!joined.empty() && !is_separator(joined.back())) joined.push_back('/');
    joined.append(name);
    *out = std::move(joined);
}
