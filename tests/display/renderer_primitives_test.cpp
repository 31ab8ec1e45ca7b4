// Puts and triangles: the mapping onto the window, mirrored sources, texture
// coordinates inside the texels, the widened 2D triangle, the 3D winding on images,
// and the commands a replay hands to the renderer.
#include "display/renderer_fixture.h"

namespace {

using RendererPrimitives = RendererTest;

TEST_F(RendererPrimitives, PutOnTheWindowGoesThroughTheScreenMapping) {
    // 320 x 200 screen in an 800 x 400 square-pixel full screen: scale 2 from x 80.
    environment(800, 400, 320, 200, 2);
    int32_t a = image(320, 200);
    hardware_img_put(0, 0, 319, 199, a, 0, 0, 0, 319, 199, 0, 0);
    EXPECT_EQ(batch_vertices(), (std::vector<float>{80, 0, 720, 0, 80, 400, 80, 400, 720, 0, 720, 400}));
    float s1 = 0.01f / 320, s2 = 319.99f / 320, t1 = 0.01f / 200, t2 = 199.99f / 200;
    EXPECT_EQ(batch_texcoords(), (std::vector<float>{s1, t1, s2, t1, s1, t2, s1, t2, s2, t1, s2, t2}));
}

TEST_F(RendererPrimitives, PutWithReversedDestinationMirrorsTheSource) {
    environment(640, 400, 640, 400);
    int32_t a = image(2, 2);
    hardware_img_put(19, 19, 0, 0, a, 0, 0, 0, 1, 1, 0, 0);
    std::vector<float> v = batch_vertices(), t = batch_texcoords();
    // The first vertex is the top-left corner; it takes the source's right and bottom edge.
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[1], 0);
    EXPECT_FLOAT_EQ(t[0], 1.99f / 2);
    EXPECT_FLOAT_EQ(t[1], 1.99f / 2);
    EXPECT_FLOAT_EQ(t[2], 0.01f / 2);
}

TEST_F(RendererPrimitives, OnePixelSourceIsSampledInsideItsTexel) {
    environment(640, 400, 640, 400);
    int32_t a = image(1, 1);
    hardware_img_put(0, 0, 49, 49, a, 0, 0, 0, 0, 0, 0, 1);
    for (float c : batch_texcoords()) {
        EXPECT_GE(c, 0.01f);
        EXPECT_LE(c, 0.99f);
    }
    EXPECT_EQ(fake_gl::count(fake_gl::call("tex_parameteri", {GL_TEXTURE_MAG_FILTER, GL_LINEAR})), 1);
}

TEST_F(RendererPrimitives, SecondLayerAndOtherNegativeDestinationsDrawOnTheWindow) {
    environment(640, 400, 640, 400);
    int32_t a = image(4, 4);
    hardware_img_put(0, 0, 3, 3, a, -1, 0, 0, 3, 3, 0, 0);
    EXPECT_EQ(renderer_state().dest, 0);
    EXPECT_EQ(renderer_batch_vertex_floats(), 12);
}

TEST_F(RendererPrimitives, TwoDTriangleIsWidenedToCoverItsRightAndBottomPixels) {
    environment(640, 400, 640, 400);
    int32_t a = image(16, 8);
    hardware_img_tri2d(0, 0, 9, 0, 0, 9, a, 0, 0, 0, 15, 0, 0, 7, 0, 0);
    EXPECT_EQ(batch_vertices(), (std::vector<float>{0, 0, 10, 0, 0, 10}));
    EXPECT_EQ(batch_texcoords(), (std::vector<float>{0.5f / 16, 0.5f / 8, 15.5f / 16, 0.5f / 8, 0.5f / 16, 7.5f / 8}));
    EXPECT_EQ(fake_gl::count(fake_gl::call("tex_parameteri", {GL_TEXTURE_WRAP_S, GL_REPEAT})), 1);
}

TEST_F(RendererPrimitives, TwoDTriangleOnTheWindowIsScaledFromItsRoundedCorner) {
    environment(800, 400, 320, 200, 2);  // scale 2 from x 80
    int32_t a = image(4, 4);
    hardware_img_tri2d(10, 10, 19, 10, 10, 19, a, -1, 0, 0, 3, 0, 0, 3, 0, 0);
    // bx = 10 * 2 + 80 = 100; the 9-pixel span becomes 10 pixels, then 20 on the window.
    EXPECT_EQ(batch_vertices(), (std::vector<float>{100, 20, 120, 20, 100, 40}));
}

TEST_F(RendererPrimitives, TwoDTriangleOnAnImageKeepsImagePixels) {
    int32_t a = image(4, 4), target = image(32, 32);
    hardware_img_tri2d(0, 0, 9, 0, 0, 9, a, target, 0, 0, 3, 0, 0, 3, 0, 0);
    EXPECT_EQ(renderer_state().dest, target);
    EXPECT_EQ(batch_vertices(), (std::vector<float>{0, 0, 10, 0, 0, 10}));
}

TEST_F(RendererPrimitives, ThreeDTriangleOnAnImageTurnsTheWindingAndGetsADepthTexture) {
    int32_t a = image(4, 4), target = image(32, 32);
    hardware_img_tri3d(0, 0, -1, 1, 0, -1, 0, 1, -1, a, target, 0, 0, 3, 0, 0, 3, 0, 0, 1, 1);
    EXPECT_EQ(renderer_state().cull_mode, 2);
    EXPECT_NE(hardware_img_at(target)->depthbuffer_handle, 0u);
    EXPECT_EQ(fake_gl::count(fake_gl::call("tex_image_2d", {GL_DEPTH_COMPONENT24, 32, 32})), 1);
    EXPECT_EQ(renderer_batch_vertex_floats(), 9);
    EXPECT_EQ(renderer_batch_texcoord_floats(), 6);
    hardware_buffer_flush();
    EXPECT_EQ(fake_gl::count(fake_gl::call("vertex_pointer", {3, 12})), 1);

    // On the window the same cull mode stays.
    hardware_img_tri3d(0, 0, -1, 1, 0, -1, 0, 1, -1, a, 0, 0, 0, 3, 0, 0, 3, 0, 0, 1, 1);
    EXPECT_EQ(renderer_state().cull_mode, 1);
}

// A command as the drawing statements queue one.
hardware_graphics_command put_command(int32_t source, int32_t dest) {
    hardware_graphics_command c{};
    c.command = HARDWARE_COMMAND_PUT;
    c.src_img = source;
    c.dst_img = dest;
    c.dst_x1 = 10.7f;
    c.dst_y1 = 5.2f;
    c.dst_x2 = 13.9f;
    c.dst_y2 = 8.0f;
    c.src_x2 = 3.5f;
    c.src_y2 = 3;
    return c;
}

TEST_F(RendererPrimitives, ReplayedPutTruncatesItsCoordinates) {
    environment(640, 400, 640, 400);
    int32_t a = image(4, 4);
    hardware_graphics_command c = put_command(a, 0);
    hardware_command_executor ex = renderer_command_executor();
    ex.execute(ex.context, &c);
    std::vector<float> v = batch_vertices();
    ASSERT_EQ(v.size(), 12u);
    EXPECT_EQ(v[0], 10);
    EXPECT_EQ(v[1], 5);
    EXPECT_EQ(v[10], 14);
    EXPECT_EQ(v[11], 9);
}

TEST_F(RendererPrimitives, WithoutFramebufferObjectsWorkOnImagesIsPassedOver) {
    framebufferobjects_supported = false;
    int32_t a = image(4, 4), target = image(8, 8);
    hardware_command_executor ex = renderer_command_executor();
    hardware_graphics_command put = put_command(a, target);
    hardware_graphics_command clear{};
    clear.command = HARDWARE_COMMAND_CLEAR_DEPTHBUFFER;
    clear.dst_img = target;
    ex.execute(ex.context, &put);
    ex.execute(ex.context, &clear);
    EXPECT_EQ(fake_gl::count_named("gen_framebuffers"), 0);
    EXPECT_EQ(fake_gl::count_named("bind_framebuffer"), 0);
    EXPECT_EQ(renderer_batch_vertex_floats(), 0);
}

}  // namespace
