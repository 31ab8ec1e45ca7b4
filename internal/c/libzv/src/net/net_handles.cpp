// The network handle lists: opening (with the address parser), accepting,
// closing, and the stream primitives.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "list/list.h"
#include "net/net.h"
#include "net/net_backend.h"
#include "net/net_handles.h"
#include "number/val.h"
#include "string/zvs.h"
#include "support/traxel.h"

namespace {

list* special_handles = nullptr;
list* stream_handles = nullptr;
list* connection_handles = nullptr;
int32_t highest_handle = 0;

// At most this many ':' separate the parts of an address; the rest stays in the last part.
constexpr int32_t spec_max_separators = 10;

struct spec_parts {
    std::string_view part[spec_max_separators + 1];
    int32_t count;
};

spec_parts split_spec(std::string_view text) {
    spec_parts p{};
    size_t start = 0;
    while (p.count < spec_max_separators) {
        size_t colon = text.find(':', start);
        if (colon == std::string_view::npos) break;
        p.part[p.count++] = text.substr(start, colon - start);
        start = colon + 1;
    }
    p.part[p.count++] = text.substr(start);
    return p;
}

// ASCII only: case folding never depends on the locale.
bool equals_upper(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size()) return false;
    for (size_t i = 0; i < text.size(); i++) {
        uint8_t c = uint8_t(text[i]);
        if (c >= 'a' && c <= 'z') c = uint8_t(c - 32);
        if (c != uint8_t(upper[i])) return false;
    }
    return true;
}

// VAL of the text rounded to nearest, ties to even; out of range gives -2147483648.
int32_t port_of(std::string_view text) {
    long double v = val_float(reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size()));
    if (!(v > -2147483648.5L && v < 2147483647.5L)) return INT32_MIN;
    return int32_t(std::llrintl(v));
}

int32_t take_special(int32_t kind, intptr_t value) {
    int32_t h = list_add(special_handles);
    if (h > highest_handle) highest_handle = h;
    auto* s = static_cast<special_handle_struct*>(list_get(special_handles, h));
    s->kind = kind;
    s->value = value;
    return h;
}

connection_struct* take_connection(uint8_t role, tcp_transport* transport, int32_t port) {
    auto* c = static_cast<connection_struct*>(list_get(connection_handles, list_add(connection_handles)));
    c->connected = 1;
    c->role = role;
    c->transport = transport;
    c->port = port;
    return c;
}

// A special handle of kind stream, with its stream and connection.
int32_t take_stream(uint8_t role, tcp_transport* transport, int32_t port) {
    connection_struct* c = take_connection(role, transport, port);
    auto* s = static_cast<stream_struct*>(list_get(stream_handles, list_add(stream_handles)));
    s->connection = c;
    return take_special(special_kind_stream, reinterpret_cast<intptr_t>(s));
}

void remove_connection(connection_struct* c) { list_remove(connection_handles, list_get_index(connection_handles, c)); }

int32_t open_http(std::string_view text) {
    size_t colon = text.find(':');
    if (colon == std::string_view::npos) return -1;
    std::string_view rest = text.substr(colon + 1);
    // A URL written with its scheme and slashes passes whole; HTTP:host/path passes host/path.
    std::string url(!rest.empty() && rest[0] == '/' ? text : rest);
    // The back end reads a C string: a zero byte would silently name another address.
    if (url.find('\0') != std::string::npos) return -1;
    int32_t h = take_special(0, 0);
    if (libzv_http_open(url.c_str(), h) != 0) {
        list_remove(special_handles, h);
        return 0;
    }
    auto* s = static_cast<special_handle_struct*>(list_get(special_handles, h));
    s->kind = special_kind_http;
    s->value = http_get_ready;
    return h;
}

int32_t open_tcp(int32_t type, std::string_view text) {
    spec_parts p = split_spec(text);
    if (type == 0 && equals_upper(p.part[0], "HTTP")) return open_http(text);
    if (type == 0 && equals_upper(p.part[0], "HTTPS")) return open_http(text);
    if (p.count < 2) return -1;
    bool debug_link = traxelHandle() == -1 && equals_upper(p.part[0], "ORVOIDE");
    if (!equals_upper(p.part[0], "TCP/IP") && !debug_link) return -1;
    int32_t port = port_of(p.part[1]);
    if (type == 0) {
        if (p.count != 3) return -1;
        std::string host(p.part[2]);
        if (host.find('\0') != std::string::npos) return -1;
        tcp_transport* t = tcp_client_open(host.c_str(), port);
        if (!t) return 0;
        int32_t h = take_stream(connection_role_client, t, port);
        if (traxelHandle() == -1) traxel_set_handle(h);
        return h;
    }
    if (p.count != 2) return -1;
    tcp_transport* t = tcp_host_open(port);
    if (!t) return 0;
    return take_special(special_kind_host, reinterpret_cast<intptr_t>(take_connection(connection_role_host, t, port)));
}

int32_t accept_connection(int32_t host) {
    auto* h = special_handle_of(~host);
    if (!h || h->kind != special_kind_host) return -1;
    connection_struct* hc = special_connection(h);
    tcp_transport* t = tcp_connection_open(hc->transport);
    if (!t) return 0;
    // The host's port stands for the accepted connection's.
    return take_stream(connection_role_accepted, t, hc->port);
}

}  // namespace

void net_global_init() {
    special_handles = list_new(sizeof(special_handle_struct));
    stream_handles = list_new(sizeof(stream_struct));
    connection_handles = list_new(sizeof(connection_struct));
    highest_handle = 0;
}

void net_reset_for_tests() {
    if (special_handles) {
        list_destroy(special_handles);
        list_destroy(stream_handles);
        list_destroy(connection_handles);
    }
    net_global_init();
}

list* net_special_handles() { return special_handles; }
list* net_stream_handles() { return stream_handles; }
list* net_connection_handles() { return connection_handles; }
int32_t net_highest_handle() { return highest_handle; }

special_handle_struct* special_handle_of(int32_t n) {
    // Before net_global_init no handle exists (tests of other modules close everything).
    if (n >= 0 || !special_handles) return nullptr;
    return static_cast<special_handle_struct*>(list_get(special_handles, ~n));
}

stream_struct* special_stream(const special_handle_struct* h) { return reinterpret_cast<stream_struct*>(h->value); }
connection_struct* special_connection(const special_handle_struct* h) {
    return reinterpret_cast<connection_struct*>(h->value);
}

int32_t connection_new(int32_t type, zvs* address, int32_t host) {
    if (type == 2) return accept_connection(host);
    if (!address) return -1;
    return open_tcp(type, std::string_view(reinterpret_cast<const char*>(address->text), size_t(address->length)));
}

void connection_close(int32_t handle) {
    if (!special_handles) return;
    auto* h = static_cast<special_handle_struct*>(list_get(special_handles, handle));
    if (!h) return;
    switch (h->kind) {
    case special_kind_stream: {
        stream_struct* s = special_stream(h);
        if (s->detached) return;
        connection_struct* c = s->connection;
        if (c->connected) tcp_close(c->transport);
        remove_connection(c);
        stream_free(s);
        list_remove(special_handles, handle);
        break;
    }
    case special_kind_host: {
        connection_struct* c = special_connection(h);
        if (c->connected) tcp_close(c->transport);
        remove_connection(c);
        list_remove(special_handles, handle);
        break;
    }
    case special_kind_http:
        libzv_http_close(handle);
        list_remove(special_handles, handle);
        break;
    default:
        break;
    }
}

void stream_free(stream_struct* stream) {
    if (stream->buffer_owned) free(stream->buffer);
    list_remove(stream_handles, list_get_index(stream_handles, stream));
}

void stream_update(stream_struct*) {}

void stream_out(stream_struct* stream, const void* data, int32_t length) {
    if (stream->detached) return;
    connection_struct* c = stream->connection;
    if ((c->role == connection_role_client || c->role == connection_role_accepted) && c->connected)
        tcp_out(c->transport, data, length);
}
