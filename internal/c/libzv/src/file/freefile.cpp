// FREEFILE: the smallest file number not bound. No pending-error test.
#include "file/file_numbers.h"
#include "file/gfs.h"

int32_t func_freefile() { return gfs_fileno_freefile(); }
