// The records behind network handles, for the files of the network module and for
// tests that play the transport's part (filling a stream's receive buffer).
#pragma once
#include <cstdint>

struct list;
struct tcp_transport;

enum : int32_t { special_kind_stream = 1, special_kind_host = 2, special_kind_http = 3 };
enum : uint8_t { connection_role_client = 1, connection_role_host = 2, connection_role_accepted = 3 };
// GET state of an HTTP request.
enum : intptr_t { http_get_ready = 0, http_get_failed = 1, http_get_succeeded = 2 };

struct connection_struct {
    uint8_t connected;  // 1 while the transport is open
    uint8_t role;
    tcp_transport* transport;
    int32_t port;
};

struct stream_struct {
    uint8_t* buffer;       // received bytes not yet taken
    int32_t buffered;
    int32_t buffer_owned;  // the buffer is freed with the stream
    uint8_t eof;           // set when a GET wanted more bytes than were buffered
    int32_t detached;      // always 0 here: a detached stream is skipped by CLOSE and sends
    connection_struct* connection;
};

struct special_handle_struct {
    int32_t kind;
    // A stream's stream_struct*, a host's connection_struct*, or an HTTP GET state.
    intptr_t value;
};

list* net_special_handles();
list* net_stream_handles();
list* net_connection_handles();

// The record named by a negative BASIC handle n (list handle ~n), or null.
special_handle_struct* special_handle_of(int32_t n);
stream_struct* special_stream(const special_handle_struct* h);
connection_struct* special_connection(const special_handle_struct* h);

// Frees a stream's buffer when it owns it and removes it from its list.
void stream_free(stream_struct* stream);
// Refreshes the receive buffer from the transport before a read; nothing here.
void stream_update(stream_struct* stream);
// Sends bytes on the stream's connection (clients and accepted connections only).
void stream_out(stream_struct* stream, const void* data, int32_t length);
