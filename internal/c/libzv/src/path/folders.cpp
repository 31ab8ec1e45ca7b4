// _CWD$, _STARTDIR$, CHDIR, MKDIR, RMDIR and NAME ... AS.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "error/error.h"
#include "file/gfs_os.h"
#include "path/file_move.h"
#include "path/folders.h"
#include "path/path.h"
#include "platform/os_path.h"

namespace {

// Allocated on first use; program thread only (and main before it starts).
std::string* start_folder = nullptr;
bool start_folder_saved = false;

zvs* temporary_copy(std::string_view text) {
    zvs* s = zvs_new(int32_t(text.size()), 1);
    if (!text.empty()) memcpy(s->text, text.data(), text.size());
    return s;
}

// The current folder ending with '/'; false (errno set) when the system cannot tell it.
bool current_folder(std::string* out) {
    std::vector<char> buffer(260);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return false;
        buffer.resize(buffer.size() * 2);
    }
    out->assign(buffer.data());
    if (out->empty() || out->back() != '/') out->push_back('/');
    return true;
}

// The system's form of a path for a folder statement; false for a name the system
// cannot reach (a zero byte, a drive letter).
bool folder_path(const zvs* path, std::string* os) {
    std::string_view text = zvs_view(path);
    return !libzv_path_has_drive(text) && libzv_os_path(text, os);
}

// A name that opens would take as the null device: NAME never moves it.
bool names_null_device(std::string_view text) {
    std::string plain, device;
    return libzv_os_path(text, &plain) && libzv_os_path_device(text, &device) && plain != device;
}

int32_t rename_error(int e) {
    switch (e) {
        case EINVAL: return 64;
        // Access denied, as KILL reports it: a read-only file system or a busy name too.
        case EACCES:
        case EPERM:
        case EROFS:
        case EBUSY: return 75;
        case ENOENT: return 53;
        default: return 5;
    }
}

// rename that never replaces an existing target: the system's replace would lose a file.
int rename_no_replace(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL) return errno;
    // The file system may refuse the flag: look first, then rename.
    struct stat st;
    if (lstat(from, &st) != 0) return errno;
    if (lstat(to, &st) == 0) return EEXIST;
    return rename(from, to) == 0 ? 0 : errno;
}

}  // namespace

zvs* func__cwd() {
    if (new_error_is_set()) return zvs_new(0, 1);
    std::string folder;
    if (!current_folder(&folder)) {
        error(ERR_INTERNAL);
        return zvs_new(0, 1);
    }
    return temporary_copy(folder);
}

void FS_SaveStartDirectory() {
    if (start_folder_saved) return;
    start_folder_saved = true;
    if (!start_folder) start_folder = new std::string;
    // At start-up nobody could handle an error: an unknown folder stays "".
    if (!current_folder(start_folder)) start_folder->clear();
}

zvs* func__startdir() { return temporary_copy(start_folder ? *start_folder : std::string()); }

void folders_reset_for_tests() {
    start_folder_saved = false;
    if (start_folder) start_folder->clear();
}

void sub_chdir(zvs* path) {
    if (new_error_is_set()) return;
    std::string os;
    if (!folder_path(path, &os) || chdir(os.c_str()) != 0) error(ERR_PATH_NOT_FOUND);
}

void sub_mkdir(zvs* path) {
    if (new_error_is_set()) return;
    std::string os;
    if (!folder_path(path, &os)) return error(ERR_PATH_NOT_FOUND);
    if (mkdir(os.c_str(), 0777) != 0) error(errno == EEXIST ? 75 : 76);
}

void sub_rmdir(zvs* path) {
    if (new_error_is_set()) return;
    std::string os;
    if (!folder_path(path, &os)) return error(ERR_PATH_NOT_FOUND);
    if (rmdir(os.c_str()) != 0) error(errno == ENOTEMPTY || errno == EEXIST ? 75 : 76);
}

void sub_name(zvs* old_name, zvs* new_name) {
    if (new_error_is_set()) return;
    std::string_view from_text = zvs_view(old_name), to_text = zvs_view(new_name);
    if (names_null_device(from_text) || names_null_device(to_text)) return error(ERR_PATH_FILE_ACCESS);
    std::string from, to;
    if (!libzv_os_path(from_text, &from) || !libzv_os_path(to_text, &to)) return error(ERR_BAD_FILE_NAME);
    // A drive names a drive that does not exist here: a missing old name or target folder.
    if (libzv_path_has_drive(from_text) || libzv_path_has_drive(to_text)) return error(ERR_FILE_NOT_FOUND);
    if (gfs_os_held(from_text)) return error(ERR_PATH_FILE_ACCESS);  // open files are never moved from under their number
    int failed = rename_no_replace(from.c_str(), to.c_str());
    // Another file system: a plain file moves by copy, as the system's move does.
    if (failed == EXDEV) failed = file_move_across(from, to);
    if (failed) error(rename_error(failed));
}
