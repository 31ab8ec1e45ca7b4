// The process's peak resident memory, to check that a statement did not touch much
// memory on its way to an error (the peak only grows, so the growth across a call
// bounds what the call touched).
#pragma once
#include <sys/resource.h>

#include <cstdint>

inline int64_t peak_resident_bytes() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return int64_t(usage.ru_maxrss) * 1024;  // Linux reports kilobytes
}
