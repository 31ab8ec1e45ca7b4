// KILL: deletes the plain files that match a name or pattern; folders are never deleted.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "error/error.h"
#include "file/gfs_os.h"
#include "path/listing.h"
#include "path/path.h"
#include "platform/os_path.h"

namespace {

bool has_wildcard(std::string_view pattern_text) { return pattern_text.find_first_of("*?") != std::string_view::npos; }

// Deletes one matching entry, given by its system path; 0 or the error it raises.
int32_t kill_one(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return 53;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return 75;
    if (gfs_os_held_path(path)) return 75;  // open here: the file stays with its readers
    // A file without any write bit is read-only, for root too.
    if (S_ISREG(st.st_mode) && !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) return 75;
    if (unlink(path.c_str()) == 0) return 0;
    switch (errno) {
        case ENOENT: return 53;
        case EACCES:
        case EPERM:
        case EROFS:
        case EBUSY: return 75;
        default: return 64;
    }
}

}  // namespace

void sub_kill(zvs* pattern_text) {
    if (new_error_is_set()) return;
    std::string text = filepath_fix_directory(pattern_text);
    if (!has_wildcard(text)) {
        // The null device is never deleted.
        std::string plain, device;
        if (libzv_os_path(text, &plain) && libzv_os_path_device(text, &device) && plain != device)
            return error(ERR_PATH_FILE_ACCESS);
        // A folder's name deletes nothing, in it or beside it.
        if (FS_DirectoryExists(text)) return error(ERR_FILE_NOT_FOUND);
    }
    bool plain_file_seen = false;
    DirectoryContext context;
    for (const std::string* name = &FS_NextMatchingEntry(&context, text); !name->empty();
         name = &FS_NextMatchingEntry(&context, {})) {
        // Each name is deleted inside the folder that listed it, by its own bytes.
        std::string path = FS_EntryPath(context, *name);
        // A path that does not exist (a broken link aside) counts as a folder, as listed.
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || FS_EntryIsFolder(context, *name)) continue;
        plain_file_seen = true;
        if (int32_t e = kill_one(path)) error(e);
    }
    if (!plain_file_seen) error(ERR_FILE_NOT_FOUND);
}

void FS_KillFile(const std::string& path) {
    if (new_error_is_set()) return;
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return error(ERR_FILE_NOT_FOUND);
    if (int32_t e = kill_one(path)) error(e);
}
