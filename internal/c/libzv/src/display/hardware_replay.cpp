// Replay of the hardware command list: catch-up, the shown frame's layer passes and
// the rendered bookkeeping.
#include "display/hardware_replay.h"

#include <atomic>
#include <cstdio>

#include "image/hardware_queue.h"
#include "platform/alert.h"

namespace {

bool draws(int64_t kind) {
    return kind == HARDWARE_COMMAND_PUT || kind == HARDWARE_COMMAND_TRIANGLE_2D || kind == HARDWARE_COMMAND_TRIANGLE_3D ||
           kind == HARDWARE_COMMAND_CLEAR_DEPTHBUFFER;
}

// A command naming an image that is no longer in the list (a put queued behind the
// free of its destination) is passed over.
bool images_present(const hardware_graphics_command* c) {
    if (c->command != HARDWARE_COMMAND_CLEAR_DEPTHBUFFER && !hardware_img_at(c->src_img)) return false;
    return c->dst_img <= 0 || hardware_img_at(c->dst_img);
}

void run(const hardware_graphics_command* c, const hardware_command_executor& executor) {
    if (c->command == HARDWARE_COMMAND_FREE) {
        executor.free_image(executor.context, c->src_img);
    } else if (images_present(c)) {
        executor.execute(executor.context, c);
    }
}

// Marks a walked command; the program thread may retire what lies behind the
// published one. A later layer walking the shown frame again leaves the mark where
// it is, so that it never moves backwards.
void mark_rendered(int32_t handle, hardware_graphics_command* c) {
    std::atomic_ref<int32_t> rendered(c->remove);
    if (rendered.load(std::memory_order_relaxed)) return;
    rendered.store(1, std::memory_order_relaxed);
    int32_t none = 0;
    next_hardware_command_to_remove.compare_exchange_strong(none, handle, std::memory_order_acq_rel);
    last_hardware_command_rendered.store(handle, std::memory_order_release);
}

int32_t next_of(hardware_graphics_command* c) {
    return std::atomic_ref<int32_t>(c->next_command).load(std::memory_order_acquire);
}

void command_missing(int32_t handle, int64_t frame_order) {
    int64_t oldest = 0;
    if (hardware_graphics_command* c = hardware_command_at(next_hardware_command_to_remove.load()))
        oldest = c->order;
    char text[160];
    snprintf(text, sizeof text, "Renderer: Command does not exist: command = %i, hgcx->order = %lld, order = %lld",
             handle, static_cast<long long>(oldest), static_cast<long long>(frame_order));
    gui_alert(text, "Error", "ok");
}

}  // namespace

bool hardware_commands_waiting(int64_t frame_order) {
    int32_t handle;
    if (int32_t rendered = last_hardware_command_rendered.load(std::memory_order_acquire)) {
        hardware_graphics_command* last = hardware_command_at(rendered);
        if (!last) return true;
        handle = next_of(last);
    } else {
        handle = first_hardware_command.load(std::memory_order_acquire);
    }
    if (!handle) return false;
    const hardware_graphics_command* c = hardware_command_at(handle);
    return !c || c->order <= frame_order;
}

void hardware_commands_replay(hardware_replay_callback& walk, int64_t frame_order, int32_t layer,
                              const hardware_command_executor& executor) {
    bool first = walk.layers_replayed++ == 0;
    if (walk.halted) return;

    if (first) {
        int32_t handle;
        if (int32_t rendered = last_hardware_command_rendered.load(std::memory_order_acquire)) {
            hardware_graphics_command* last = hardware_command_at(rendered);
            if (!last) {
                gui_alert("Rendering: Last HGC is NULL!", "Error", "ok");
                walk.halted = true;
                return;
            }
            handle = next_of(last);
        } else {
            handle = first_hardware_command.load(std::memory_order_acquire);
        }
        // Catch-up: commands of frames older than the one shown.
        while (handle) {
            hardware_graphics_command* c = hardware_command_at(handle);
            if (!c) {
                command_missing(handle, frame_order);
                walk.halted = true;
                return;
            }
            if (c->order >= frame_order) break;
            if (c->command == HARDWARE_COMMAND_FREE || (draws(c->command) && c->dst_img > 0)) run(c, executor);
            mark_rendered(handle, c);
            handle = next_of(c);
        }
        walk.frame_start = handle;
    }

    for (int32_t handle = walk.frame_start; handle;) {
        hardware_graphics_command* c = hardware_command_at(handle);
        if (!c) {
            command_missing(handle, frame_order);
            walk.halted = true;
            return;
        }
        if (c->order != frame_order) break;
        bool runs = false;
        if (c->command == HARDWARE_COMMAND_FREE)
            runs = first;
        else if (draws(c->command))
            runs = c->dst_img > 0 ? first : c->dst_img == layer;
        if (runs) {
            run(c, executor);
            if (c->dst_img <= 0) walk.drew_on_screen = true;
        }
        mark_rendered(handle, c);
        handle = next_of(c);
    }
}
