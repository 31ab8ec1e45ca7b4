// OPEN, CLOSE and FREEFILE: BASIC file numbers bound to the file layer's records, and
// the close-all that END, CLEAR, CHAIN and the shutdown use.
#pragma once
#include <cstdint>

struct zvs;

// OPEN modes as translated code passes them: 0 or 1 RANDOM, 2 BINARY, 3 INPUT,
// 4 OUTPUT, 5 APPEND. ACCESS: 0 none, 1 READ WRITE, 2 READ, 3 WRITE. LOCK: 0 none,
// 1 SHARED, 2 READ WRITE, 3 READ, 4 WRITE.
// OPEN name FOR mode [ACCESS] [LOCK] AS #n [LEN = length]; passed: LEN was given.
void sub_open(zvs* name, int32_t mode, int32_t access, int32_t lock, int32_t n, int64_t length, int32_t passed);
// OPEN mode$, #n, name$[, length]: the first letter of mode$ (R, B, I, O, A) picks it.
void sub_open_gwbasic(zvs* mode, int32_t n, zvs* name, int64_t length, int32_t passed);
// CLOSE [#n]: passed 0 closes every file and network handle. A negative n names a
// network handle; numbers that name nothing are ignored.
void sub_close(int32_t n, int32_t passed);
// FREEFILE: the smallest unused file number (also while an error is pending).
int32_t func_freefile();

// CLOSE without arguments, without the pending-error test: END, CLEAR, CHAIN and the
// shutdown, which may run while an error is pending.
void file_close_all();

// gfs_open's access, lock and creation for an OPEN's mode, ACCESS and LOCK clauses.
struct gfs_open_arguments {
    int32_t access;
    int32_t lock;
    int32_t creation;
};
gfs_open_arguments open_arguments(int32_t mode, int32_t access, int32_t lock);

// The file layer's tables, and its answers registered with the modules that ask
// about files (close-all, PRINT # USING, TAB in PRINT #, INPUT # of numbers).
void file_global_init();
