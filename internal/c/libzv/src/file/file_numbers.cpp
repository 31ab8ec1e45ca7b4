// The file module's start: empty tables, and its answers registered with the modules
// that ask about files.
#include "core/end_hooks.h"
#include "file/file_numbers.h"
#include "file/gfs.h"
#include "file/input_file.h"
#include "file/print_file.h"

void file_global_init() {
    gfs_global_init();
    end_set_close_all_files(file_close_all);
    print_file_register();
    input_file_register();
}
