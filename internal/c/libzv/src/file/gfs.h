// The generic file layer: open-file records addressed by a gfs index, the BASIC
// file-number map, and open, close, position, size, read, write, lock and unlock with
// 64-bit positions. It raises no BASIC errors and keeps no buffers: every operation
// answers 0 or one of the negative codes below, and the statements translate them.
// Program thread only; the shutdown's close-all runs on the housekeeping thread while
// the program thread is parked.
#pragma once
#include <cstdint>
#include <vector>

struct zvs;

constexpr int32_t gfs_ok = 0;
constexpr int32_t gfs_short_write = -1;
constexpr int32_t gfs_bad_index = -2;       // bad index, or a record neither open nor the screen device
constexpr int32_t gfs_no_access = -3;       // no read / write access, or the system cannot seek or size
constexpr int32_t gfs_bad_argument = -4;    // negative count or position, malformed lock range, size of SCRN:
constexpr int32_t gfs_not_found = -5;
constexpr int32_t gfs_path_not_found = -6;
constexpr int32_t gfs_denied = -7;          // permission, sharing or lock violation
constexpr int32_t gfs_device_unavailable = -8;
constexpr int32_t gfs_io_error = -9;
constexpr int32_t gfs_read_past_end = -10;  // short read: the rest of the buffer is zero-filled
constexpr int32_t gfs_bad_com_name = -11;

// A byte range locked through one record, both ends inclusive; end -1 is open-ended.
struct gfs_lock_range {
    int64_t start;
    int64_t end;
};

struct gfs_file_struct {
    int64_t id;  // never reused within a run
    uint8_t is_open;
    uint8_t can_read;
    uint8_t can_write;
    uint8_t lock_read;   // other openers denied reading
    uint8_t lock_write;  // other openers denied writing
    int64_t position;    // 0-based; moves together with the system's file pointer
    uint8_t eof_reached;
    uint8_t eof_passed;  // a read found fewer bytes than asked (or met byte 26)
    int32_t file_number; // bound BASIC file number, 0 for none
    uint8_t basic_mode;  // 1 RANDOM, 2 BINARY, 3 INPUT, 4 OUTPUT or APPEND
    int64_t record_length;
    uint8_t* record_buffer;  // RANDOM: record_length bytes (malloc family; freed by gfs_close)
    zvs** field_strings;     // strings FIELDed to this file (malloc family; freed by gfs_close)
    int32_t field_string_count;
    int64_t print_column;    // 1-based column PRINT # has reached
    int os_handle;           // file descriptor, -1 for none (the screen never has one)
    int32_t com_port;        // serial port 1-255, 0 for anything else
    int32_t com_baud;
    int8_t com_parity;       // 0 N, 1 E, 2 O, 3 S, 4 M, 5 PE
    uint8_t com_data_bits;
    uint8_t com_stop_bits_x10;
    uint8_t com_ascii;
    uint8_t com_lf;
    uint8_t com_rs;
    int32_t com_cd_ms;
    int32_t com_cs_ms;
    int32_t com_ds_ms;
    int32_t com_op_ms;
    uint8_t is_screen;
    // A serial port cannot seek: a one-byte step back keeps the byte read last here.
    int32_t com_pushed_back;  // -1 none, else the byte the next read delivers first
    int32_t com_last_byte;    // -1 none, else the last byte read from the port
    int64_t share_token;      // entry in the in-process share table, 0 for none
    std::vector<gfs_lock_range> locks;
};

// Empty tables (main, before the program starts); the reset also forgets every record
// without closing anything (tests).
void gfs_global_init();
void gfs_reset_for_tests();

// access: bit 0 read, bit 1 write. lock: bit 0 denies others reading, bit 1 writing.
// creation: 0 must exist; 1 open or create; 2 open or create, then empty; 3 as 1,
// falling back to read-only, then write-only access. Answers the new index or a code.
int32_t gfs_open(zvs* name, int32_t access, int32_t lock, int32_t creation);
int32_t gfs_close(int32_t index);
// Releases a record without closing its handle or freeing its buffers.
int32_t gfs_free(int32_t index);
// Takes a cleared record with a new id, opening nothing.
int32_t gfs_new();
int32_t gfs_validhandle(int32_t index);
gfs_file_struct* gfs_get_file_struct(int32_t index);  // no check; the address never moves
// Closes every record bound to a file number, in ascending number order.
void gfs_close_all_files();

// Positions and counts are 64-bit; a position of -1 means the current one.
int32_t gfs_setpos(int32_t index, int64_t position);
int64_t gfs_getpos(int32_t index);
int64_t gfs_lof(int32_t index);
int32_t gfs_read(int32_t index, int64_t position, uint8_t* buffer, int64_t count);
int64_t gfs_read_bytes();  // bytes the last gfs_read delivered
int32_t gfs_write(int32_t index, int64_t position, const uint8_t* buffer, int64_t count);
int32_t gfs_eof_reached(int32_t index);
int32_t gfs_eof_passed(int32_t index);
// Inclusive byte positions; start -1 means 0, end -1 the end of the addressable range.
int32_t gfs_lock(int32_t index, int64_t start, int64_t end);
int32_t gfs_unlock(int32_t index, int64_t start, int64_t end);

// BASIC file numbers. valid: -2 for n < 1, 1 bound, 0 free.
int32_t gfs_fileno_valid(int32_t n);
int32_t gfs_get_fileno(int32_t n);  // bound index, -1 when free
void gfs_fileno_use(int32_t n, int32_t index);
void gfs_fileno_free(int32_t n);
int32_t gfs_fileno_freefile();  // the smallest free number
// The record bound to n, or null when n is below 1 or free.
gfs_file_struct* gfs_file_of_number(int32_t n);

// How each statement family reports the layer's codes as BASIC errors.
enum class gfs_errors {
    open,         // gfs_open in OPEN
    open_probe,   // OPEN FOR INPUT's first-byte read
    transfer,     // GET, PUT, PRINT #, the byte readers, INPUT$, LOF, SEEK
    lock,         // LOCK and UNLOCK
    record_move,  // to the start or end of a RANDOM record after GET or PUT
};
int32_t gfs_error_number(int32_t code, gfs_errors family);
