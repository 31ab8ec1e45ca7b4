// Textures of hardware images: upload (plain, padded to powers of two, or as
// mipmaps), depth textures, and the release of an image's GL names.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "display/renderer.h"
#include "display/renderer_gl.h"
#include "display/renderer_internal.h"
#include "image/hardware_queue.h"
#include "platform/alert.h"

namespace {

// Scratch pixels of the power-of-two copy; reused and only grown.
uint32_t* NPO2_buffer = nullptr;
int64_t NPO2_buffer_size_in_pixels = 1;

void clear_gl_errors() {
    // A lost context can report errors for ever; a few reads clear any real backlog.
    for (int32_t i = 0; i < 16 && gl().get_error() != GL_NO_ERROR; i++) {
    }
}

// The image copied into the scratch buffer at a row pitch of pw, with the last column
// and row repeated once beyond the image; null when the scratch cannot be had.
const uint32_t* NPO2_texture_generate(const uint32_t* pixels, int32_t w, int32_t h, int32_t pw, int32_t ph) {
    if (pw == w && ph == h) return pixels;
    int64_t needed = int64_t{pw} * ph;
    if (needed > NPO2_buffer_size_in_pixels || !NPO2_buffer) {
        auto* grown = static_cast<uint32_t*>(malloc(static_cast<size_t>(needed) * 4));
        if (!grown) return nullptr;
        free(NPO2_buffer);
        NPO2_buffer = grown;
        NPO2_buffer_size_in_pixels = needed;
    }
    for (int32_t y = 0; y < h; y++) {
        uint32_t* row = NPO2_buffer + static_cast<size_t>(y) * pw;
        memcpy(row, pixels + static_cast<size_t>(y) * w, static_cast<size_t>(w) * 4);
        if (w < pw) row[w] = row[w - 1];
    }
    if (h < ph) {
        uint32_t* below = NPO2_buffer + static_cast<size_t>(h) * pw;
        memcpy(below, below - pw, static_cast<size_t>(w < pw ? w + 1 : w) * 4);
    }
    return NPO2_buffer;
}

// Loads pixels into a new texture of the image (bound on return).
void upload(hardware_img_struct* hw, const uint32_t* pixels) {
    const renderer_gl& g = gl();
    // The batch uses the bound texture: it is drawn before another one is bound.
    renderer_forget_source();
    GLuint texture = 0;
    g.gen_textures(1, &texture);
    g.bind_texture(GL_TEXTURE_2D, texture);
    hw->texture = texture;
    clear_gl_errors();

    bool forced = force_NPO2_fix.load(std::memory_order_relaxed) != 0;
    GLenum failed = GL_NO_ERROR;
    if (!forced) {
        g.tex_image_2d(GL_TEXTURE_2D, 0, GL_RGBA, hw->w, hw->h, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
        failed = g.get_error();
    }
    if (failed != GL_NO_ERROR || forced) {
        hw->PO2_fix = 1;
        int32_t pw = next_power_of_two(hw->w), ph = next_power_of_two(hw->h);
        GLint max_size = 0;
        g.get_integerv(GL_MAX_TEXTURE_SIZE, &max_size);
        // A padded copy the GL refuses for its size is not worth making.
        const uint32_t* padded = pw <= max_size && ph <= max_size && pw > 0 && ph > 0
                                     ? NPO2_texture_generate(pixels, hw->w, hw->h, pw, ph)
                                     : nullptr;
        failed = GL_INVALID_VALUE;
        if (padded) {
            g.tex_image_2d(GL_TEXTURE_2D, 0, GL_RGBA, pw, ph, 0, GL_BGRA, GL_UNSIGNED_BYTE, padded);
            failed = g.get_error();
            hw->PO2_w = pw;
            hw->PO2_h = ph;
        }
    }
    if (failed != GL_NO_ERROR) {
        GLint result = g.build_2d_mipmaps(GL_TEXTURE_2D, GL_RGBA, hw->w, hw->h, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
        if (result) {
            char text[64];
            snprintf(text, sizeof text, "gluBuild2DMipmaps failed: %i", result);
            gui_alert(text, "Error", "ok");
        }
        hw->PO2_fix = 2;
        hw->PO2_w = hw->w;
        hw->PO2_h = hw->h;
    }
}

// Images created with flags 0 are uploaded from the creator's pixels at once.
void upload_new(int32_t index, const uint32_t* pixels) {
    if (hardware_img_struct* hw = hardware_img_at(index)) upload(hw, pixels);
}

}  // namespace

int32_t next_power_of_two(int32_t n) {
    uint32_t v = static_cast<uint32_t>(n) - 1;
    v |= v >> 1;
    v |= v >> 2;
    v |= v >> 4;
    v |= v >> 8;
    v |= v >> 16;
    return static_cast<int32_t>(v + 1);
}

void hardware_img_buffer_to_texture(int32_t index) {
    hardware_img_struct* hw = hardware_img_at(index);
    if (!hw || hw->texture) return;
    upload(hw, hw->software_pixel_buffer);
    // The record's own copy is no longer needed once the texture holds it.
    free(hw->software_pixel_buffer);
    hw->software_pixel_buffer = nullptr;
}

void free_hardware_img(int32_t index) {
    hardware_img_struct* hw = hardware_img_at(index);
    if (!hw) {
        gui_alert("free_hardware_img: image does not exist", "Error", "ok");
        return;
    }
    // The next image may get the same index: the cache must not think it bound.
    renderer_forget_image(index);
    const renderer_gl& g = gl();
    if (hw->dest_context_handle) g.delete_framebuffers(1, &hw->dest_context_handle);
    if (hw->depthbuffer_handle) g.delete_textures(1, &hw->depthbuffer_handle);
    if (hw->texture) g.delete_textures(1, &hw->texture);
    hardware_img_remove(index);
}

void hardware_img_requires_depthbuffer(int32_t index) {
    hardware_img_struct* hw = hardware_img_at(index);
    if (!hw || hw->depthbuffer_handle) return;
    const renderer_gl& g = gl();
    renderer_forget_source();
    GLuint depth = 0;
    g.gen_textures(1, &depth);
    g.bind_texture(GL_TEXTURE_2D, depth);
    g.tex_image_2d(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, hw->w, hw->h, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE,
                   nullptr);
    g.tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    g.tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    g.tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    g.tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    g.tex_parameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_INTENSITY);
    g.tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);
    g.tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
    g.framebuffer_texture_2d(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D, depth, 0);
    hw->depthbuffer_handle = depth;
    renderer_clear_depth();
}

void renderer_window_start() {
    renderer_global_init();
    hardware_img_set_uploader(upload_new);
}

void renderer_reset_for_tests() {
    renderer_global_init();
    renderer_keep_reset();
    framebufferobjects_supported.store(true);
    force_NPO2_fix.store(0);
    free(NPO2_buffer);
    NPO2_buffer = nullptr;
    NPO2_buffer_size_in_pixels = 1;
    hardware_img_set_uploader(upload_new);
}
