// A write call for the file layer's write seam that stands for a disk with
// full_disk_budget bytes of room left: it writes what fits, then fails with ENOSPC.
#pragma once
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

inline int64_t full_disk_budget = 0;

inline ssize_t full_disk_write(int fd, const void* bytes, size_t count) {
    if (full_disk_budget <= 0) {
        errno = ENOSPC;
        return -1;
    }
    size_t take = std::min(count, size_t(full_disk_budget));
    full_disk_budget -= int64_t(take);
    return ::write(fd, bytes, take);
}
