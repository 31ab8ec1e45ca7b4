// Whole-file writes (BSAVE, _WRITEFILE). What they promise:
// - A write that fails, for want of room (a full disk, no free inode, a quota) or for
//   any other reason, leaves the previous file's bytes as they were and a missing file
//   missing. The one exception is below: an I/O error in the middle of a write in place.
// - A write that succeeds leaves the file with its owner, mode, ACL and extended
//   attributes, seen with the new bytes through every name and every file number
//   that reached it before.
//
// How. A name that is a symbolic link is followed to the file it finally names; the
// links stay as they are. A regular file with one name that no file number here holds
// is replaced: the bytes go to a side file in its folder (a new name, O_EXCL, mode
// 0600, so that no one else opens it while it fills), which then takes the previous
// file's owner, every extended attribute (ACLs are stored as system.posix_acl_access
// and system.posix_acl_default) and mode, and is renamed over the file only when all of
// that is done. A missing file is made the same way and takes the mode a plain create
// gives (0666 less the umask, or what the folder's default ACL makes of it).
//
// Written in place instead: files with more than one name, files held open under a
// file number, files whose folder takes no new name (refused, or no free inode) or
// refuses the rename (a file mounted over another, another owner's file in a sticky
// folder, another file system), and files whose owner or attributes a side file
// cannot be given. Their new length is reserved first (fallocate), so that a full disk
// fails before any old byte changes; then the bytes are written over the old ones
// without emptying the file, and the file is cut to the new length last. A file system
// that cannot reserve space is written in the same order without the reservation, and
// an I/O error in the middle of the bytes leaves those written so far over the old
// ones, at the old length. Devices and other special files are written as an open
// for writing would write them. Program thread only.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

// One run of bytes; the parts are written one after another.
struct whole_file_part {
    const uint8_t* bytes;
    int64_t count;
};

// Where a whole-file write stopped.
enum class whole_file_stage {
    done,
    open,    // the file could not be opened or made; nothing changed
    locked,  // another opener locks bytes of the previous file; nothing changed
    write,   // a write, the close or the replacement failed
};

struct whole_file_result {
    whole_file_stage stage;
    int32_t code;  // the file layer's code (0 when done)
};

// Replaces the named file (a runtime path) by the parts.
whole_file_result gfs_os_write_whole(std::string_view name, const whole_file_part* parts, size_t part_count);

// The write call under whole-file writes, so that tests can make it fail (a full disk
// on demand); nullptr restores write(2).
using whole_file_write_call = ssize_t (*)(int fd, const void* bytes, size_t count);
void gfs_os_set_whole_file_write_for_tests(whole_file_write_call call);
