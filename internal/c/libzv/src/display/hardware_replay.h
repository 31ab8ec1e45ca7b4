// The window thread's walk over the hardware command list: which commands a display
// callback runs, in which layer, and the bookkeeping that lets the program thread
// retire them. The GL work itself is the renderer's, handed in as an executor.
#pragma once
#include <cstdint>

#include "image/hardware_image.h"

// Layer values: 0 the hardware layer, -1 the second hardware layer. A callback that
// drew neither replays once with HARDWARE_LAYER_NONE after its layers, so that frees
// and work aimed at hardware images still run.
constexpr int32_t HARDWARE_LAYER_MAIN = 0;
constexpr int32_t HARDWARE_LAYER_SECOND = -1;
constexpr int32_t HARDWARE_LAYER_NONE = -2;

// What the renderer does with the commands it is given (window thread).
struct hardware_command_executor {
    void* context;
    // Kinds 1 put, 4 and 5 triangles, 6 depth-buffer clear; their source and
    // destination images are present in the list.
    void (*execute)(void* context, const hardware_graphics_command* command);
    // Kind 3: release the image with this list index (free_hardware_img).
    void (*free_image)(void* context, int32_t index);
};

// One display callback's walk; a fresh one for every callback.
struct hardware_replay_callback {
    int32_t layers_replayed = 0;
    bool halted = false;      // the list was found broken: nothing more runs
    int32_t frame_start = 0;  // first command of the frame shown, 0 when none
    bool drew_on_screen = false;  // a command of the frame shown was aimed at a layer
};

// Replays one hardware layer for the frame order shown. The first layer of a
// callback first catches up on older frames (frees and work aimed at hardware
// images run, layer work of skipped frames is dropped) and runs the shown frame's
// frees and image work; every layer runs the shown frame's commands aimed at it.
// Every command walked is marked rendered and published in
// last_hardware_command_rendered (next_hardware_command_to_remove on the first walk).
void hardware_commands_replay(hardware_replay_callback& walk, int64_t frame_order, int32_t layer,
                              const hardware_command_executor& executor);

// True when a replay for this frame order would find work: the command after the
// last one rendered exists and is stamped with this order or an older one (also
// when the list is broken, so that the replay reports it).
bool hardware_commands_waiting(int64_t frame_order);
