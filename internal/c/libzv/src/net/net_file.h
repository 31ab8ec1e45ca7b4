// What the file statements do with a negative file number: the number names a
// network stream, a host or an HTTP request (its list handle is ~n).
#pragma once
#include <cstdint>

struct zvs;

// GET of a fixed-size variable: length bytes into data. A stream short of bytes sets
// its end-of-file flag and leaves data alone. Error 52 for a host or an unknown handle.
void net_file_get(int32_t n, uint8_t* data, int32_t length);
// GET of a variable-length string: the whole buffer (stream) or the reply (HTTP).
void net_file_get_string(int32_t n, zvs* target);
// PUT: the bytes go out on a stream; error 52 for anything else.
void net_file_put(int32_t n, const uint8_t* data, int32_t length);
// LOF and EOF of a negative number (error 52 where nothing answers, result 0).
int64_t net_file_lof(int32_t n);
int32_t net_file_eof(int32_t n);
// CLOSE #n; a number that names nothing is left alone.
void net_file_close(int32_t n);
// CLOSE without arguments: every handle but the debug link named by a positive traxel.
void net_file_close_all();
