// The platform file layer under every disk open of the file statements: path
// conversion, the null device, share modes (an in-process table, flock across
// processes), the no-write-bit rule, folders refused, and the system's errors as the
// file layer's codes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

struct gfs_os_file {
    int fd = -1;
    uint8_t can_read = 0;   // the access actually granted (creation 3 may fall back)
    uint8_t can_write = 0;
    int64_t share_token = 0;
};

// Opens a runtime path with gfs_open's access, lock and creation rules. 0 or a code
// (-5 to -9); out is filled only on success.
int32_t gfs_os_open(std::string_view name, int32_t access, int32_t lock, int32_t creation, gfs_os_file* out);
// The same for a path already in the system's form.
int32_t gfs_os_open_path(const std::string& path, int32_t access, int32_t lock, int32_t creation, gfs_os_file* out);
// Closes the descriptor and gives up its share entry; 0, or -9 when the close failed.
int32_t gfs_os_close(gfs_os_file* file);
// True while this process holds the named file open (KILL and NAME refuse it).
bool gfs_os_held(std::string_view name);
bool gfs_os_held_path(const std::string& path);

// The codes of a failed open (errno of the open of os_path), and of a failed read,
// write or lock.
int32_t gfs_os_open_error(int err, const std::string& os_path);
int32_t gfs_os_io_error(int err);

// Another opener's lock over [position, position + count) of a regular file: -7,
// else 0. The check before each read and write.
int32_t gfs_os_lock_check(int fd, int64_t position, int64_t count);

// Forgets the share table (tests; nothing is closed).
void gfs_os_reset_for_tests();
