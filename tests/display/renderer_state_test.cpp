// The renderer's state cache and batch: GL calls only on change, one draw per state
// combination, the pending batch drawn before any state changes.
#include "display/renderer_fixture.h"

namespace {

using RendererState = RendererTest;

TEST_F(RendererState, EachSetterCallsGlOnlyWhenItsValueChanges) {
    int32_t a = image(4, 4);
    struct setter_case {
        const char* name;
        void (*set)(int32_t a);
        std::string expected;  // a call the first setting makes
    };
    const setter_case cases[] = {
        {"alpha", [](int32_t) { set_alpha(1); }, fake_gl::call("enable", {GL_BLEND})},
        {"depth", [](int32_t) { set_depthbuffer(1); }, fake_gl::call("enable", {GL_DEPTH_TEST})},
        {"cull", [](int32_t) { set_cull_mode(2); }, fake_gl::call("front_face", {GL_CCW})},
        {"destination", [](int32_t) { set_render_dest(0); }, fake_gl::call("bind_framebuffer", {0})},
        {"source", [](int32_t i) { set_render_source(i); }, fake_gl::call("bind_texture", {GL_TEXTURE_2D, 1})},
        {"wrap", [](int32_t) { set_texture_wrap(1); }, fake_gl::call("tex_parameteri", {GL_TEXTURE_WRAP_S, GL_REPEAT})},
        {"smooth", [](int32_t) { set_smooth(1, 1); },
         fake_gl::call("tex_parameteri", {GL_TEXTURE_MIN_FILTER, GL_LINEAR})},
    };
    for (const auto& c : cases) {
        c.set(a);
        size_t after_first = fake_gl::calls.size();
        EXPECT_GE(fake_gl::count(c.expected), 1) << c.name;
        c.set(a);
        EXPECT_EQ(fake_gl::calls.size(), after_first) << c.name << " called GL again for the same value";
    }
}

TEST_F(RendererState, TwoPutsWithEqualSettingsBecomeOneDraw) {
    int32_t a = image(8, 8);
    environment(640, 400, 640, 400);
    hardware_img_put(0, 0, 7, 7, a, 0, 0, 0, 7, 7, 1, 0);
    hardware_img_put(20, 0, 27, 7, a, 0, 0, 0, 7, 7, 1, 0);
    EXPECT_EQ(renderer_batch_vertex_floats(), 24);  // 12 vertices of two floats
    EXPECT_EQ(fake_gl::count_named("draw_arrays"), 0);
    hardware_buffer_flush();
    EXPECT_EQ(fake_gl::calls.back(), fake_gl::call("draw_arrays", {0, 12}));
    EXPECT_EQ(fake_gl::count_named("draw_arrays"), 1);
    EXPECT_EQ(renderer_batch_vertex_floats(), 0);
}

TEST_F(RendererState, AStateChangeDrawsThePendingBatchFirst) {
    int32_t a = image(8, 8), b = image(8, 8);
    environment(640, 400, 640, 400);
    hardware_img_put(0, 0, 7, 7, a, 0, 0, 0, 7, 7, 0, 0);
    size_t before = fake_gl::calls.size();
    hardware_img_put(0, 0, 7, 7, b, 0, 0, 0, 7, 7, 0, 0);
    int64_t draw = position(fake_gl::call("draw_arrays", {0, 6}), before);
    int64_t bind = position(fake_gl::call("bind_texture", {GL_TEXTURE_2D, 2}), before);
    ASSERT_GE(draw, 0);
    EXPECT_LT(draw, bind) << "the first put was drawn with the second source";
    EXPECT_EQ(renderer_batch_vertex_floats(), 12);
}

TEST_F(RendererState, ViewSwitchesRebuildTheProjectionAndPrepareOnce) {
    environment(800, 600, 640, 400);
    set_render_dest(0);
    set_view(1);
    set_view(2);
    set_view(1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("enable_client_state", {GL_VERTEX_ARRAY})), 1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("ortho", {0, 800, 0, 600, -1, 1})), 2);
    EXPECT_EQ(fake_gl::count_named("perspective"), 1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("matrix_mode", {GL_PROJECTION})), 3);
    EXPECT_EQ(renderer_state().view, 1);
}

TEST_F(RendererState, ThreeDViewOfTheWindowWidensTheFieldByTheScaledScreen) {
    environment(800, 600, 320, 200, 1);  // stretched over the whole window: 800 x 600
    set_render_dest(0);
    set_view(2);
    EXPECT_EQ(fake_gl::count(fake_gl::call("perspective", {90.0f * 600.0f / 800.0f, 800.0f / 600.0f, 0.1, 10000})), 1);
}

TEST_F(RendererState, ReshapeMakesTheNextViewRebuildTheProjection) {
    environment(640, 400, 640, 400);
    set_render_dest(0);
    set_view(1);
    GLUT_RESHAPE_FUNC(800, 500);
    EXPECT_EQ(renderer_state().view, 0);
    environment__window_width = 800;
    environment__window_height = 500;
    set_view(1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("ortho", {0, 800, 0, 500, -1, 1})), 1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("viewport", {0, 0, 800, 500})), 1);
}

TEST_F(RendererState, AnImageDestinationGetsOneFramebufferAndItsOwnProjection) {
    int32_t target = image(64, 32);
    set_render_dest(target);
    set_render_dest(0);
    set_render_dest(target);
    EXPECT_EQ(fake_gl::count_named("gen_framebuffers"), 1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("framebuffer_texture_2d", {GL_COLOR_ATTACHMENT0_EXT, 1})), 1);
    set_view(1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("ortho_2d", {0, 64, 0, 32})), 1);
    EXPECT_EQ(renderer_state().dest_handle, &hardware_img_at(target)->render_state);
}

TEST_F(RendererState, LockedDepthModeStillClearsTheDepthBuffer) {
    environment(640, 400, 640, 400);
    set_render_dest(0);
    set_depthbuffer(2);
    size_t before = fake_gl::calls.size();
    clear_depthbuffer(0);
    std::vector<std::string> made(fake_gl::calls.begin() + static_cast<int64_t>(before), fake_gl::calls.end());
    EXPECT_EQ(made, (std::vector<std::string>{fake_gl::call("depth_mask", {1}), fake_gl::call("clear", {GL_DEPTH_BUFFER_BIT}),
                                              fake_gl::call("depth_mask", {0})}));
    // With depth writes on the clear needs nothing else.
    set_depthbuffer(1);
    before = fake_gl::calls.size();
    clear_depthbuffer(0);
    EXPECT_EQ(fake_gl::calls.size(), before + 1);
}

TEST_F(RendererState, AlphaBlendsColourAndAddsAlphaWithFramebufferObjects) {
    set_alpha(1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("blend_func_separate", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE})), 1);
    renderer_reset_for_tests();
    framebufferobjects_supported = false;
    fake_gl::calls.clear();
    set_alpha(1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("blend_func", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA})), 1);
}

TEST_F(RendererState, CullModesKeepCullingOnBetweenWindings) {
    set_cull_mode(1);
    set_cull_mode(2);
    set_cull_mode(0);
    EXPECT_EQ(fake_gl::calls, (std::vector<std::string>{fake_gl::call("front_face", {GL_CW}),
                                                        fake_gl::call("enable", {GL_CULL_FACE}),
                                                        fake_gl::call("front_face", {GL_CCW}),
                                                        fake_gl::call("disable", {GL_CULL_FACE})}));
}

TEST_F(RendererState, FullResetForgetsEverything) {
    int32_t a = image(4, 4);
    set_render_dest(0);
    set_render_source(a);
    set_alpha(1);
    set_view(3);
    const render_state& s = renderer_state();
    EXPECT_EQ(s.dest, -1);
    EXPECT_EQ(s.source, -1);
    EXPECT_EQ(s.use_alpha, -1);
    EXPECT_EQ(s.depthbuffer_mode, -1);
    EXPECT_EQ(s.cull_mode, -1);
    EXPECT_EQ(s.view, 0);
    EXPECT_EQ(fake_gl::count(fake_gl::call("bind_texture", {GL_TEXTURE_2D, 0})), 1);
}

}  // namespace
