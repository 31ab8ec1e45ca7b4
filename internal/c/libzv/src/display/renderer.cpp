// The renderer's GL state cache and its batch of textured triangles.
#include "display/renderer.h"

#include <vector>

#include "display/presenter_environment.h"
#include "display/renderer_gl.h"
#include "display/renderer_internal.h"
#include "image/hardware_queue.h"

std::atomic<bool> framebufferobjects_supported{false};
std::atomic<int32_t> force_NPO2_fix{0};

namespace {

constinit render_state state{nullptr, nullptr, -1, -1, 0, -1, -1, -1};
// The window's destination-state word (bookkeeping only).
int32_t window_render_state = 0;
// The depth mask GL holds now: the cached depth mode decides it, and clears borrow it.
bool depth_writes = true;

std::vector<float> vertices;
std::vector<float> texcoords;

bool fbo() { return framebufferobjects_supported.load(std::memory_order_relaxed); }

// Capacity grows to twice plus what one primitive needs, and never shrinks.
void make_room(std::vector<float>& v, size_t more) {
    if (v.size() + more > v.capacity()) v.reserve(v.capacity() * 2 + more);
}

// The setup 2D and 3D views share; switching between the two keeps it.
void common_view_preparation() {
    const renderer_gl& g = gl();
    g.color4f(1, 1, 1, 1);
    g.disable(GL_COLOR_MATERIAL);
    g.disable(GL_LIGHTING);
    set_alpha(1);
    g.enable(GL_TEXTURE_2D);
    g.enable_client_state(GL_VERTEX_ARRAY);
    g.enable_client_state(GL_TEXTURE_COORD_ARRAY);
    g.cull_face(GL_BACK);
}

// Width and height of the destination: the window's, or the image's.
void destination_size(float* w, float* h) {
    if (state.dest > 0) {
        if (const hardware_img_struct* hw = hardware_img_at(state.dest)) {
            *w = static_cast<float>(hw->w);
            *h = static_cast<float>(hw->h);
            return;
        }
    }
    *w = static_cast<float>(environment__window_width.load(std::memory_order_relaxed));
    *h = static_cast<float>(environment__window_height.load(std::memory_order_relaxed));
}

void view_2d() {
    const renderer_gl& g = gl();
    float w, h;
    destination_size(&w, &h);
    if (state.dest > 0) {
        g.matrix_mode(GL_PROJECTION);
        g.load_identity();
        g.ortho_2d(0, w, 0, h);
        g.matrix_mode(GL_MODELVIEW);
        g.load_identity();
    } else {
        // y runs downward from the top-left corner in window pixels.
        g.matrix_mode(GL_PROJECTION);
        g.load_identity();
        g.ortho(0, w, 0, h, -1, 1);
        g.matrix_mode(GL_MODELVIEW);
        g.load_identity();
        g.scalef(1, -1, 1);
        g.translatef(0, -h, 0);
    }
    g.viewport(0, 0, static_cast<GLsizei>(w), static_cast<GLsizei>(h));
}

void view_3d() {
    const renderer_gl& g = gl();
    float w, h;
    destination_size(&w, &h);
    g.viewport(0, 0, static_cast<GLsizei>(w), static_cast<GLsizei>(h));
    g.matrix_mode(GL_PROJECTION);
    g.load_identity();
    float fov;
    if (state.dest > 0) {
        // Image targets are drawn upside down.
        g.scalef(1, -1, 1);
        fov = w > h ? 90.0f * h / w : 90.0f;
    } else {
        float sw = static_cast<float>(environment_2d__screen_scaled_width.load(std::memory_order_relaxed));
        float sh = static_cast<float>(environment_2d__screen_scaled_height.load(std::memory_order_relaxed));
        fov = sw > sh ? 90.0f * h / sw : 90.0f * h / sh;
    }
    g.perspective(fov, w / h, 0.1, 10000.0);
    g.matrix_mode(GL_MODELVIEW);
    g.load_identity();
}

void apply_depth_mask(bool on) {
    gl().depth_mask(on ? GL_TRUE : GL_FALSE);
    depth_writes = on;
}

}  // namespace

render_state& renderer_cache() { return state; }

const render_state& renderer_state() { return state; }

int32_t renderer_batch_vertex_floats() { return static_cast<int32_t>(vertices.size()); }
int32_t renderer_batch_texcoord_floats() { return static_cast<int32_t>(texcoords.size()); }
const float* renderer_batch_vertices() { return vertices.data(); }
const float* renderer_batch_texcoords() { return texcoords.data(); }

void renderer_global_init() {
    state = {nullptr, nullptr, -1, -1, 0, -1, -1, -1};
    window_render_state = 0;
    depth_writes = true;
    vertices.clear();
    texcoords.clear();
}

void hardware_buffer_flush() {
    if (vertices.empty()) return;
    const renderer_gl& g = gl();
    // Every view change flushes first, so a batch is all 2D or all 3D.
    if (vertices.size() == texcoords.size()) {
        g.vertex_pointer(2, GL_FLOAT, 8, vertices.data());
        g.tex_coord_pointer(2, GL_FLOAT, 8, texcoords.data());
        g.draw_arrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 2));
    } else {
        g.vertex_pointer(3, GL_FLOAT, 12, vertices.data());
        g.tex_coord_pointer(2, GL_FLOAT, 8, texcoords.data());
        g.draw_arrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 3));
    }
    vertices.clear();
    texcoords.clear();
}

void renderer_append_2d(const float v[6], const float t[6]) {
    make_room(vertices, 9);
    make_room(texcoords, 6);
    vertices.insert(vertices.end(), v, v + 6);
    texcoords.insert(texcoords.end(), t, t + 6);
}

void renderer_append_3d(const float v[9], const float t[6]) {
    make_room(vertices, 9);
    make_room(texcoords, 6);
    vertices.insert(vertices.end(), v, v + 9);
    texcoords.insert(texcoords.end(), t, t + 6);
}

void set_render_dest(int32_t dest) {
    if (dest == -1) {
        hardware_buffer_flush();
        state.dest = -1;
        state.dest_handle = nullptr;
        state.view = 0;
        return;
    }
    if (dest == state.dest) return;
    hardware_img_struct* hw = nullptr;
    if (dest > 0) {
        // Images are destinations only through framebuffer objects.
        hw = hardware_img_at(dest);
        if (!hw || !fbo()) return;
    }
    hardware_buffer_flush();
    // The next view call rebuilds the projection for this destination.
    state.view = 0;
    const renderer_gl& g = gl();
    if (dest == 0) {
        if (fbo()) g.bind_framebuffer(GL_FRAMEBUFFER_EXT, 0);
        state.dest_handle = &window_render_state;
    } else {
        if (!hw->texture) hardware_img_buffer_to_texture(dest);
        if (!hw->dest_context_handle) {
            GLuint framebuffer = 0;
            g.gen_framebuffers(1, &framebuffer);
            hw->dest_context_handle = framebuffer;
            g.bind_framebuffer(GL_FRAMEBUFFER_EXT, framebuffer);
            g.framebuffer_texture_2d(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, hw->texture, 0);
            g.color4f(1, 1, 1, 1);
            set_render_source(-1);
        } else {
            g.bind_framebuffer(GL_FRAMEBUFFER_EXT, hw->dest_context_handle);
        }
        state.dest_handle = &hw->render_state;
    }
    state.dest = dest;
}

void set_render_source(int32_t source) {
    if (source == -1) {
        hardware_buffer_flush();
        state.source = -1;
        state.source_handle = nullptr;
        return;
    }
    if (source == state.source) return;
    hardware_img_struct* hw = hardware_img_at(source);
    if (!hw) return;
    hardware_buffer_flush();
    if (!hw->texture) hardware_img_buffer_to_texture(source);
    gl().bind_texture(GL_TEXTURE_2D, hw->texture);
    state.source = source;
    state.source_handle = &hw->smooth_shrunk;
    if (!fbo()) hw->smooth_shrunk = hw->smooth_stretched = -1;
}

void set_view(int32_t view) {
    if (view == state.view) return;
    hardware_buffer_flush();
    const renderer_gl& g = gl();
    int32_t previous = state.view;
    switch (view) {
    case 1:
        if (previous != 2) common_view_preparation();
        state.view = 1;
        view_2d();
        return;
    case 2:
        if (previous != 1) common_view_preparation();
        state.view = 2;
        view_3d();
        return;
    case 3:
        g.disable(GL_TEXTURE_2D);
        g.disable(GL_ALPHA_TEST);
        g.disable(GL_BLEND);
        g.disable(GL_COLOR_MATERIAL);
        g.disable(GL_DEPTH_TEST);
        g.disable(GL_LIGHTING);
        apply_depth_mask(true);
        g.front_face(GL_CCW);
        g.cull_face(GL_BACK);
        g.disable(GL_CULL_FACE);
        g.disable_client_state(GL_VERTEX_ARRAY);
        g.disable_client_state(GL_TEXTURE_COORD_ARRAY);
        g.alpha_func(GL_ALWAYS, 0);
        if (fbo()) g.bind_framebuffer(GL_FRAMEBUFFER_EXT, 0);
        g.bind_texture(GL_TEXTURE_2D, 0);
        g.clear(GL_DEPTH_BUFFER_BIT);
        g.color4f(1, 1, 1, 1);
        g.matrix_mode(GL_PROJECTION);
        g.load_identity();
        g.matrix_mode(GL_MODELVIEW);
        g.load_identity();
        state.use_alpha = state.depthbuffer_mode = state.cull_mode = -1;
        state.source = state.dest = -1;
        state.source_handle = state.dest_handle = nullptr;
        state.view = 0;
        return;
    default:
        state.view = 0;
        return;
    }
}

void set_smooth(int32_t minify, int32_t magnify) {
    if (state.source <= 0) return;
    hardware_img_struct* hw = hardware_img_at(state.source);
    if (!hw) return;
    // Mipmapped textures (padding 2) filter linearly even when not smoothed.
    auto filter = [hw](int32_t smooth) -> GLint {
        return smooth || hw->PO2_fix == 2 ? GL_LINEAR : GL_NEAREST;
    };
    if (minify != hw->smooth_shrunk) {
        hardware_buffer_flush();
        gl().tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter(minify));
        hw->smooth_shrunk = minify;
    }
    if (magnify != hw->smooth_stretched) {
        hardware_buffer_flush();
        gl().tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter(magnify));
        hw->smooth_stretched = magnify;
    }
}

void set_texture_wrap(int32_t wrap) {
    if (state.source <= 0) return;
    hardware_img_struct* hw = hardware_img_at(state.source);
    if (!hw || wrap == hw->texture_wrap) return;
    hardware_buffer_flush();
    GLint mode = wrap ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    gl().tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
    gl().tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
    hw->texture_wrap = wrap;
}

void set_alpha(int32_t use_alpha) {
    if (use_alpha == state.use_alpha) return;
    hardware_buffer_flush();
    const renderer_gl& g = gl();
    if (use_alpha) {
        g.enable(GL_BLEND);
        if (fbo())
            g.blend_func_separate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE);
        else
            g.blend_func(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        g.disable(GL_BLEND);
    }
    state.use_alpha = use_alpha;
}

void set_depthbuffer(int32_t mode) {
    if (mode == state.depthbuffer_mode) return;
    hardware_buffer_flush();
    const renderer_gl& g = gl();
    switch (mode) {
    case 0:
        g.disable(GL_DEPTH_TEST);
        g.alpha_func(GL_ALWAYS, 0);
        break;
    case 1:
        g.enable(GL_DEPTH_TEST);
        apply_depth_mask(true);
        // Fully transparent texels write no depth.
        g.alpha_func(GL_GREATER, 0.001f);
        g.enable(GL_ALPHA_TEST);
        break;
    case 2:
        g.enable(GL_DEPTH_TEST);
        apply_depth_mask(false);
        g.alpha_func(GL_ALWAYS, 0);
        break;
    default:
        return;
    }
    state.depthbuffer_mode = mode;
}

void set_cull_mode(int32_t mode) {
    if (mode == state.cull_mode) return;
    hardware_buffer_flush();
    const renderer_gl& g = gl();
    int32_t previous = state.cull_mode;
    switch (mode) {
    case 0:
        g.disable(GL_CULL_FACE);
        break;
    case 1:
        g.front_face(GL_CW);
        if (previous != 2) g.enable(GL_CULL_FACE);
        break;
    case 2:
        g.front_face(GL_CCW);
        if (previous != 1) g.enable(GL_CULL_FACE);
        break;
    default:
        return;
    }
    state.cull_mode = mode;
}

void renderer_forget_source() {
    hardware_buffer_flush();
    state.source = -1;
    state.source_handle = nullptr;
}

void renderer_forget_image(int32_t index) {
    hardware_buffer_flush();
    if (state.source == index) {
        state.source = -1;
        state.source_handle = nullptr;
    }
    if (state.dest == index) {
        state.dest = -1;
        state.dest_handle = nullptr;
        state.view = 0;
    }
}

void renderer_clear_depth() {
    bool cached = depth_writes;
    if (!cached) apply_depth_mask(true);
    gl().clear(GL_DEPTH_BUFFER_BIT);
    if (!cached) apply_depth_mask(false);
}

void renderer_clear_window() {
    set_render_dest(0);
    bool cached = depth_writes;
    if (!cached) apply_depth_mask(true);
    gl().clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!cached) apply_depth_mask(false);
}

void renderer_texture_size(const hardware_img_struct* hw, float* width, float* height) {
    *width = static_cast<float>(hw->PO2_fix ? hw->PO2_w : hw->w);
    *height = static_cast<float>(hw->PO2_fix ? hw->PO2_h : hw->h);
}
