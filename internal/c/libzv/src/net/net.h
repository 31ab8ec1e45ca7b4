// Network handles: TCP/IP clients, hosts and accepted connections, and HTTP requests.
// A program sees a handle as a negative number, the bitwise complement of its list
// handle (~h = -h - 1), so the first handle handed out is -2. Program thread only
// (and the housekeeping thread's shutdown once the program thread is parked).
#pragma once
#include <cstdint>

struct zvs;

// Creates the three handle lists. Start-up, before any other thread.
void net_global_init();
// Empties the lists and forgets the highest handle (tests).
void net_reset_for_tests();

// _OPENCLIENT and _OPENHOST: the negative handle, 0 when the back end refused; error 5
// and 0 for an address that cannot be parsed.
int32_t func__openclient(zvs* address);
int32_t func__openhost(zvs* address);
// _OPENCONNECTION: the next connection waiting at a host; error 258 when host is not one.
int32_t func__openconnection(int32_t host);
// _CONNECTED: -1 while connected; error 52 and 0 for anything that is not.
int32_t func__connected(int32_t handle);
// _CONNECTIONADDRESS$: error 52 and "" for every handle.
zvs* func__connectionaddress(int32_t handle);
// _STATUSCODE of an HTTP request; runs while an error is pending.
int32_t func__statusCode(int32_t handle);

// type 0 a client, 1 a host (address is read), 2 accept from the host with list handle
// host. The list handle, 0 when the back end refused, -1 for a bad address or host.
int32_t connection_new(int32_t type, zvs* address, int32_t host);
// Closes and frees a stream, host or HTTP handle (list handle).
void connection_close(int32_t handle);
// The highest list handle handed out so far (0: none).
int32_t net_highest_handle();
