// Hardware image records, the hardware command queue and its retirement.
#include "image/hardware_queue.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

#include "display/display.h"
#include "list/list.h"

namespace {

// Hardware images: added by the program thread, removed by the window thread.
list* hardware_img_handles = nullptr;
// Commands: added and removed by the program thread, read by the window thread.
list* hardware_graphics_command_handles = nullptr;
// Highest image index handed out (program thread): the range the test reset frees.
int32_t highest_hardware_img = 0;

std::atomic<hardware_img_uploader> uploader{nullptr};

// A hardware handle is the offset plus the index, below the software handle range.
constexpr int32_t max_hardware_img_index = SOFTWARE_IMG_HANDLE_MIN - HARDWARE_IMG_HANDLE_OFFSET - 1;

}  // namespace

std::atomic<int32_t> first_hardware_command{0};
std::atomic<int32_t> last_hardware_command_added{0};
std::atomic<int32_t> last_hardware_command_rendered{0};
std::atomic<int32_t> next_hardware_command_to_remove{0};

void hardware_images_global_init() {
    if (hardware_img_handles) return;
    hardware_img_handles = list_new_threadsafe(sizeof(hardware_img_struct));
    hardware_graphics_command_handles = list_new(sizeof(hardware_graphics_command));
}

void hardware_images_reset_for_tests() {
    if (hardware_img_handles) {
        for (int32_t i = 1; i <= highest_hardware_img; i++)
            if (hardware_img_struct* hw = hardware_img_at(i)) free(hw->software_pixel_buffer);
        list_destroy(hardware_img_handles);
        list_destroy(hardware_graphics_command_handles);
        hardware_img_handles = hardware_graphics_command_handles = nullptr;
    }
    highest_hardware_img = 0;
    hardware_images_global_init();
    first_hardware_command = last_hardware_command_added = 0;
    last_hardware_command_rendered = next_hardware_command_to_remove = 0;
    uploader.store(nullptr);
}

hardware_img_struct* get_hardware_img(int32_t handle) {
    if (!hardware_img_handle_in_range(handle)) return nullptr;
    hardware_img_struct* hw = hardware_img_at(get_hardware_img_index(handle));
    if (!hw || !std::atomic_ref<int32_t>(hw->valid).load(std::memory_order_acquire)) return nullptr;
    return hw;
}

hardware_img_struct* hardware_img_at(int32_t index) {
    return static_cast<hardware_img_struct*>(list_get(hardware_img_handles, index));
}

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
    int32_t index = list_add(hardware_img_handles);
    if (index > max_hardware_img_index) {
        // No handle left for it: as when memory runs out.
        list_remove(hardware_img_handles, index);
        if (flags & 2) free(buffer);
        return 0;
    }
    if (index > highest_hardware_img) highest_hardware_img = index;
    hardware_img_struct* hw = hardware_img_at(index);
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
    hardware_img_struct* hw = hardware_img_at(index);
    if (!hw) return;
    free(hw->software_pixel_buffer);
    hw->software_pixel_buffer = nullptr;
    list_remove(hardware_img_handles, index);
}

void hardware_img_set_uploader(hardware_img_uploader upload) { uploader.store(upload, std::memory_order_release); }

hardware_graphics_command* hardware_command_at(int32_t handle) {
    return static_cast<hardware_graphics_command*>(list_get(hardware_graphics_command_handles, handle));
}

int32_t hardware_command_new() { return list_add(hardware_graphics_command_handles); }

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
        list_remove(hardware_graphics_command_handles, handle);
    }
}
