// The choosers' folder lists, selection and Enter, apart from their windows.
#include "dialog/chooser_file_model.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/os_path.h"

namespace {

constexpr size_t most_files = 1024;

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool listing_order(const chooser_entry& a, const chooser_entry& b) {
    size_t n = std::min(a.name.size(), b.name.size());
    for (size_t i = 0; i < n; i++) {
        unsigned char x = static_cast<unsigned char>(upper(a.name[i])), y = static_cast<unsigned char>(upper(b.name[i]));
        if (x != y) return x < y;
    }
    if (a.name.size() != b.name.size()) return a.name.size() < b.name.size();
    return a.name < b.name;
}

enum class kind_of_path : uint8_t { missing, file, folder, other };

// A system path: its bytes are the name, '\' included.
kind_of_path examine(const std::string& path) {
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0) return kind_of_path::missing;
    if (S_ISDIR(st.st_mode)) return kind_of_path::folder;
    return S_ISREG(st.st_mode) ? kind_of_path::file : kind_of_path::other;
}

// The folder a system path names, resolved; "" when it names none.
std::string real_folder(const std::string& path) {
    char* real = path.empty() ? nullptr : realpath(path.c_str(), nullptr);
    if (!real) return "";
    std::string out = real;
    free(real);
    return examine(out) == kind_of_path::folder ? out : "";
}

std::string current_folder() {
    char* cwd = getcwd(nullptr, 0);
    std::string out = cwd ? cwd : "/";
    free(cwd);
    return out;
}

// The name field as a system path. The shown folder and the names of its list came
// from the system and are used as they are; anything else was typed, a runtime path
// ('\' a separator), absolute or inside the shown folder. "" for a name the system
// cannot take.
std::string resolve(const chooser_file_model& m, const std::string& name) {
    if (name == m.folder) return name;
    for (const chooser_entry& e : m.entries)
        if (e.name == name && name != "..") return chooser_join(m.folder, name);
    std::string os;
    if (!libzv_os_path(name, &os)) return "";
    if (!os.empty() && os[0] == '/') return os;
    return chooser_join(m.folder, os);
}

std::string parent_of(const std::string& path) {
    size_t cut = path.rfind('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

std::string selected_files(const chooser_file_model& m) {
    std::string joined;
    size_t count = 0;
    for (size_t i = 0; i < m.entries.size() && count < most_files; i++) {
        if (!m.selected[i] || m.entries[i].folder) continue;
        if (!joined.empty()) joined += '|';
        joined += chooser_join(m.folder, m.entries[i].name);
        count++;
    }
    return joined;
}

}  // namespace

bool chooser_list_folder(const std::string& folder, std::string_view patterns, bool folders_only,
                         std::vector<chooser_entry>* out) {
    out->clear();
    if (folder != "/") out->push_back({"..", true});
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    std::vector<chooser_entry> folders, files;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st;
        if (stat(chooser_join(folder, name).c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode))
            folders.push_back({name, true});
        else if (!folders_only && (patterns.empty() || chooser_name_matches(patterns, name)))
            files.push_back({name, false});
    }
    closedir(dir);
    std::sort(folders.begin(), folders.end(), listing_order);
    std::sort(files.begin(), files.end(), listing_order);
    out->insert(out->end(), folders.begin(), folders.end());
    out->insert(out->end(), files.begin(), files.end());
    return true;
}

std::string chooser_join(const std::string& folder, std::string_view name) {
    if (name == "..") return parent_of(folder);
    if (folder.empty()) return std::string(name);
    return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}

std::string chooser_start_folder(const std::string& folder) {
    std::string os, real;
    if (!folder.empty() && libzv_os_path(folder, &os)) real = real_folder(os);
    return real.empty() ? current_folder() : real;
}

chooser_file_model chooser_file_start(chooser_kind kind, bool several, const char* default_path, int32_t count,
                                      const char* const* patterns, const char* description) {
    chooser_file_model m;
    m.kind = kind;
    m.several = several && kind == chooser_kind::open;
    if (kind != chooser_kind::folder) {
        m.filters = chooser_filter_entries(description, count, patterns);
        for (int32_t i = 0; patterns && i < count; i++)
            if (patterns[i] && *patterns[i]) {
                m.first_pattern = patterns[i];
                break;
            }
        chooser_start start = chooser_split_default_path(default_path);
        chooser_file_enter(&m, chooser_start_folder(start.folder));
        m.name = start.file;
    } else {
        chooser_file_enter(&m, chooser_start_folder(default_path ? default_path : ""));
    }
    return m;
}

void chooser_file_enter(chooser_file_model* m, const std::string& folder) {
    m->folder = folder;
    std::string_view patterns = m->filters.empty() ? std::string_view{} : m->filters[m->filter].patterns;
    chooser_list_folder(folder, patterns, m->kind == chooser_kind::folder, &m->entries);
    m->selected.assign(m->entries.size(), false);
    m->cursor = 0;
    if (m->kind == chooser_kind::folder) m->name = folder;
}

void chooser_file_next_filter(chooser_file_model* m) {
    if (m->filters.empty()) return;
    m->filter = (m->filter + 1) % m->filters.size();
    std::string folder = m->folder;
    chooser_file_enter(m, folder);
}

void chooser_file_pick(chooser_file_model* m, size_t index, bool toggle) {
    if (index >= m->entries.size()) return;
    m->cursor = index;
    if (toggle && m->several) {
        if (!m->entries[index].folder) m->selected[index] = !m->selected[index];
    } else {
        m->selected.assign(m->entries.size(), false);
        m->selected[index] = true;
    }
    size_t count = 0, only = 0;
    for (size_t i = 0; i < m->entries.size(); i++)
        if (m->selected[i] && !m->entries[i].folder) {
            count++;
            only = i;
        }
    if (m->kind != chooser_kind::folder) {
        if (count == 1)
            m->name = m->entries[only].name;
        else if (count > 1)
            m->name.clear();  // Enter takes the selection
    }
}

chooser_outcome chooser_file_accept(chooser_file_model* m, bool from_list) {
    chooser_outcome out;
    if (from_list && m->cursor < m->entries.size() && m->entries[m->cursor].folder &&
        (m->kind == chooser_kind::folder || selected_files(*m).empty())) {
        chooser_file_enter(m, chooser_join(m->folder, m->entries[m->cursor].name));
        return out;
    }
    if (m->kind == chooser_kind::folder) {
        std::string path = resolve(*m, m->name);
        char* real = path.empty() ? nullptr : realpath(path.c_str(), nullptr);
        if (real) {
            path = real;
            free(real);
        }
        out.kind = chooser_outcome::answer;
        out.path = path;
        return out;
    }
    if (m->name.empty()) {
        if (m->kind == chooser_kind::open) {
            std::string files = selected_files(*m);
            if (!files.empty()) {
                out.kind = chooser_outcome::answer;
                out.path = files;
            }
        }
        return out;
    }
    std::string typed = m->name;
    std::string path = resolve(*m, typed);
    kind_of_path found = examine(path);
    if (found == kind_of_path::folder) {
        std::string real = real_folder(path);
        chooser_file_enter(m, real.empty() ? path : real);
        m->name.clear();
        return out;
    }
    if (m->kind == chooser_kind::open) {
        if (found != kind_of_path::file) return out;  // a missing file keeps the chooser open
        out.kind = chooser_outcome::answer;
        out.path = path;
        return out;
    }
    path = resolve(*m, chooser_default_extension(typed, m->first_pattern.c_str()));
    if (examine(parent_of(path)) != kind_of_path::folder) return out;
    found = examine(path);
    if (found == kind_of_path::folder) return out;
    out.kind = found == kind_of_path::missing ? chooser_outcome::answer : chooser_outcome::confirm_replace;
    out.path = path;
    return out;
}
