// CLOSE, and the close-all core behind CLOSE without arguments, END, CLEAR and the
// shutdown.
#include "error/error.h"
#include "file/file_numbers.h"
#include "file/gfs.h"
#include "net/net_file.h"

void file_close_all() {
    net_file_close_all();
    gfs_close_all_files();
}

void sub_close(int32_t n, int32_t passed) {
    if (new_error_is_set()) return;
    if (!passed) {
        file_close_all();
        return;
    }
    if (n < 0) {
        net_file_close(n);
        return;
    }
    if (gfs_fileno_valid(n) == 1) gfs_close(gfs_get_fileno(n));
}
