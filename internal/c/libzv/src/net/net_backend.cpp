// The TCP and HTTP back ends: the placeholder table and the calls through the current one.
#include "net/net_backend.h"

#include <atomic>

namespace {

// Set by the first transport open; nothing else depends on it here.
bool tcp_initialised = false;

void placeholder_tcp_init() { tcp_initialised = true; }
void placeholder_tcp_done() {}
tcp_transport* placeholder_tcp_host_open(int64_t) {
    tcp_init();
    return nullptr;
}
tcp_transport* placeholder_tcp_client_open(const char*, int64_t) {
    tcp_init();
    return nullptr;
}
tcp_transport* placeholder_tcp_connection_open(tcp_transport*) { return nullptr; }
int32_t placeholder_tcp_connected(tcp_transport*) { return 0; }
void placeholder_tcp_out(tcp_transport*, const void*, int32_t) {}
// No placeholder ever hands out a transport, so there is never a record to free.
void placeholder_tcp_close(tcp_transport*) {}

void placeholder_http_init() {}
void placeholder_http_stop() {}
int32_t placeholder_http_open(const char*, int32_t) { return -1; }
int32_t placeholder_http_close(int32_t) { return -1; }
int32_t placeholder_http_connected(int32_t) { return -1; }
int32_t placeholder_http_get(int32_t, uint8_t*, uint32_t*) { return -1; }
int32_t placeholder_http_get_fixed(int32_t, uint8_t*, uint32_t) { return -1; }
int32_t placeholder_http_get_length(int32_t, uint32_t* count) {
    *count = 0;
    return -1;
}
int32_t placeholder_http_get_content_length(int32_t, uint64_t*) { return -1; }
int32_t placeholder_http_get_status_code(int32_t) { return -1; }
const char* placeholder_http_get_url(int32_t) { return nullptr; }

const net_backend placeholders{
    placeholder_tcp_init,
    placeholder_tcp_done,
    placeholder_tcp_host_open,
    placeholder_tcp_client_open,
    placeholder_tcp_connection_open,
    placeholder_tcp_connected,
    placeholder_tcp_out,
    placeholder_tcp_close,
    placeholder_http_init,
    placeholder_http_stop,
    placeholder_http_open,
    placeholder_http_close,
    placeholder_http_connected,
    placeholder_http_get,
    placeholder_http_get_fixed,
    placeholder_http_get_length,
    placeholder_http_get_content_length,
    placeholder_http_get_status_code,
    placeholder_http_get_url,
};

// Read by the program thread and by the housekeeping thread's shutdown.
std::atomic<const net_backend*> current{&placeholders};

const net_backend& b() { return *current.load(std::memory_order_acquire); }

}  // namespace

const net_backend& net_placeholder_backend() { return placeholders; }
void net_set_backend(const net_backend* backend) {
    current.store(backend ? backend : &placeholders, std::memory_order_release);
}
const net_backend& net_current_backend() { return b(); }

void tcp_init() { b().tcp_init(); }
void tcp_done() { b().tcp_done(); }
tcp_transport* tcp_host_open(int64_t port) { return b().tcp_host_open(port); }
tcp_transport* tcp_client_open(const char* host, int64_t port) { return b().tcp_client_open(host, port); }
tcp_transport* tcp_connection_open(tcp_transport* host) { return b().tcp_connection_open(host); }
int32_t tcp_connected(tcp_transport* transport) { return b().tcp_connected(transport); }
void tcp_out(tcp_transport* transport, const void* data, int32_t length) { b().tcp_out(transport, data, length); }
void tcp_close(tcp_transport* transport) { b().tcp_close(transport); }

void libzv_http_init() { b().http_init(); }
void libzv_http_stop() { b().http_stop(); }
int32_t libzv_http_open(const char* url, int32_t handle) { return b().http_open(url, handle); }
int32_t libzv_http_close(int32_t handle) { return b().http_close(handle); }
int32_t libzv_http_connected(int32_t handle) { return b().http_connected(handle); }
int32_t libzv_http_get(int32_t handle, uint8_t* buffer, uint32_t* count) { return b().http_get(handle, buffer, count); }
int32_t libzv_http_get_fixed(int32_t handle, uint8_t* buffer, uint32_t count) {
    return b().http_get_fixed(handle, buffer, count);
}
int32_t libzv_http_get_length(int32_t handle, uint32_t* count) { return b().http_get_length(handle, count); }
int32_t libzv_http_get_content_length(int32_t handle, uint64_t* length) {
    return b().http_get_content_length(handle, length);
}
int32_t libzv_http_get_status_code(int32_t handle) { return b().http_get_status_code(handle); }
const char* libzv_http_get_url(int32_t handle) { return b().http_get_url(handle); }
