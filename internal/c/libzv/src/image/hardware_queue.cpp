// Hardware image records, the hardware command queue and its retirement.
#include "image/hardware_queue.h"

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#include "display/display.h"

namespace {

// Records with stable addresses and 1-based handles, last freed reused first.
// Lookups take no lock; adds and removes are serialised.
template <class T>
class slot_store {
public:
    void reset() {
        std::lock_guard<std::mutex> hold(*lock_);
        for (auto& c : chunks_) {
            free(c.load(std::memory_order_relaxed));
            c.store(nullptr, std::memory_order_relaxed);
        }
        highest_.store(0);
        free(freed_);
        freed_ = nullptr;
        freed_count_ = freed_capacity_ = 0;
    }
    void init() {
        if (!lock_) lock_ = new std::mutex;
    }
    int32_t add() {
        std::lock_guard<std::mutex> hold(*lock_);
        int32_t handle;
        if (freed_count_) {
            handle = freed_[--freed_count_];
        } else {
            handle = highest_.load(std::memory_order_relaxed) + 1;
            int32_t c = handle / chunk_records;
            if (c >= max_chunks) return 0;
            if (!chunks_[c].load(std::memory_order_relaxed)) {
                auto* chunk = static_cast<slot*>(calloc(chunk_records, sizeof(slot)));
                if (!chunk) return 0;
                chunks_[c].store(chunk, std::memory_order_release);
            }
            highest_.store(handle, std::memory_order_release);
        }
        slot* s = at(handle);
        memset(static_cast<void*>(&s->record), 0, sizeof(T));
        std::atomic_ref<int32_t>(s->handle).store(handle, std::memory_order_release);
        return handle;
    }
    bool remove(int32_t handle) {
        std::lock_guard<std::mutex> hold(*lock_);
        T* r = get(handle);
        if (!r) return false;
        if (freed_count_ == freed_capacity_) {
            int32_t grown = freed_capacity_ * 2 + 16;
            auto* stack = static_cast<int32_t*>(realloc(freed_, sizeof(int32_t) * static_cast<size_t>(grown)));
            if (!stack) return false;
            freed_ = stack;
            freed_capacity_ = grown;
        }
        std::atomic_ref<int32_t>(at(handle)->handle).store(0, std::memory_order_release);
        freed_[freed_count_++] = handle;
        return true;
    }
    T* get(int32_t handle) {
        if (handle < 1 || handle > highest_.load(std::memory_order_acquire)) return nullptr;
        slot* s = at(handle);
        if (std::atomic_ref<int32_t>(s->handle).load(std::memory_order_acquire) != handle) return nullptr;
        return &s->record;
    }
    int32_t highest() const { return highest_.load(std::memory_order_acquire); }

private:
    static constexpr int32_t chunk_records = 1024;
    // Handles stay below the software handle range's size.
    static constexpr int32_t max_chunks = 8192;
    struct slot {
        T record;
        int32_t handle;  // 0 while free
    };
    slot* at(int32_t handle) {
        return &chunks_[handle / chunk_records].load(std::memory_order_acquire)[handle % chunk_records];
    }
    std::atomic<slot*> chunks_[max_chunks]{};
    std::atomic<int32_t> highest_{0};
    int32_t* freed_ = nullptr;
    int32_t freed_count_ = 0, freed_capacity_ = 0;
    std::mutex* lock_ = nullptr;
};

constinit slot_store<hardware_img_struct> hardware_img_handles;
constinit slot_store<hardware_graphics_command> hardware_graphics_command_handles;

std::atomic<hardware_img_uploader> uploader{nullptr};

}  // namespace

std::atomic<int32_t> first_hardware_command{0};
std::atomic<int32_t> last_hardware_command_added{0};
std::atomic<int32_t> last_hardware_command_rendered{0};
std::atomic<int32_t> next_hardware_command_to_remove{0};

void hardware_images_global_init() {
    hardware_img_handles.init();
    hardware_graphics_command_handles.init();
}

void hardware_images_reset_for_tests() {
    hardware_images_global_init();
    for (int32_t i = 1; i <= hardware_img_handles.highest(); i++)
        if (hardware_img_struct* hw = hardware_img_at(i)) free(hw->software_pixel_buffer);
    hardware_img_handles.reset();
    hardware_graphics_command_handles.reset();
    first_hardware_command = last_hardware_command_added = 0;
    last_hardware_command_rendered = next_hardware_command_to_remove = 0;
    uploader.store(nullptr);
}

hardware_img_struct* get_hardware_img(int32_t handle) {
    if (!hardware_img_handle_in_range(handle)) return nullptr;
    hardware_img_struct* hw = hardware_img_handles.get(get_hardware_img_index(handle));
    if (!hw || !std::atomic_ref<int32_t>(hw->valid).load(std::memory_order_acquire)) return nullptr;
    return hw;
}

hardware_img_struct* hardware_img_at(int32_t index) { return hardware_img_handles.get(index); }

int32_t new_hardware_img(int32_t width, int32_t height, void* pixels, int32_t flags) {
    assert(width >= 1 && height >= 1);
    // Flags 0: the pixels stay the caller's; only a buffer the record owns is kept.
    auto* buffer = flags & 1 ? static_cast<uint32_t*>(pixels) : nullptr;
    if (flags & 2) {
        size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
        buffer = static_cast<uint32_t*>(malloc(bytes));
        if (!buffer) return 0;
        memcpy(buffer, pixels, bytes);
    }
    int32_t index = hardware_img_handles.add();
    if (!index) {
        if (flags & 2) free(buffer);
        return 0;
    }
    hardware_img_struct* hw = hardware_img_handles.get(index);
    hw->w = width;
    hw->h = height;
    hw->software_pixel_buffer = buffer;
    hw->depthbuffer_mode = 1;
    hw->smooth_shrunk = hw->smooth_stretched = hw->texture_wrap = -1;
    std::atomic_ref<int32_t>(hw->valid).store(1, std::memory_order_release);
    if (!(flags & 1))
        if (hardware_img_uploader upload = uploader.load(std::memory_order_acquire)) upload(index, static_cast<const uint32_t*>(pixels));
    return index;
}

void hardware_img_remove(int32_t index) {
    hardware_img_struct* hw = hardware_img_handles.get(index);
    if (!hw) return;
    free(hw->software_pixel_buffer);
    hw->software_pixel_buffer = nullptr;
    hardware_img_handles.remove(index);
}

void hardware_img_set_uploader(hardware_img_uploader upload) { uploader.store(upload, std::memory_order_release); }

hardware_graphics_command* hardware_command_at(int32_t handle) { return hardware_graphics_command_handles.get(handle); }

int32_t hardware_command_new() { return hardware_graphics_command_handles.add(); }

void hardware_command_queue(int32_t handle) {
    hardware_graphics_command* c = hardware_command_at(handle);
    c->order = display_frame_order_next.load(std::memory_order_relaxed);
    c->next_command = 0;
    c->remove = 0;
    if (hardware_graphics_command* last = hardware_command_at(last_hardware_command_added.load()))
        std::atomic_ref<int32_t>(last->next_command).store(handle, std::memory_order_release);
    if (!first_hardware_command.load()) first_hardware_command.store(handle, std::memory_order_release);
    last_hardware_command_added.store(handle, std::memory_order_release);
}

namespace {

// A free command (or request) for one hardware image.
void queue_free_command(int64_t kind, int32_t index) {
    int32_t handle = hardware_command_new();
    if (!handle) return;
    hardware_graphics_command* c = hardware_command_at(handle);
    c->command = kind;
    c->src_img = index;
    hardware_command_queue(handle);
}

}  // namespace

void hardware_img_queue_free(int32_t index, hardware_img_struct* hw) {
    flush_old_hardware_commands();
    queue_free_command(HARDWARE_COMMAND_FREE_REQUEST, index);
    std::atomic_ref<int32_t>(hw->valid).store(0, std::memory_order_release);
}

void flush_old_hardware_commands() {
    if (!next_hardware_command_to_remove.load() || !last_hardware_command_rendered.load()) return;
    hardware_graphics_command* rendered = hardware_command_at(last_hardware_command_rendered.load());
    if (!rendered) return;
    for (;;) {
        int32_t handle = next_hardware_command_to_remove.load();
        hardware_graphics_command* c = hardware_command_at(handle);
        if (!c) return;
        int32_t next = std::atomic_ref<int32_t>(c->next_command).load(std::memory_order_acquire);
        hardware_graphics_command* n = hardware_command_at(next);
        if (!n || n->order >= rendered->order) return;
        if (c->command == HARDWARE_COMMAND_FREE_REQUEST) queue_free_command(HARDWARE_COMMAND_FREE, c->src_img);
        next_hardware_command_to_remove.store(next);
        hardware_graphics_command_handles.remove(handle);
    }
}
