// Slot lists: records in blocks that never move, an index from handle to record,
// and a stack of freed handles.
#include "list/list.h"

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/alert.h"
#include "platform/process_exit.h"
#include "thread/thread.h"

static_assert(alignof(std::max_align_t) >= 16, "blocks from calloc must be 16-byte aligned");

struct list {
    int32_t element_size;
    int32_t handle_offset;   // where the record's handle word sits: after the record, 4-aligned
    int32_t stride;          // a multiple of 16, so every record stays 16-byte aligned
    uint8_t* block;          // current storage block; slot 0 unused
    int64_t block_count;     // slots used in the current block
    int64_t block_capacity;  // usable slots of the current block
    int32_t* free_stack;     // freed handles, used from index 1
    int32_t* free_stack_previous;
    int64_t free_count;
    int64_t free_capacity;
    uint8_t* blocks[63];
    int32_t block_total;
    // Handle -> record (entry 0 unused). Published with release; readers acquire.
    std::atomic<uint8_t**> index;
    // Replaced tables live until list_destroy: a reader delayed across several
    // growths may still be reading one of them.
    uint8_t** retired_indexes[40];
    int32_t retired_count;
    std::atomic<int32_t> highest;
    int64_t index_capacity;
    libzv_mutex* add_lock;     // thread-safe lists only
    libzv_mutex* remove_lock;
};

namespace {

constexpr int64_t max_handle = INT32_MAX;

int64_t round_up(int64_t n, int64_t to) { return (n + to - 1) / to * to; }

std::atomic_ref<int32_t> handle_word(const list* l, const void* record) {
    auto* p = static_cast<uint8_t*>(const_cast<void*>(record)) + l->handle_offset;
    return std::atomic_ref<int32_t>(*reinterpret_cast<int32_t*>(p));
}

void lock(libzv_mutex* m) {
    if (m) libzv_mutex_lock(m);
}

void unlock(libzv_mutex* m) {
    if (m) libzv_mutex_unlock(m);
}

[[noreturn]] void allocation_failed(const list* l) {
    char text[96];
    snprintf(text, sizeof text, "list_add: failed to allocate new buffer, structure size: %lld",
             static_cast<long long>(l->stride));
    gui_alert(text, "Alert", "ok");
    libzv_process_exit(0);
}

void* zeroed(const list* l, int64_t count, int64_t size) {
    if (count <= 0 || count > INT64_MAX / size) allocation_failed(l);
    void* p = calloc(size_t(count), size_t(size));
    if (!p) allocation_failed(l);
    return p;
}

void next_block(list* l) {
    int64_t capacity = l->block_capacity * 2 + 1;
    if (l->block_total == int32_t(sizeof l->blocks / sizeof l->blocks[0])) allocation_failed(l);
    auto* block = static_cast<uint8_t*>(zeroed(l, capacity + 1, l->stride));
    l->blocks[l->block_total++] = block;
    l->block = block;
    l->block_count = 0;
    l->block_capacity = capacity;
}

void make_index_room(list* l, int64_t handle) {
    if (handle <= l->index_capacity) return;
    int64_t capacity = l->index_capacity * 2 + 1;
    if (capacity < handle) capacity = handle;
    auto** table = static_cast<uint8_t**>(zeroed(l, capacity + 1, sizeof(uint8_t*)));
    uint8_t** old = l->index.load(std::memory_order_relaxed);
    if (old) {
        memcpy(table, old, size_t(l->index_capacity + 1) * sizeof(uint8_t*));
        l->retired_indexes[l->retired_count++] = old;
    }
    l->index_capacity = capacity;
    l->index.store(table, std::memory_order_release);
}

void push_free(list* l, int32_t handle) {
    if (l->free_count == l->free_capacity) {
        int64_t capacity = l->free_capacity * 2 + 1;
        auto* stack = static_cast<int32_t*>(zeroed(l, capacity + 1, sizeof(int32_t)));
        if (l->free_stack) memcpy(stack, l->free_stack, size_t(l->free_count + 1) * sizeof(int32_t));
        free(l->free_stack_previous);
        l->free_stack_previous = l->free_stack;
        l->free_stack = stack;
        l->free_capacity = capacity;
    }
    l->free_stack[++l->free_count] = handle;
}

list* make_list(int32_t element_size, bool threadsafe) {
    auto* l = new list{};
    if (element_size < 0) element_size = 0;
    l->element_size = element_size;
    l->handle_offset = int32_t(round_up(element_size, 4));
    l->stride = int32_t(round_up(int64_t(l->handle_offset) + 4, 16));
    if (threadsafe) {
        l->add_lock = libzv_mutex_new();
        l->remove_lock = libzv_mutex_new();
    }
    return l;
}

}  // namespace

list* list_new(int32_t element_size) { return make_list(element_size, false); }

list* list_new_threadsafe(int32_t element_size) { return make_list(element_size, true); }

int32_t list_add(list* l) {
    lock(l->add_lock);
    lock(l->remove_lock);
    if (l->free_count > 0) {
        int32_t handle = l->free_stack[l->free_count--];
        uint8_t* record = l->index.load(std::memory_order_relaxed)[handle];
        memset(record, 0, size_t(l->element_size));
        handle_word(l, record).store(handle, std::memory_order_release);
        unlock(l->remove_lock);
        unlock(l->add_lock);
        return handle;
    }
    unlock(l->remove_lock);

    int64_t handle = int64_t(l->highest.load(std::memory_order_relaxed)) + 1;
    if (handle > max_handle) allocation_failed(l);
    if (l->block_count == l->block_capacity) next_block(l);
    uint8_t* record = l->block + ++l->block_count * l->stride;
    handle_word(l, record).store(int32_t(handle), std::memory_order_relaxed);
    make_index_room(l, handle);
    l->index.load(std::memory_order_relaxed)[handle] = record;
    // Publishes the record, its handle word and the index entry to lock-free readers.
    l->highest.store(int32_t(handle), std::memory_order_release);
    unlock(l->add_lock);
    return int32_t(handle);
}

int32_t list_remove(list* l, int32_t handle) {
    if (handle < 1) return 0;
    lock(l->remove_lock);
    int32_t result = 0;
    if (handle <= l->highest.load(std::memory_order_acquire)) {
        uint8_t* record = l->index.load(std::memory_order_acquire)[handle];
        auto word = handle_word(l, record);
        if (word.load(std::memory_order_relaxed) != 0) {
            push_free(l, handle);
            word.store(0, std::memory_order_release);
            result = -1;
        }
    }
    unlock(l->remove_lock);
    return result;
}

void* list_get(list* l, int32_t handle) {
    if (handle < 1 || handle > l->highest.load(std::memory_order_acquire)) return nullptr;
    uint8_t* record = l->index.load(std::memory_order_acquire)[handle];
    if (handle_word(l, record).load(std::memory_order_acquire) == 0) return nullptr;
    return record;
}

int32_t list_get_index(list* l, const void* record) {
    if (!record) return 0;
    return handle_word(l, record).load(std::memory_order_acquire);
}

void list_destroy(list* l) {
    if (!l) return;
    for (int32_t i = 0; i < l->block_total; i++) free(l->blocks[i]);
    free(l->index.load(std::memory_order_relaxed));
    for (int32_t i = 0; i < l->retired_count; i++) free(l->retired_indexes[i]);
    free(l->free_stack);
    free(l->free_stack_previous);
    libzv_mutex_free(l->add_lock);
    libzv_mutex_free(l->remove_lock);
    delete l;
}
