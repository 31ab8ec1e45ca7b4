// The real OpenGL behind the renderer's call table (GL 1.1, GLU and the GLEW
// framebuffer and separate-blend entry points).
#include "display/renderer_gl.h"

#include <GL/glu.h>

#include <atomic>

namespace {

// GLEW's entry points are pointers loaded at run time, so they are called through
// small functions rather than taken by address.
void blend_func_separate(GLenum sr, GLenum dr, GLenum sa, GLenum da) {
    if (glBlendFuncSeparate)
        glBlendFuncSeparate(sr, dr, sa, da);
    else if (glBlendFuncSeparateEXT)
        glBlendFuncSeparateEXT(sr, dr, sa, da);
    else
        glBlendFunc(sr, dr);
}
void bind_framebuffer(GLenum target, GLuint framebuffer) { glBindFramebufferEXT(target, framebuffer); }
void gen_framebuffers(GLsizei n, GLuint* framebuffers) { glGenFramebuffersEXT(n, framebuffers); }
void delete_framebuffers(GLsizei n, const GLuint* framebuffers) { glDeleteFramebuffersEXT(n, framebuffers); }
void framebuffer_texture_2d(GLenum target, GLenum attachment, GLenum texture_target, GLuint texture, GLint level) {
    glFramebufferTexture2DEXT(target, attachment, texture_target, texture, level);
}
GLint build_2d_mipmaps(GLenum target, GLint internal_format, GLsizei width, GLsizei height, GLenum format,
                       GLenum type, const void* pixels) {
    return gluBuild2DMipmaps(target, internal_format, width, height, format, type, pixels);
}

constexpr renderer_gl real_gl{
    .enable = glEnable,
    .disable = glDisable,
    .blend_func = glBlendFunc,
    .blend_func_separate = blend_func_separate,
    .bind_texture = glBindTexture,
    .gen_textures = glGenTextures,
    .delete_textures = glDeleteTextures,
    .tex_image_2d = glTexImage2D,
    .tex_parameteri = glTexParameteri,
    .get_error = glGetError,
    .get_integerv = glGetIntegerv,
    .matrix_mode = glMatrixMode,
    .load_identity = glLoadIdentity,
    .ortho = glOrtho,
    .ortho_2d = gluOrtho2D,
    .perspective = gluPerspective,
    .scalef = glScalef,
    .translatef = glTranslatef,
    .viewport = glViewport,
    .color4f = glColor4f,
    .depth_mask = glDepthMask,
    .alpha_func = glAlphaFunc,
    .front_face = glFrontFace,
    .cull_face = glCullFace,
    .enable_client_state = glEnableClientState,
    .disable_client_state = glDisableClientState,
    .vertex_pointer = glVertexPointer,
    .tex_coord_pointer = glTexCoordPointer,
    .draw_arrays = glDrawArrays,
    .clear = glClear,
    .bind_framebuffer = bind_framebuffer,
    .gen_framebuffers = gen_framebuffers,
    .delete_framebuffers = delete_framebuffers,
    .framebuffer_texture_2d = framebuffer_texture_2d,
    .copy_tex_image_2d = glCopyTexImage2D,
    .build_2d_mipmaps = build_2d_mipmaps,
};

std::atomic<const renderer_gl*> current{&real_gl};

}  // namespace

const renderer_gl& gl() { return *current.load(std::memory_order_relaxed); }

void renderer_set_gl(const renderer_gl* calls) { current.store(calls ? calls : &real_gl, std::memory_order_relaxed); }
