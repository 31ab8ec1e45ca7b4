// libzv_buffer: the chunked byte FIFO.
#include "support/byte_queue.h"

#include <cstring>

void libzv_buffer_init(libzv_buffer* b) {
    b->length = 0;
    b->read_offset = 0;
    b->head = nullptr;
    b->tail = &b->head;
}

void libzv_buffer_clear(libzv_buffer* b) {
    libzv_buffer_chunk* c = b->head;
    while (c) {
        libzv_buffer_chunk* next = c->next;
        delete[] c->data;
        delete c;
        c = next;
    }
    libzv_buffer_init(b);
}

int32_t libzv_buffer_length(const libzv_buffer* b) { return b->length; }

void libzv_buffer_write(libzv_buffer* b, const void* source, int32_t n) {
    if (n <= 0) return;
    auto* c = new libzv_buffer_chunk;
    c->length = n;
    c->data = new uint8_t[size_t(n)];
    memcpy(c->data, source, size_t(n));
    c->next = nullptr;
    *b->tail = c;
    b->tail = &c->next;
    b->length += n;
}

int32_t libzv_buffer_read(libzv_buffer* b, void* destination, int32_t n) {
    if (n <= 0) return 0;
    auto* out = static_cast<uint8_t*>(destination);
    int32_t done = 0;
    while (done < n && b->head) {
        libzv_buffer_chunk* c = b->head;
        int32_t take = c->length - b->read_offset;
        if (take > n - done) take = n - done;
        memcpy(out + done, c->data + b->read_offset, size_t(take));
        done += take;
        b->read_offset += take;
        if (b->read_offset == c->length) {
            b->head = c->next;
            b->read_offset = 0;
            delete[] c->data;
            delete c;
        }
    }
    // The last chunk gone: the tail link is the head pointer again.
    if (!b->head) b->tail = &b->head;
    b->length -= done;
    return done;
}
