// A GL that records the renderer's calls as text ("enable(3042)") instead of drawing,
// hands out texture and framebuffer names, and reports scripted errors.
#pragma once
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "display/renderer_gl.h"

struct fake_gl {
    static inline std::vector<std::string> calls;
    // The errors of the next tex_image_2d calls, in order; get_error reports each once.
    static inline std::deque<GLenum> upload_errors;
    static inline GLenum pending_error = GL_NO_ERROR;
    static inline GLint mipmap_result = 0;      // build_2d_mipmaps' answer
    static inline GLint max_texture_size = 16384;
    static inline GLuint next_name = 1;
    // The pixels of the last tex_image_2d that had pixels.
    static inline std::vector<uint32_t> uploaded;
    static inline int32_t uploaded_width = 0, uploaded_height = 0;
    // The vertex floats of every draw, and a function run at each draw.
    static inline std::vector<std::vector<float>> drawn;
    static inline void (*on_draw)() = nullptr;
    static inline const float* vertex_array = nullptr;
    static inline GLint vertex_size = 2;

    static void add(const char* name, std::initializer_list<double> args) {
        std::string text = std::string(name) + "(";
        bool first = true;
        for (double a : args) {
            char buffer[32];
            snprintf(buffer, sizeof buffer, "%s%g", first ? "" : ",", a);
            text += buffer;
            first = false;
        }
        calls.push_back(text + ")");
    }
    // The text of a call, for comparisons.
    static std::string call(const char* name, std::initializer_list<double> args = {}) {
        add(name, args);
        std::string text = calls.back();
        calls.pop_back();
        return text;
    }
    static int64_t count(const std::string& text) {
        int64_t n = 0;
        for (auto& c : calls) n += c == text;
        return n;
    }
    // Calls whose text starts with the name and "(".
    static int64_t count_named(const char* name) {
        std::string prefix = std::string(name) + "(";
        int64_t n = 0;
        for (auto& c : calls) n += c.compare(0, prefix.size(), prefix) == 0;
        return n;
    }

    static inline const renderer_gl table{
        [](GLenum c) { add("enable", {double(c)}); },
        [](GLenum c) { add("disable", {double(c)}); },
        [](GLenum s, GLenum d) { add("blend_func", {double(s), double(d)}); },
        [](GLenum a, GLenum b, GLenum c, GLenum d) {
            add("blend_func_separate", {double(a), double(b), double(c), double(d)});
        },
        [](GLenum t, GLuint n) { add("bind_texture", {double(t), double(n)}); },
        [](GLsizei n, GLuint* names) {
            for (GLsizei i = 0; i < n; i++) names[i] = next_name++;
            add("gen_textures", {double(n)});
        },
        [](GLsizei n, const GLuint* names) { add("delete_textures", {double(n), double(names[0])}); },
        [](GLenum, GLint, GLint format, GLsizei w, GLsizei h, GLint, GLenum, GLenum, const void* pixels) {
            add("tex_image_2d", {double(format), double(w), double(h)});
            if (!upload_errors.empty()) {
                pending_error = upload_errors.front();
                upload_errors.pop_front();
            }
            if (pixels) {
                auto* p = static_cast<const uint32_t*>(pixels);
                uploaded.assign(p, p + static_cast<size_t>(w) * h);
                uploaded_width = w;
                uploaded_height = h;
            }
        },
        [](GLenum, GLenum name, GLint value) { add("tex_parameteri", {double(name), double(value)}); },
        []() -> GLenum {
            GLenum e = pending_error;
            pending_error = GL_NO_ERROR;
            return e;
        },
        [](GLenum name, GLint* value) {
            if (name == GL_MAX_TEXTURE_SIZE) *value = max_texture_size;
        },
        [](GLenum m) { add("matrix_mode", {double(m)}); },
        []() { add("load_identity", {}); },
        [](GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) { add("ortho", {l, r, b, t, n, f}); },
        [](GLdouble l, GLdouble r, GLdouble b, GLdouble t) { add("ortho_2d", {l, r, b, t}); },
        [](GLdouble fov, GLdouble aspect, GLdouble n, GLdouble f) { add("perspective", {fov, aspect, n, f}); },
        [](GLfloat x, GLfloat y, GLfloat z) { add("scalef", {x, y, z}); },
        [](GLfloat x, GLfloat y, GLfloat z) { add("translatef", {x, y, z}); },
        [](GLint x, GLint y, GLsizei w, GLsizei h) { add("viewport", {double(x), double(y), double(w), double(h)}); },
        [](GLfloat r, GLfloat g, GLfloat b, GLfloat a) { add("color4f", {r, g, b, a}); },
        [](GLboolean on) { add("depth_mask", {double(on)}); },
        [](GLenum f, GLclampf r) { add("alpha_func", {double(f), r}); },
        [](GLenum m) { add("front_face", {double(m)}); },
        [](GLenum m) { add("cull_face", {double(m)}); },
        [](GLenum a) { add("enable_client_state", {double(a)}); },
        [](GLenum a) { add("disable_client_state", {double(a)}); },
        [](GLint size, GLenum, GLsizei stride, const void* pointer) {
            vertex_array = static_cast<const float*>(pointer);
            vertex_size = size;
            add("vertex_pointer", {double(size), double(stride)});
        },
        [](GLint size, GLenum, GLsizei stride, const void*) { add("tex_coord_pointer", {double(size), double(stride)}); },
        [](GLenum, GLint first, GLsizei count) {
            add("draw_arrays", {double(first), double(count)});
            drawn.emplace_back(vertex_array, vertex_array + static_cast<size_t>(count) * vertex_size);
            if (on_draw) on_draw();
        },
        [](GLbitfield mask) { add("clear", {double(mask)}); },
        [](GLenum, GLuint f) { add("bind_framebuffer", {double(f)}); },
        [](GLsizei n, GLuint* names) {
            for (GLsizei i = 0; i < n; i++) names[i] = next_name++;
            add("gen_framebuffers", {double(n)});
        },
        [](GLsizei n, const GLuint* names) { add("delete_framebuffers", {double(n), double(names[0])}); },
        [](GLenum, GLenum attachment, GLenum, GLuint texture, GLint) {
            add("framebuffer_texture_2d", {double(attachment), double(texture)});
        },
        [](GLenum, GLint, GLenum, GLint, GLint, GLsizei w, GLsizei h, GLint) {
            add("copy_tex_image_2d", {double(w), double(h)});
        },
        [](GLenum, GLint, GLsizei w, GLsizei h, GLenum, GLenum, const void*) -> GLint {
            add("build_2d_mipmaps", {double(w), double(h)});
            return mipmap_result;
        },
    };

    fake_gl() {
        calls.clear();
        upload_errors.clear();
        pending_error = GL_NO_ERROR;
        mipmap_result = 0;
        max_texture_size = 16384;
        next_name = 1;
        uploaded.clear();
        drawn.clear();
        on_draw = nullptr;
        renderer_set_gl(&table);
    }
    ~fake_gl() { renderer_set_gl(nullptr); }
};
