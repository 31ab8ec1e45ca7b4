// The OpenGL calls the renderer makes, behind one table so that tests can record them
// without a GL context. Window thread only.
#pragma once
#include <GL/glew.h>

struct renderer_gl {
    void (*enable)(GLenum cap);
    void (*disable)(GLenum cap);
    void (*blend_func)(GLenum source, GLenum destination);
    void (*blend_func_separate)(GLenum source_rgb, GLenum destination_rgb, GLenum source_alpha,
                                GLenum destination_alpha);
    void (*bind_texture)(GLenum target, GLuint texture);
    void (*gen_textures)(GLsizei n, GLuint* textures);
    void (*delete_textures)(GLsizei n, const GLuint* textures);
    void (*tex_image_2d)(GLenum target, GLint level, GLint internal_format, GLsizei width, GLsizei height,
                         GLint border, GLenum format, GLenum type, const void* pixels);
    void (*tex_parameteri)(GLenum target, GLenum name, GLint value);
    GLenum (*get_error)();
    void (*get_integerv)(GLenum name, GLint* value);
    void (*matrix_mode)(GLenum mode);
    void (*load_identity)();
    void (*ortho)(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near, GLdouble far);
    void (*ortho_2d)(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top);
    void (*perspective)(GLdouble fov_y, GLdouble aspect, GLdouble near, GLdouble far);
    void (*scalef)(GLfloat x, GLfloat y, GLfloat z);
    void (*translatef)(GLfloat x, GLfloat y, GLfloat z);
    void (*viewport)(GLint x, GLint y, GLsizei width, GLsizei height);
    void (*color4f)(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
    void (*depth_mask)(GLboolean on);
    void (*alpha_func)(GLenum function, GLclampf reference);
    void (*front_face)(GLenum mode);
    void (*cull_face)(GLenum mode);
    void (*enable_client_state)(GLenum array);
    void (*disable_client_state)(GLenum array);
    void (*vertex_pointer)(GLint size, GLenum type, GLsizei stride, const void* pointer);
    void (*tex_coord_pointer)(GLint size, GLenum type, GLsizei stride, const void* pointer);
    void (*draw_arrays)(GLenum mode, GLint first, GLsizei count);
    void (*clear)(GLbitfield mask);
    void (*bind_framebuffer)(GLenum target, GLuint framebuffer);
    void (*gen_framebuffers)(GLsizei n, GLuint* framebuffers);
    void (*delete_framebuffers)(GLsizei n, const GLuint* framebuffers);
    void (*framebuffer_texture_2d)(GLenum target, GLenum attachment, GLenum texture_target, GLuint texture,
                                   GLint level);
    void (*copy_tex_image_2d)(GLenum target, GLint level, GLenum internal_format, GLint x, GLint y, GLsizei width,
                              GLsizei height, GLint border);
    // gluBuild2DMipmaps: 0 on success, else a GLU error code.
    GLint (*build_2d_mipmaps)(GLenum target, GLint internal_format, GLsizei width, GLsizei height, GLenum format,
                              GLenum type, const void* pixels);
};

// The table in use: the real GL unless a test installed its own.
const renderer_gl& gl();
// nullptr restores the real GL.
void renderer_set_gl(const renderer_gl* calls);
