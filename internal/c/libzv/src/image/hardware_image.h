// Hardware images and hardware drawing commands as data: the records, their handle
// range and the command kinds. No GL here; image code includes this.
#pragma once
#include <cstdint>

// Handles from HARDWARE_IMG_HANDLE_OFFSET up to (excluding) SOFTWARE_IMG_HANDLE_MIN
// name hardware images: the offset plus the 1-based list index. Every other negative
// handle is a software image.
constexpr int32_t HARDWARE_IMG_HANDLE_OFFSET = -16777216;
constexpr int32_t SOFTWARE_IMG_HANDLE_MIN = -8388608;

constexpr bool hardware_img_handle_in_range(int32_t handle) {
    return handle >= HARDWARE_IMG_HANDLE_OFFSET && handle < SOFTWARE_IMG_HANDLE_MIN;
}
constexpr int32_t get_hardware_img_index(int32_t handle) { return handle - HARDWARE_IMG_HANDLE_OFFSET; }

// A texture-backed image. Plain data: words that another thread reads (valid,
// alpha_disabled) are accessed through std::atomic_ref.
struct hardware_img_struct {
    int32_t w, h;
    uint32_t texture;        // GL texture name, 0 until the first upload
    uint32_t dest_context_handle;  // framebuffer object, 0 until first a destination
    uint32_t depthbuffer_handle;   // depth texture, 0 until first needed
    uint32_t* software_pixel_buffer;  // w x h pixels 0xAARRGGBB, held until the upload
    int32_t alpha_disabled;  // 1 after _DONTBLEND
    int32_t depthbuffer_mode;  // 1 on (initial), 0 off, 2 locked
    int32_t valid;             // 1 from creation until _FREEIMAGE
    // Texture state the renderer points at.
    int32_t smooth_shrunk;   // -1 unknown, 0 off, 1 on
    int32_t smooth_stretched;
    int32_t texture_wrap;    // -1 unknown, 0 clamp to edge, 1 repeat
    int32_t PO2_fix;         // 0 none, 1 padded to powers of two, 2 mipmaps
    int32_t render_state;    // destination-state word
    int32_t PO2_w, PO2_h;    // padded size
};

enum hardware_command_kind : int64_t {
    HARDWARE_COMMAND_PUT = 1,
    HARDWARE_COMMAND_FREE_REQUEST = 2,
    HARDWARE_COMMAND_FREE = 3,
    HARDWARE_COMMAND_TRIANGLE_2D = 4,
    HARDWARE_COMMAND_TRIANGLE_3D = 5,
    HARDWARE_COMMAND_CLEAR_DEPTHBUFFER = 6,
};

// One queued drawing command, stamped with the frame order it belongs to.
struct hardware_graphics_command {
    int64_t order;
    int32_t next_command;  // list handle of the next command, 0 for the last
    int64_t command;       // hardware_command_kind
    int32_t src_img;       // hardware image list index drawn from or freed
    int32_t dst_img;       // 0 hardware layer, -1 second hardware layer, >0 an image
    float src_x1, src_y1, src_x2, src_y2, src_x3, src_y3;
    float dst_x1, dst_y1, dst_z1, dst_x2, dst_y2, dst_z2, dst_x3, dst_y3, dst_z3;
    int32_t smooth;
    int32_t cull_mode;
    int32_t depthbuffer_mode;
    int32_t use_alpha;
    int32_t remove;  // rendered: 1 once the renderer ran it
};
