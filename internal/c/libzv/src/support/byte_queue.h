// A byte FIFO built of heap chunks, one per write.
#pragma once
#include <cstdint>

struct libzv_buffer_chunk {
    int32_t length;
    uint8_t* data;  // heap copy of the written bytes
    libzv_buffer_chunk* next;
};

struct libzv_buffer {
    int32_t length;               // bytes held
    int32_t read_offset;          // bytes already read from the head chunk
    libzv_buffer_chunk* head;
    libzv_buffer_chunk** tail;    // the last chunk's next, or &head when empty
};

void libzv_buffer_init(libzv_buffer* b);
// Frees every chunk and starts again empty.
void libzv_buffer_clear(libzv_buffer* b);
int32_t libzv_buffer_length(const libzv_buffer* b);
// Appends a copy of n bytes; n <= 0 appends nothing.
void libzv_buffer_write(libzv_buffer* b, const void* source, int32_t n);
// Moves up to n bytes out in FIFO order and answers how many; 0 when empty or n <= 0.
int32_t libzv_buffer_read(libzv_buffer* b, void* destination, int32_t n);
