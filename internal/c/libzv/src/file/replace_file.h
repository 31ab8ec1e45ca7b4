// Whole-file writes (BSAVE, _WRITEFILE) that never destroy the previous file: a
// regular file is written beside its target under a temporary name (same folder,
// O_EXCL) and renamed over the target only when every byte is written, keeping the
// previous file's mode and owner. A failed write leaves the previous file exactly as
// it was, and a missing one missing.
//
// Written in place, as an open would: devices and other special files, symbolic links
// (the link and the file it names stay as they are), files with more than one name,
// files this process holds open under a file number, and files whose folder refuses
// a new name or whose owner cannot be kept. Program thread only.
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
