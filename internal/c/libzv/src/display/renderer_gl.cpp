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
    glEnable,          glDisable,         glBlendFunc,        blend_func_separate, glBindTexture,
    glGenTextures,     glDeleteTextures,  glTexImage2D,       glTexParameteri,     glGetError,
    glGetIntegerv,     glMatrixMode,      glLoadIdentity,     glOrtho,             gluOrtho2D,
    gluPerspective,    glScalef,          glTranslatef,       glViewport,          glColor4f,
    glDepthMask,       glAlphaFunc,       glFrontFace,        glCullFace,          glEnableClientState,
    glDisableClientState, glVertexPointer, glTexCoordPointer, glDrawArrays,        glClear,
    bind_framebuffer,  gen_framebuffers,  delete_framebuffers, framebuffer_texture_2d, build_2d_mipmaps,
};

std::atomic<const renderer_gl*> current{&real_gl};

}  // namespace

const renderer_gl& gl() { return *current.load(std::memory_order_relaxed); }

void renderer_set_gl(const renderer_gl* calls) { current.store(calls ? calls : &real_gl, std::memory_order_relaxed); }
