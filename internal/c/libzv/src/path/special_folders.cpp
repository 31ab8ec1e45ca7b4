// _DIR$: the special folders of the user and the system, found the XDG way
// (user-dirs.dirs for the user's own folders). System folders are never created.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "path/folders.h"
#include "path/path.h"

namespace {

constexpr int32_t kind_profile = 0, kind_desktop = 1, kind_downloads = 6, kind_config = 7, kind_data = 8,
                  kind_shared_data = 9, kind_fonts = 10, kind_user_fonts = 11, kind_temporary = 12,
                  kind_programs = 13, kind_programs_x86 = 14;

struct keyword {
    const char* text;
    int32_t kind;
};

constexpr keyword keywords[] = {
    {"HOME", 0}, {"USER", 0}, {"PROFILE", 0}, {"USERPROFILE", 0}, {"USER PROFILE", 0},
    {"DESKTOP", 1},
    {"TEXT", 2}, {"DOCUMENT", 2}, {"DOCUMENTS", 2}, {"MY DOCUMENTS", 2},
    {"PICTURE", 3}, {"PICTURES", 3}, {"IMAGE", 3}, {"IMAGES", 3}, {"MY PICTURES", 3}, {"DCIM", 3},
    {"CAMERA", 3}, {"CAMERA ROLL", 3}, {"PHOTO", 3}, {"PHOTOS", 3},
    {"MUSIC", 4}, {"AUDIO", 4}, {"SOUND", 4}, {"SOUNDS", 4}, {"MY MUSIC", 4},
    {"MOVIE", 5}, {"MOVIES", 5}, {"VIDEO", 5}, {"VIDEOS", 5}, {"MY VIDEOS", 5},
    {"DOWNLOAD", 6}, {"DOWNLOADS", 6},
    {"APPDATA", 7}, {"APPLICATION DATA", 7}, {"PROGRAM DATA", 7}, {"DATA", 7},
    {"LOCALAPPDATA", 8}, {"LOCAL APPLICATION DATA", 8}, {"LOCAL PROGRAM DATA", 8}, {"LOCAL DATA", 8},
    {"PROGRAMDATA", 9}, {"COMMON PROGRAM DATA", 9},
    {"FONT", 10}, {"FONTS", 10},
    {"USERFONT", 11}, {"USER FONT", 11}, {"USERFONTS", 11}, {"USER FONTS", 11},
    {"TMP", 12}, {"TEMP", 12}, {"TEMP FILES", 12},
    {"PROGRAMFILES", 13}, {"PROGRAM FILES", 13},
    {"PROGRAMFILESX86", 14}, {"PROGRAMFILES X86", 14}, {"PROGRAM FILES X86", 14}, {"PROGRAM FILES 86", 14},
    {"PROGRAM FILES (X86)", 14}, {"PROGRAMFILES (X86)", 14}, {"PROGRAM FILES(X86)", 14}, {"PROGRAMFILES(X86)", 14},
};

// The user's own folders in user-dirs.dirs, with their fall-back names under the profile.
struct user_folder {
    const char* key;
    const char* fallback;
};
constexpr user_folder user_folders[] = {
    {"DESKTOP", "Desktop"}, {"DOCUMENTS", "Documents"}, {"PICTURES", "Pictures"},
    {"MUSIC", "Music"},     {"VIDEOS", "Videos"},       {"DOWNLOAD", "Downloads"},
};

bool is_folder(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folder itself, created (only its last part) when missing; "" when it is not a folder afterwards.
std::string created(const std::string& path, mode_t mode) {
    if (path.empty()) return path;
    if (!is_folder(path)) mkdir(path.c_str(), mode);
    return is_folder(path) ? path : std::string();
}

std::string existing(const std::string& path) { return is_folder(path) ? path : std::string(); }

std::string variable(const char* name) {
    const char* value = getenv(name);
    return value ? std::string(value) : std::string();
}

std::string absolute_variable(const char* name) {
    std::string value = variable(name);
    return !value.empty() && value[0] == '/' ? value : std::string();
}

std::string profile() {
    std::string home = variable("HOME");
    if (!home.empty()) return home;
    struct passwd entry, *found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return {};
}

std::string config_home() {
    std::string config = absolute_variable("XDG_CONFIG_HOME");
    if (!config.empty()) return config;
    std::string home = profile();
    return home.empty() ? home : home + "/.config";
}

std::string data_home() {
    std::string data = absolute_variable("XDG_DATA_HOME");
    if (!data.empty()) return data;
    std::string home = profile();
    return home.empty() ? home : home + "/.local/share";
}

// The value of one line XDG_<key>_DIR="..." ("$HOME/..." or absolute); "" when it is not one.
std::string user_dirs_value(std::string_view line, std::string_view key) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    line.remove_prefix(start);
    std::string name = "XDG_" + std::string(key) + "_DIR=";
    if (line.substr(0, name.size()) != name) return {};
    line.remove_prefix(name.size());
    if (line.empty() || line[0] != '"') return {};
    std::string value;
    size_t i = 1;
    for (; i < line.size() && line[i] != '"'; i++) {
        if (line[i] == '\\' && i + 1 < line.size()) i++;
        value.push_back(line[i]);
    }
    if (i == line.size()) return {};
    if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
        std::string home = profile();
        return home.empty() ? home : home + value.substr(5);
    }
    return !value.empty() && value[0] == '/' ? value : std::string();
}

// The folder user-dirs.dirs names for key (the last valid line wins), else the fall-back.
std::string user_dir(const user_folder& folder) {
    std::string found;
    std::string config = config_home();
    if (!config.empty()) {
        if (FILE* f = fopen((config + "/user-dirs.dirs").c_str(), "re")) {
            std::string line;
            int c;
            do {
                c = fgetc(f);
                if (c == '\n' || c == EOF) {
                    std::string value = user_dirs_value(line, folder.key);
                    if (!value.empty()) found = value;
                    line.clear();
                } else {
                    line.push_back(char(c));
                }
            } while (c != EOF);
            fclose(f);
        }
    }
    if (!found.empty()) return found;
    std::string home = profile();
    return home.empty() ? home : home + "/" + folder.fallback;
}

std::string temporary_folder() {
    std::string tmp = variable("TMPDIR");
    if (is_folder(tmp)) return tmp;
    return existing("/tmp");
}

std::string first_data_dir() {
    std::string dirs = variable("XDG_DATA_DIRS");
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        if (end > start && dirs[start] == '/') return dirs.substr(start, end - start);
        start = end + 1;
    }
    return "/usr/local/share";
}

std::string query(int32_t kind) {
    switch (kind) {
        case kind_desktop:
        case 2:
        case 3:
        case 4:
        case 5: return created(user_dir(user_folders[kind - kind_desktop]), 0777);
        case kind_downloads: return created(user_dir(user_folders[5]), 0777);
        case kind_config: return created(config_home(), 0700);
        case kind_data: return created(data_home(), 0700);
        case kind_shared_data: return existing(first_data_dir());
        case kind_fonts: return existing("/usr/share/fonts");
        case kind_user_fonts: {
            std::string data = data_home();
            return data.empty() ? data : existing(data + "/fonts");
        }
        case kind_temporary: return temporary_folder();
        case kind_programs:
        case kind_programs_x86: return existing("/opt");
        default: return profile();
    }
}

}  // namespace

int32_t special_folder_kind(std::string_view word) {
    for (const keyword& k : keywords)
        if (word == k.text) return k.kind;
    return kind_desktop;
}

std::string FS_GetSpecialFolder(int32_t kind) {
    if (kind < kind_profile || kind > kind_programs_x86) kind = kind_profile;
    std::string folder = query(kind);
    if (folder.empty()) folder = profile();
    if (folder.empty()) folder = ".";
    if (folder.back() != '/') folder.push_back('/');
    return folder;
}

zvs* func__dir(zvs* keyword_text) {
    std::string word(zvs_view(keyword_text));
    if (keyword_text->temporary) zvs_free(keyword_text);
    for (char& c : word)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    std::string folder = FS_GetSpecialFolder(special_folder_kind(word));
    zvs* s = zvs_new(int32_t(folder.size()), 1);
    memcpy(s->text, folder.data(), folder.size());
    return s;
}
