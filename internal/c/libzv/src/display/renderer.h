// The hardware renderer: textured rectangles and triangles with OpenGL 1.1 fixed
// function on the window thread, through a cache of the GL state it last set and a
// batch of vertices drawn only when some state must change or a caller flushes.
#pragma once
#include <atomic>
#include <cstdint>

#include "display/hardware_replay.h"

// Non-zero when the GL offers framebuffer objects (set when the window starts).
extern std::atomic<bool> framebufferobjects_supported;
// 1: every upload goes straight to the power-of-two copy (0 in this system).
extern std::atomic<int32_t> force_NPO2_fix;

// The GL state the renderer last set; -1 is unknown (or none).
struct render_state {
    int32_t* dest_handle;    // the window's destination-state word, or the image's
    int32_t* source_handle;  // texture-state words of the source image
    int32_t dest;            // 0 the window, above 0 a hardware image list index
    int32_t source;          // a hardware image list index
    int32_t view;            // 0 none, 1 2D, 2 3D
    int32_t use_alpha;       // 0 blending off, 1 on
    int32_t depthbuffer_mode;  // 0 off, 1 on, 2 locked (test, no write)
    int32_t cull_mode;       // 0 off, 1 and 2 the two windings
};

// Start values of the cache and an empty batch.
void renderer_global_init();
// At window start, once GL exists: framebuffer support and the upload of images
// created with their texture at once.
void renderer_window_start();
// Start values, and the uploader installed (tests with a recording GL).
void renderer_reset_for_tests();
const render_state& renderer_state();
// Floats of vertices and of texture coordinates waiting in the batch.
int32_t renderer_batch_vertex_floats();
int32_t renderer_batch_texcoord_floats();
const float* renderer_batch_vertices();
const float* renderer_batch_texcoords();

// State setters: each returns at once when its cached word already holds the value;
// otherwise it draws the batch, makes the GL calls and stores the value.
void hardware_buffer_flush();
void set_render_dest(int32_t dest);        // 0 the window, above 0 an image, -1 forget
void set_render_source(int32_t source);    // an image, -1 forget
void set_view(int32_t view);               // 1 2D, 2 3D, 3 full reset, 0 stored only
void set_smooth(int32_t minify, int32_t magnify);
void set_texture_wrap(int32_t wrap);       // 0 clamp to edge, 1 repeat
void set_alpha(int32_t use_alpha);
void set_depthbuffer(int32_t mode);
void set_cull_mode(int32_t mode);

// Primitives. Destinations: 0 (or below) the window in screen coordinates, above 0
// a hardware image in its own pixels. Sources are hardware image list indices.
void hardware_img_put(int32_t dx1, int32_t dy1, int32_t dx2, int32_t dy2, int32_t source, int32_t dest,
                      int32_t sx1, int32_t sy1, int32_t sx2, int32_t sy2, int32_t use_alpha, int32_t smooth);
void hardware_img_tri2d(float dx1, float dy1, float dx2, float dy2, float dx3, float dy3, int32_t source,
                        int32_t dest, float sx1, float sy1, float sx2, float sy2, float sx3, float sy3,
                        int32_t use_alpha, int32_t smooth);
void hardware_img_tri3d(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3, float z3,
                        int32_t source, int32_t dest, float sx1, float sy1, float sx2, float sy2, float sx3,
                        float sy3, int32_t use_alpha, int32_t smooth, int32_t cull_mode, int32_t depth_mode);
void clear_depthbuffer(int32_t dest);
// Makes the window the destination and clears its colour and depth buffers.
void renderer_clear_window();

// The window's picture kept beside it: hardware drawing is replayed once, so a window
// that loses its contents gets them back from this copy (renderer_keep.cpp).
// Copies the w x h picture just drawn, before it is swapped in.
void renderer_keep_window(int32_t w, int32_t h);
// Draws the kept picture again; false when none of that size is kept.
bool renderer_restore_window(int32_t w, int32_t h);
// The picture on screen is not the kept one any more (one without hardware drawing
// is simply drawn again).
void renderer_forget_kept_window();

// Textures of hardware images.
int32_t next_power_of_two(int32_t n);
// Uploads the software pixels of an image that has no texture yet.
void hardware_img_buffer_to_texture(int32_t index);
// Releases an image's framebuffer, depth texture and texture, and its list entry.
void free_hardware_img(int32_t index);
// Gives an image that is the render destination a depth texture on first need.
void hardware_img_requires_depthbuffer(int32_t index);

// Runs replayed hardware commands through the primitives above.
hardware_command_executor renderer_command_executor();
