// Serial ports behind the file layer: COMn: names with their options, the port opened
// and set up from them, and reads and writes with the name's time-outs.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

struct gfs_file_struct;
struct termios;

// 0 not a serial-port name (com_port 0), 1 a parsed one (every com_ field filled,
// defaults included), -1 a name that begins like one but whose syntax is bad.
int32_t gfs_open_com_syntax(std::string_view name, gfs_file_struct* f);

// Opens and sets up the port named by the record's com_ fields with its access flags:
// 0, or -8 when the port cannot be opened or set up.
int32_t gfs_open_com_port(gfs_file_struct* f);
// Reads up to count bytes within the DS time-out (*got the bytes delivered); writes
// within the CS time-out (-1 for a remainder left unsent). 0 or a code.
int32_t gfs_com_read(gfs_file_struct* f, uint8_t* buffer, int64_t count, int64_t* got);
int32_t gfs_com_write(gfs_file_struct* f, const uint8_t* buffer, int64_t count);
// Bytes waiting to be read, the pushed-back byte included; 0 when the system cannot say.
int64_t gfs_com_waiting(gfs_file_struct* f);
// A move to the position just before the byte read last keeps that byte for the next
// read; false for any other move (a port cannot seek).
bool gfs_com_step_back(gfs_file_struct* f, int64_t position);

// The record's settings as terminal flags, on top of what the port reported.
void gfs_com_termios(const gfs_file_struct* f, termios* t);
// The speed not among the standard ones is set through the kernel's own interface.
bool gfs_com_set_custom_speed(int fd, int32_t baud);

// The device that port n opens: /dev/ttyS<n-1>, reached by a USB adapter only through
// a link at that name.
std::string gfs_com_device(int32_t port);
// Tests point port n at another device (a pty); an empty path restores /dev/ttyS<n-1>.
void gfs_com_set_device_for_tests(int32_t port, const std::string& path);
