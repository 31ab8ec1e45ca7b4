// The folder enumerator behind _FILES$, FILES and KILL, and its wildcard matcher.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "path/listing.h"
#include "path/path.h"
#include "platform/os_path.h"

namespace {

constexpr size_t text_limit = 4095;

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

bool has_wildcard(std::string_view pattern_text) { return pattern_text.find_first_of("*?") != std::string_view::npos; }

// The listing order: ASCII upper-cased bytewise, ties by the raw bytes.
bool listed_before(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; i++) {
        unsigned char x = static_cast<unsigned char>(ascii_upper(a[i])), y = static_cast<unsigned char>(ascii_upper(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

// The system's form of a listed folder, ending in '/'; false when the system cannot
// reach it (a drive letter, a zero byte).
bool system_folder(std::string_view folder, std::string* os) {
    if (libzv_path_has_drive(folder) || !libzv_os_path(folder, os)) return false;
    if (os->empty()) *os = "./";
    if (os->back() != '/') os->push_back('/');
    return true;
}

// Reads the folder's matching names, sorted; false when it cannot be opened.
bool read_folder(DirectoryContext* context) {
    DIR* dir = opendir(context->folder.c_str());
    if (!dir) return false;
    while (const dirent* entry = readdir(dir)) {
        std::string_view name(entry->d_name);
        if (FS_WildcardMatch(context->pattern, name.substr(0, text_limit))) context->names.emplace_back(name);
    }
    closedir(dir);
    std::sort(context->names.begin(), context->names.end(), listed_before);
    return true;
}

// GetFileAttributes' view: a missing path reads as all attributes set, a folder.
bool attributes_say_folder(std::string_view path) {
    std::string os;
    struct stat st;
    if (libzv_path_has_drive(path) || !libzv_os_path_device(path, &os) || stat(os.c_str(), &st) != 0) return true;
    return S_ISDIR(st.st_mode);
}

}  // namespace

bool FS_WildcardMatch(std::string_view pattern, std::string_view name) {
    size_t p = 0, s = 0, star = 0;
    bool seen_star = false;
    for (;;) {
        bool mismatch = false;
        if (p == pattern.size()) {
            if (s == name.size()) return true;
            mismatch = true;
        } else if (pattern[p] == '*') {
            star = p;
            seen_star = true;
            if (p + 1 == pattern.size()) {
                // Nothing follows the star, so no character of the name can stop it (a
                // zero byte in the name included).
                s = name.size();
            } else {
                // Skip to the next place where the character after the star could match.
                char after = ascii_upper(pattern[p + 1]);
                while (s < name.size() && ascii_upper(name[s]) != after) s++;
            }
            p++;
        } else if (pattern[p] == '?') {
            p++;
            if (s < name.size()) s++;
        } else if (s < name.size() && ascii_upper(pattern[p]) == ascii_upper(name[s])) {
            p++;
            s++;
        } else {
            mismatch = true;
        }
        if (mismatch) {
            if (!seen_star || s == name.size()) return false;
            p = star;
        }
    }
}

std::string FS_GetShortPath(std::string_view path) { return std::string(path); }

std::string FS_EntryPath(const DirectoryContext& context, std::string_view name) {
    std::string path = context.folder;
    path.append(name);
    return path;
}

int32_t FS_EntryIsFolder(const DirectoryContext& context, std::string_view name) {
    struct stat st;
    return stat(FS_EntryPath(context, name).c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

const std::string& FS_NextMatchingEntry(DirectoryContext* context, std::string_view pattern_text) {
    if (!pattern_text.empty()) {
        context->last.clear();
        context->names.clear();
        context->next = 0;
        context->folder.clear();
        std::string_view folder;
        if (has_wildcard(pattern_text)) {
            size_t cut = pattern_text.rfind('/');
            if (cut == std::string_view::npos) cut = pattern_text.rfind('\\');
            if (cut == std::string_view::npos) {
                context->pattern.assign(pattern_text.substr(0, text_limit));
            } else {
                context->pattern.assign(pattern_text.substr(cut + 1).substr(0, text_limit));
                folder = pattern_text.substr(0, std::min(cut + 1, text_limit));
            }
        } else if (!attributes_say_folder(pattern_text)) {
            // A plain file named by the program: its own folder part, converted.
            std::string_view name = filepath_get_filename(pattern_text);
            if (system_folder(pattern_text.substr(0, pattern_text.size() - name.size()), &context->folder))
                context->last.assign(name);
            return context->last;
        } else {
            folder = pattern_text;
            context->pattern = "*";
        }
        if (!system_folder(folder, &context->folder) || !read_folder(context)) return context->last;
    }
    if (context->next < context->names.size())
        context->last = context->names[context->next++];
    else
        context->last.clear();
    return context->last;
}
