// _FULLPATH$, _FILEEXISTS and _DIREXISTS, and the helpers behind them.
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "error/error.h"
#include "path/folders.h"
#include "path/path.h"
#include "platform/os_path.h"

namespace {

// stat of the path as opens see it (NUL is the null device); false when it cannot be asked.
bool query(std::string_view path, struct stat* st) {
    if (libzv_path_has_drive(path)) return false;
    std::string os;
    if (!libzv_os_path_device(path, &os) || os.empty()) return false;
    return stat(os.c_str(), st) == 0;
}

zvs* temporary_copy(std::string_view text) {
    zvs* s = zvs_new(int32_t(text.size()), 1);
    if (!text.empty()) memcpy(s->text, text.data(), text.size());
    return s;
}

}  // namespace

int32_t FS_DirectoryExists(std::string_view path) {
    struct stat st;
    return query(path, &st) && S_ISDIR(st.st_mode) ? 1 : 0;
}

int32_t FS_FileExists(std::string_view path) {
    struct stat st;
    return query(path, &st) && !S_ISDIR(st.st_mode) ? 1 : 0;
}

std::string FS_GetFullPath(std::string_view path) {
    std::string os;
    if (libzv_path_has_drive(path) || !libzv_os_path_device(path, &os) || os.empty()) return std::string(path);
    std::error_code failed;
    std::filesystem::path absolute = std::filesystem::absolute(os, failed);
    if (failed) return std::string(path);
    std::string full = absolute.lexically_normal().string();
    if (!full.empty() && full.back() != '/' && FS_DirectoryExists(full)) full.push_back('/');
    return full;
}

zvs* func__fullpath(zvs* path) {
    if (new_error_is_set() || path->length == 0) return zvs_new(0, 1);
    std::string name(zvs_view(path));
    if (path->temporary) zvs_free(path);
    if (!FS_DirectoryExists(name) && !FS_FileExists(name)) {
        error(ERR_PATH_NOT_FOUND);
        return zvs_new(0, 1);
    }
    return temporary_copy(FS_GetFullPath(name));
}

int32_t func__fileexists(zvs* path) { return FS_FileExists(zvs_view(path)) ? -1 : 0; }

int32_t func__direxists(zvs* path) { return FS_DirectoryExists(zvs_view(path)) ? -1 : 0; }
