// _OPENCLIENT, _OPENHOST, _OPENCONNECTION, _CONNECTED, _CONNECTIONADDRESS$ and _STATUSCODE.
#include "error/error.h"
#include "net/net.h"
#include "net/net_backend.h"
#include "net/net_handles.h"
#include "string/zvs.h"

namespace {

// A list handle becomes the program's negative handle; -1 (bad argument) raises bad_error.
int32_t open_result(int32_t h, int32_t bad_error) {
    if (h == -1) {
        error(bad_error);
        return 0;
    }
    return h == 0 ? 0 : ~h;
}

}  // namespace

int32_t func__openclient(zvs* address) {
    if (new_error_is_set()) return 0;
    return open_result(connection_new(0, address, 0), 5);
}

int32_t func__openhost(zvs* address) {
    if (new_error_is_set()) return 0;
    return open_result(connection_new(1, address, 0), 5);
}

int32_t func__openconnection(int32_t host) {
    if (new_error_is_set()) return 0;
    return open_result(connection_new(2, nullptr, ~host), 258);
}

int32_t func__connected(int32_t handle) {
    if (new_error_is_set()) return 0;
    if (special_handle_struct* h = special_handle_of(handle)) {
        if (h->kind == special_kind_stream) {
            stream_struct* s = special_stream(h);
            if (!s->detached && s->connection->connected) return tcp_connected(s->connection->transport);
        } else if (h->kind == special_kind_host) {
            if (special_connection(h)->connected) return -1;
        } else if (h->kind == special_kind_http) {
            return libzv_http_connected(~handle) ? -1 : 0;
        }
    }
    error(ERR_BAD_FILE_NAME_OR_NUMBER);
    return 0;
}

zvs* func__connectionaddress(int32_t) {
    if (!new_error_is_set()) error(ERR_BAD_FILE_NAME_OR_NUMBER);
    return zvs_new(0, 1);
}

int32_t func__statusCode(int32_t handle) {
    special_handle_struct* h = special_handle_of(handle);
    if (!h || h->kind != special_kind_http) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return -1;
    }
    int32_t code = libzv_http_get_status_code(~handle);
    if (code == -1) error(ERR_SUBSCRIPT_OUT_OF_RANGE);
    return code;
}
