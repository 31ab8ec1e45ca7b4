// GET, PUT, LOF, EOF and CLOSE of a negative file number: network streams, hosts and
// HTTP requests.
#include "net/net_file.h"

#include <climits>
#include <cstring>

#include "error/error.h"
#include "net/net.h"
#include "net/net_backend.h"
#include "net/net_handles.h"
#include "string/zvs.h"
#include "support/traxel.h"

void net_file_get(int32_t n, uint8_t* data, int32_t length) {
    special_handle_struct* h = special_handle_of(n);
    if (h && h->kind == special_kind_stream) {
        stream_struct* s = special_stream(h);
        stream_update(s);
        if (s->buffered < length) {
            s->eof = 1;
            return;
        }
        s->eof = 0;
        if (length > 0) {
            memcpy(data, s->buffer, size_t(length));
            memmove(s->buffer, s->buffer + length, size_t(s->buffered - length));
            s->buffered -= length;
        }
        return;
    }
    if (h && h->kind == special_kind_http) {
        int32_t r = libzv_http_get_fixed(~n, data, uint32_t(length < 0 ? 0 : length));
        h->value = r == -1 ? http_get_failed : http_get_succeeded;
        return;
    }
    error(ERR_BAD_FILE_NAME_OR_NUMBER);
}

void net_file_get_string(int32_t n, zvs* target) {
    special_handle_struct* h = special_handle_of(n);
    if (h && h->kind == special_kind_stream) {
        stream_struct* s = special_stream(h);
        stream_update(s);
        zvs* got = zvs_new(s->buffered, 1);
        if (s->buffered) memcpy(got->text, s->buffer, size_t(s->buffered));
        s->buffered = 0;
        s->eof = 0;
        zvs_set(target, got);
        return;
    }
    if (h && h->kind == special_kind_http) {
        h->value = http_get_ready;
        uint32_t count = 0;
        libzv_http_get_length(~n, &count);
        // A BASIC string holds at most 2^31 - 1 bytes; the rest stays for the next GET.
        if (count > uint32_t(INT32_MAX)) count = uint32_t(INT32_MAX);
        zvs* got = zvs_new(int32_t(count), 1);
        if (count) {
            uint32_t filled = count;
            // Never hand the program bytes the back end did not write.
            if (libzv_http_get(~n, got->text, &filled) != 0) filled = 0;
            if (filled < count) got->length = int32_t(filled);
        }
        zvs_set(target, got);
        return;
    }
    error(ERR_BAD_FILE_NAME_OR_NUMBER);
}

void net_file_put(int32_t n, const uint8_t* data, int32_t length) {
    special_handle_struct* h = special_handle_of(n);
    if (h && h->kind == special_kind_stream) {
        stream_out(special_stream(h), data, length);
        return;
    }
    error(ERR_BAD_FILE_NAME_OR_NUMBER);
}

int64_t net_file_lof(int32_t n) {
    special_handle_struct* h = special_handle_of(n);
    if (h && h->kind == special_kind_stream) {
        stream_struct* s = special_stream(h);
        stream_update(s);
        return s->buffered;
    }
    if (h && h->kind == special_kind_http) {
        uint64_t length = 0;
        if (libzv_http_get_content_length(~n, &length) != 0) return -1;
        return length > uint64_t(INT64_MAX) ? INT64_MAX : int64_t(length);
    }
    error(ERR_BAD_FILE_NAME_OR_NUMBER);
    return 0;
}

int32_t net_file_eof(int32_t n) {
    special_handle_struct* h = special_handle_of(n);
    if (h && h->kind == special_kind_stream) return special_stream(h)->eof ? -1 : 0;
    if (h && h->kind == special_kind_http) {
        if (h->value == http_get_failed) return -1;
        if (h->value == http_get_succeeded) return 0;
        if (libzv_http_connected(~n)) return 0;
        uint32_t count = 0;
        libzv_http_get_length(~n, &count);
        return count == 0 ? -1 : 0;
    }
    error(ERR_BAD_FILE_NAME_OR_NUMBER);
    return 0;
}

void net_file_close(int32_t n) {
    if (n >= 0) return;
    connection_close(~n);
}

void net_file_close_all() {
    int32_t debug_link = traxelHandle();
    for (int32_t h = 1; h <= net_highest_handle(); h++) {
        if (debug_link > 0 && h == debug_link) continue;
        connection_close(h);
    }
}
