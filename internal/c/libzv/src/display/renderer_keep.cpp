// The window's picture kept as a texture. Hardware commands are replayed once, for
// the frame order they belong to, so when the window system loses the window's
// contents the presenter cannot draw that picture again from its parts; it draws
// this copy instead. The copy is taken on the GL side, before the swap.
#include "display/renderer.h"
#include "display/renderer_gl.h"
#include "display/renderer_internal.h"

namespace {

GLuint kept_texture = 0;
int32_t kept_w = 0, kept_h = 0;
bool kept = false;

// The whole viewport, and the whole texture: one texel per window pixel.
constexpr float corners[8] = {-1, -1, 1, -1, -1, 1, 1, 1};
constexpr float texels[8] = {0, 0, 1, 0, 0, 1, 1, 1};

}  // namespace

void renderer_keep_window(int32_t w, int32_t h) {
    kept = false;
    if (w <= 0 || h <= 0) return;
    // The window is the read buffer, in the reset state (no texture unit in use).
    set_render_dest(0);
    set_view(3);
    const renderer_gl& g = gl();
    if (!kept_texture) {
        g.gen_textures(1, &kept_texture);
        g.bind_texture(GL_TEXTURE_2D, kept_texture);
        g.tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        g.tex_parameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    } else {
        g.bind_texture(GL_TEXTURE_2D, kept_texture);
    }
    g.copy_tex_image_2d(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, w, h, 0);
    kept_w = w;
    kept_h = h;
    g.bind_texture(GL_TEXTURE_2D, 0);
    kept = true;
}

bool renderer_restore_window(int32_t w, int32_t h) {
    if (!kept || w != kept_w || h != kept_h) return false;
    set_render_dest(0);
    set_view(3);
    const renderer_gl& g = gl();
    g.viewport(0, 0, w, h);
    g.enable(GL_TEXTURE_2D);
    g.bind_texture(GL_TEXTURE_2D, kept_texture);
    g.enable_client_state(GL_VERTEX_ARRAY);
    g.enable_client_state(GL_TEXTURE_COORD_ARRAY);
    g.vertex_pointer(2, GL_FLOAT, 8, corners);
    g.tex_coord_pointer(2, GL_FLOAT, 8, texels);
    g.draw_arrays(GL_TRIANGLE_STRIP, 0, 4);
    // Back to the reset state; the cache then knows nothing, so the next draw sets
    // its destination, viewport and source again.
    set_view(3);
    return true;
}

void renderer_forget_kept_window() { kept = false; }

void renderer_keep_reset() {
    kept_texture = 0;
    kept_w = kept_h = 0;
    kept = false;
}
