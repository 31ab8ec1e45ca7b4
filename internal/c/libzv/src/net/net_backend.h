// The transports behind network handles: a TCP transport (tcp_...) and an HTTP client
// (libzv_http_...). This system has neither; the production table holds placeholders
// that answer with failure values. Tests install tables that succeed.
#pragma once
#include <cstdint>

// A transport record, owned by the transport back end.
struct tcp_transport;

struct net_backend {
    void (*tcp_init)();
    void (*tcp_done)();
    tcp_transport* (*tcp_host_open)(int64_t port);
    tcp_transport* (*tcp_client_open)(const char* host, int64_t port);
    tcp_transport* (*tcp_connection_open)(tcp_transport* host);
    int32_t (*tcp_connected)(tcp_transport* transport);
    void (*tcp_out)(tcp_transport* transport, const void* data, int32_t length);
    void (*tcp_close)(tcp_transport* transport);

    void (*http_init)();
    void (*http_stop)();
    int32_t (*http_open)(const char* url, int32_t handle);
    int32_t (*http_close)(int32_t handle);
    int32_t (*http_connected)(int32_t handle);
    int32_t (*http_get)(int32_t handle, uint8_t* buffer, uint32_t* count);
    int32_t (*http_get_fixed)(int32_t handle, uint8_t* buffer, uint32_t count);
    int32_t (*http_get_length)(int32_t handle, uint32_t* count);
    int32_t (*http_get_content_length)(int32_t handle, uint64_t* length);
    int32_t (*http_get_status_code)(int32_t handle);
    const char* (*http_get_url)(int32_t handle);
};

// The placeholders of this system.
const net_backend& net_placeholder_backend();
// nullptr restores the placeholders.
void net_set_backend(const net_backend* backend);
const net_backend& net_current_backend();

// The calls the handle machinery makes, through the current table.
// Transport: null means the open was refused.
void tcp_init();
void tcp_done();
tcp_transport* tcp_host_open(int64_t port);
tcp_transport* tcp_client_open(const char* host, int64_t port);
tcp_transport* tcp_connection_open(tcp_transport* host);
int32_t tcp_connected(tcp_transport* transport);
void tcp_out(tcp_transport* transport, const void* data, int32_t length);
void tcp_close(tcp_transport* transport);

// HTTP: handle is the special handle's list handle. open answers 0 when the request
// started; connected is non-zero while the request is open; get_length gives the bytes
// ready now and get fills up to *count of them; get_fixed answers -1 when the bytes were
// not read; get_content_length answers 0 and the length on success; get_status_code
// answers -1 when there is none.
void libzv_http_init();
void libzv_http_stop();
int32_t libzv_http_open(const char* url, int32_t handle);
int32_t libzv_http_close(int32_t handle);
int32_t libzv_http_connected(int32_t handle);
int32_t libzv_http_get(int32_t handle, uint8_t* buffer, uint32_t* count);
int32_t libzv_http_get_fixed(int32_t handle, uint8_t* buffer, uint32_t count);
int32_t libzv_http_get_length(int32_t handle, uint32_t* count);
int32_t libzv_http_get_content_length(int32_t handle, uint64_t* length);
int32_t libzv_http_get_status_code(int32_t handle);
const char* libzv_http_get_url(int32_t handle);
