// _DEPTHBUFFER and the depth-buffer modes of the two hardware layers.
#include "draw/depthbuffer.h"

#include "error/error.h"
#include "image/hardware_queue.h"

namespace {

// Program thread only: a triangle command carries the mode current when queued.
int32_t screen_layer_mode = DEPTHBUFFER_ON;
int32_t second_layer_mode = DEPTHBUFFER_ON;

int32_t* mode_word(int32_t destination) {
    if (destination == 0) return &screen_layer_mode;
    if (destination == -1) return &second_layer_mode;
    hardware_img_struct* hw = hardware_img_at(destination);
    return hw ? &hw->depthbuffer_mode : nullptr;
}

}  // namespace

int32_t depthbuffer_mode_of(int32_t destination) {
    int32_t* word = mode_word(destination);
    return word ? *word : DEPTHBUFFER_ON;
}

void sub__depthbuffer(int32_t mode, int32_t target, int32_t passed) {
    if (new_error_is_set()) return;
    if (!(passed & 1)) target = 0;
    int32_t destination;
    if (target < 0) {
        // A freed image stays listed until the renderer drops it: only valid ones.
        if (!get_hardware_img(target)) {
            error(ERR_INVALID_HANDLE);
            return;
        }
        destination = get_hardware_img_index(target);
    } else if (target == 0 || target == 1) {
        destination = target == 0 ? 0 : -1;
    } else {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (mode == 4) {
        flush_old_hardware_commands();
        int32_t handle = hardware_command_new();
        if (!handle) return;
        hardware_graphics_command* c = hardware_command_at(handle);
        c->command = HARDWARE_COMMAND_CLEAR_DEPTHBUFFER;
        c->dst_img = destination;
        c->remove = 0;
        c->next_command = 0;
        hardware_command_queue(handle);
        return;
    }
    *mode_word(destination) = mode == 2 ? DEPTHBUFFER_OFF : mode == 3 ? DEPTHBUFFER_LOCKED : DEPTHBUFFER_ON;
}

void depthbuffer_reset_for_tests() {
    screen_layer_mode = DEPTHBUFFER_ON;
    second_layer_mode = DEPTHBUFFER_ON;
}
