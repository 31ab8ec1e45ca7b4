// Checks and record arithmetic shared by GET, PUT and the record moves of FIELD.
#pragma once
#include <cstdint>

#include "file/gfs.h"

// The record of file number n for a GET (write false) or PUT (write true) of a variable or
// a FIELD record: error 52 when n is not bound, 54 when it is neither RANDOM nor BINARY
// (RANDOM only when random_only), 75 without the access. Null after an error.
gfs_file_struct* transfer_file(int32_t n, bool write, bool random_only, int32_t* index);

// Where a transfer starts: -1 (the current position) without a position, else the byte
// offset of record (RANDOM) or byte (BINARY) number position. Error 63 below 1 or when the
// offset or the end of the record would pass the 64-bit range; false after an error.
bool transfer_offset(const gfs_file_struct* f, int64_t position, bool passed, int64_t* offset);

// After a RANDOM transfer of fewer bytes than the record: to the record's end, given its
// start (-1: the current position minus length). Error 54 when the move fails.
void move_to_record_end(int32_t index, const gfs_file_struct* f, int64_t start, int64_t length);

// PUT of length bytes to file number n (not a network handle), with every check of PUT.
void put_block(int32_t n, int64_t position, const uint8_t* data, int64_t length, int32_t passed);
