// Shared parts of the renderer: the cache and the batch, for its own files only.
#pragma once
#include <cstdint>

#include "display/renderer.h"
#include "image/hardware_image.h"

// The cache, writable.
render_state& renderer_cache();
// Appends one triangle: three vertices of two (2D) or three (3D) floats each and
// three pairs of texture coordinates.
void renderer_append_2d(const float vertices[6], const float texcoords[6]);
void renderer_append_3d(const float vertices[9], const float texcoords[6]);
// Another texture was bound (upload, depth texture): the batch is drawn and the
// cached source forgotten.
void renderer_forget_source();
// An image's GL names are about to be deleted: cache entries naming it are forgotten.
void renderer_forget_image(int32_t index);
// Clears the depth buffer of the current destination with depth writes on, then
// puts back the mask of the cached depth mode.
void renderer_clear_depth();
// Texture size used for texture coordinates: the padded size when padded.
void renderer_texture_size(const hardware_img_struct* hw, float* width, float* height);
// Start values of the kept window picture (no copy, no texture name).
void renderer_keep_reset();
