// Chooser rules without windows: filters, matching, the default path and extension,
// the answer checks and the colour text.
#include "dialog/chooser_rules.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/os_path.h"

namespace {

constexpr size_t label_units = 127;
constexpr size_t filter_units = 1023;
constexpr std::string_view all_files_label = "All Files";
constexpr std::string_view all_files_patterns = "*.*";

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the UTF-8 sequence that starts with this byte (1 for a stray byte).
size_t sequence_length(unsigned char c) {
    if (c >= 0xF0 && c <= 0xF7) return 4;
    if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
    if (c >= 0xC0) return 2;
    return 1;
}

size_t units_of(std::string_view text) {
    size_t units = 0;
    for (unsigned char c : text)
        if (!is_continuation(c)) units += sequence_length(c) == 4 ? 2 : 1;
    return units;
}

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// One pattern against the whole name; '?' takes one character.
bool glob(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0;
    size_t star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
            continue;
        }
        if (p < pattern.size() && pattern[p] == '?') {
            p++;
            n++;
            while (n < name.size() && is_continuation(static_cast<unsigned char>(name[n]))) n++;
            continue;
        }
        if (p < pattern.size() && fold(pattern[p]) == fold(name[n])) {
            p++;
            n++;
            continue;
        }
        if (star == std::string_view::npos) return false;
        p = star + 1;
        n = ++resume;
    }
    while (p < pattern.size() && pattern[p] == '*') p++;
    return p == pattern.size();
}

// The system's form of an answer's path: a runtime path converted, or a system path
// (the graphic choosers answer the names the system gave) as it is.
bool system_form(std::string_view name, bool system_paths, std::string* out) {
    if (!system_paths) return libzv_os_path(name, out);
    if (name.find('\0') != std::string_view::npos) return false;
    out->assign(name);
    return true;
}

bool file_exists(std::string_view name, bool must_read, bool system_paths) {
    std::string path;
    if (name.empty() || !system_form(name, system_paths, &path)) return false;
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return !must_read || access(path.c_str(), R_OK) == 0;
}

// tfd_pathIsDirectory's rules: "" and a bare drive ("X:") count as folders.
bool is_folder(std::string_view text, bool system_paths) {
    if (text.empty()) return true;
    if (text.size() == 2 && text[1] == ':') return true;
    std::string os;
    if (!system_form(text, system_paths, &os)) return false;
    struct stat st;
    return stat(os.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

size_t last_separator(std::string_view path) {
    size_t slash = path.rfind('/');
    size_t back = path.rfind('\\');
    if (slash == std::string_view::npos) return back;
    if (back == std::string_view::npos) return slash;
    return slash > back ? slash : back;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string_view chooser_cut_bytes(std::string_view text, size_t max_bytes) {
    if (text.size() <= max_bytes) return text;
    // A cut inside a character moves back to its first byte.
    size_t end = max_bytes;
    for (int back = 0; back < 3 && end > 0 && is_continuation(static_cast<unsigned char>(text[end])); back++) end--;
    if (is_continuation(static_cast<unsigned char>(text[end]))) end = max_bytes;  // not UTF-8 here
    return text.substr(0, end);
}

std::string_view chooser_cut_units(std::string_view text, size_t max_units) {
    size_t units = 0;
    for (size_t i = 0; i < text.size();) {
        size_t length = sequence_length(static_cast<unsigned char>(text[i]));
        units += length == 4 ? 2 : 1;
        if (units > max_units) return text.substr(0, i);
        size_t next = i + 1;
        while (next < text.size() && next < i + length && is_continuation(static_cast<unsigned char>(text[next])))
            next++;
        i = next;
    }
    return text;
}

std::vector<chooser_filter> chooser_filter_entries(const char* description, int32_t count,
                                                   const char* const* patterns) {
    std::vector<chooser_filter> entries;
    if (!patterns || count <= 0) return entries;
    std::string label;
    if (description && *description) label = chooser_cut_units(description, label_units);

    // The filter text: label, patterns, the patterns again without a description, then
    // the catch-all entry, each ending in a separator.
    size_t fixed = units_of(all_files_label) + units_of(all_files_patterns) + 2;
    if (!label.empty()) fixed += units_of(label) + 1;
    auto text_units = [&](const std::string& joined) {
        size_t pattern_units = units_of(joined) + 1;
        return fixed + (label.empty() ? 2 * pattern_units : pattern_units);
    };
    std::string joined;
    for (int32_t i = 0; i < count; i++) {
        if (!patterns[i] || !*patterns[i]) continue;
        std::string next = joined.empty() ? std::string(patterns[i]) : joined + ";" + patterns[i];
        if (text_units(next) > filter_units) break;
        joined = std::move(next);
    }
    if (joined.empty()) return entries;
    entries.push_back({label.empty() ? joined : label, joined});
    entries.push_back({std::string(all_files_label), std::string(all_files_patterns)});
    return entries;
}

bool chooser_name_matches(std::string_view patterns, std::string_view name) {
    while (true) {
        size_t semicolon = patterns.find(';');
        std::string_view one = patterns.substr(0, semicolon);
        if (one == "*.*" || (!one.empty() && glob(one, name))) return true;
        if (semicolon == std::string_view::npos) return false;
        patterns.remove_prefix(semicolon + 1);
    }
}

chooser_start chooser_split_default_path(const char* path) {
    chooser_start start;
    if (!path) return start;
    std::string_view text = path;
    size_t cut = text.rfind('/');
    if (cut == std::string_view::npos) cut = text.rfind('\\');
    if (cut == std::string_view::npos) {
        start.file = text;
        return start;
    }
    start.folder = cut == 0 ? "/" : std::string(text.substr(0, cut));
    start.file = text.substr(cut + 1);
    return start;
}

std::string chooser_default_extension(std::string_view name, const char* first_pattern) {
    std::string out(name);
    if (!first_pattern) return out;
    std::string_view pattern = first_pattern;
    if (pattern.size() < 3 || pattern.substr(0, 2) != "*.") return out;
    std::string_view extension = pattern.substr(2);
    if (extension.find_first_of("*?;./\\") != std::string_view::npos) return out;
    size_t cut = last_separator(name);
    std::string_view file = cut == std::string_view::npos ? name : name.substr(cut + 1);
    if (file.empty() || file.find('.') != std::string_view::npos) return out;
    out += '.';
    out += extension;
    return out;
}

std::optional<std::string> chooser_check_save(std::string_view answer, bool system_paths) {
    if (answer.empty()) return std::nullopt;
    size_t cut = last_separator(answer);
    std::string_view file = answer;
    if (cut != std::string_view::npos) {
        std::string folder(answer.substr(0, cut));
        if (!folder.empty() && !is_folder(folder, system_paths)) return std::nullopt;
        file = answer.substr(cut + 1);
    }
    if (file.empty() || file.find_first_of("\\/:*?\"<>|") != std::string_view::npos) return std::nullopt;
    return std::string(answer);
}

std::optional<std::string> chooser_check_open(std::string_view answer, bool several, bool must_read,
                                              bool system_paths) {
    if (answer.empty()) return std::nullopt;
    if (!several || answer.find('|') == std::string_view::npos) {
        if (!file_exists(answer, must_read, system_paths)) return std::nullopt;
        return std::string(answer);
    }
    std::string kept;
    while (true) {
        size_t bar = answer.find('|');
        std::string_view name = answer.substr(0, bar);
        if (file_exists(name, must_read, system_paths)) {
            if (!kept.empty()) kept += '|';
            kept += name;
        }
        if (bar == std::string_view::npos) break;
        answer.remove_prefix(bar + 1);
    }
    if (kept.empty()) return std::nullopt;
    return kept;
}

std::optional<std::string> chooser_check_folder(std::string_view answer, bool system_paths) {
    if (answer.empty() || !is_folder(answer, system_paths)) return std::nullopt;
    return std::string(answer);
}

bool chooser_parse_colour(std::string_view text, uint8_t rgb[3]) {
    if (text.size() != 7 || text[0] != '#') return false;
    uint8_t bytes[3];
    for (int i = 0; i < 3; i++) {
        int high = hex_value(text[1 + 2 * i]), low = hex_value(text[2 + 2 * i]);
        if (high < 0 || low < 0) return false;
        bytes[i] = static_cast<uint8_t>(high * 16 + low);
    }
    for (int i = 0; i < 3; i++) rgb[i] = bytes[i];
    return true;
}

std::string chooser_colour_text(const uint8_t rgb[3]) {
    char text[8];
    snprintf(text, sizeof text, "#%02x%02x%02x", rgb[0], rgb[1], rgb[2]);
    return text;
}

int32_t tfd_pathIsDirectory(const char* path) { return path && is_folder(path, false); }
