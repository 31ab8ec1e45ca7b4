// What the file layer's own sources share: the checked record lookup and the
// release of a taken record, and the serial port's side of opening and reading.
#pragma once
#include <cstdint>

#include "file/gfs.h"

// The record of an index that is open or the screen device, else null.
gfs_file_struct* gfs_record(int32_t index);
// Back on the free-index stack, whatever state the record is in (failed opens).
void gfs_release_taken(int32_t index);
