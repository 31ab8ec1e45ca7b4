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

// Deletes one matching entry; 0 or the error it raises.
int32_t kill_one(const std::string& path) {
    std::string plain, device;
    if (!libzv_os_path(path, &plain) || !libzv_os_path_device(path, &device)) return 64;
    if (plain != device) return 75;  // the null device is never deleted
    struct stat st;
    if (lstat(plain.c_str(), &st) != 0) return 53;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return 75;
    if (gfs_os_held(path)) return 75;  // open here: the file stays with its readers
    // A file without any write bit is read-only, for root too.
    if (S_ISREG(st.st_mode) && !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) return 75;
    if (unlink(plain.c_str()) == 0) return 0;
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
    // A folder's name would list that folder while the names are joined with its parent.
    if (!has_wildcard(text) && FS_DirectoryExists(text)) return error(ERR_FILE_NOT_FOUND);
    std::string folder, file;
    filepath_split(text, &folder, &file);
    bool plain_file_seen = false;
    DirectoryContext context;
    for (const std::string* name = &FS_NextMatchingEntry(&context, text); !name->empty();
         name = &FS_NextMatchingEntry(&context, {})) {
        std::string joined;
        filepath_join(&joined, folder, *name);
        // A path that does not exist (a broken link aside) counts as a folder, as listed.
        struct stat st;
        std::string os;
        bool listed = libzv_os_path_device(joined, &os) && lstat(os.c_str(), &st) == 0;
        if (!listed || FS_DirectoryExists(joined)) continue;
        plain_file_seen = true;
        if (int32_t e = kill_one(joined)) error(e);
    }
    if (!plain_file_seen) error(ERR_FILE_NOT_FOUND);
}
