// Texture uploads (plain, padded to powers of two, mipmaps) and the release of an
// image's GL names, with the cache forgetting what was released.
#include "display/renderer_fixture.h"

namespace {

using RendererTextures = RendererTest;

std::vector<uint32_t> numbered(int32_t w, int32_t h) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < pixels.size(); i++) pixels[i] = 0xFF000000u | static_cast<uint32_t>(i);
    return pixels;
}

TEST_F(RendererTextures, NextPowerOfTwo) {
    const int32_t cases[][2] = {{1, 1}, {2, 2}, {3, 4}, {64, 64}, {65, 128}, {100, 128}};
    for (auto& c : cases) EXPECT_EQ(next_power_of_two(c[0]), c[1]) << c[0];
}

TEST_F(RendererTextures, FirstUseUploadsThePixelsAndDropsTheSoftwareCopy) {
    std::vector<uint32_t> pixels = numbered(100, 60);
    int32_t a = image(100, 60, pixels);
    EXPECT_EQ(hardware_img_at(a)->texture, 0u);
    // An error left by earlier GL work is not taken for a refused upload.
    fake_gl::pending_error = GL_INVALID_OPERATION;
    set_render_source(a);
    hardware_img_struct* hw = hardware_img_at(a);
    EXPECT_NE(hw->texture, 0u);
    EXPECT_EQ(hw->software_pixel_buffer, nullptr);
    EXPECT_EQ(hw->PO2_fix, 0);
    EXPECT_EQ(fake_gl::count(fake_gl::call("tex_image_2d", {GL_RGBA, 100, 60})), 1);
    EXPECT_EQ(fake_gl::uploaded, pixels);
}

TEST_F(RendererTextures, ForcedPowerOfTwoCopyRepeatsTheLastColumnAndRow) {
    force_NPO2_fix = 1;
    std::vector<uint32_t> pixels = numbered(100, 60);
    int32_t a = image(100, 60, pixels);
    set_render_source(a);
    hardware_img_struct* hw = hardware_img_at(a);
    EXPECT_EQ(hw->PO2_fix, 1);
    EXPECT_EQ(hw->PO2_w, 128);
    EXPECT_EQ(hw->PO2_h, 64);
    ASSERT_EQ(fake_gl::uploaded_width, 128);
    ASSERT_EQ(fake_gl::uploaded_height, 64);
    auto texel = [](int32_t x, int32_t y) { return fake_gl::uploaded[static_cast<size_t>(y) * 128 + x]; };
    for (int32_t y = 0; y < 60; y++) {
        EXPECT_EQ(texel(0, y), pixels[static_cast<size_t>(y) * 100]);
        EXPECT_EQ(texel(100, y), texel(99, y)) << y;
    }
    for (int32_t x = 0; x <= 100; x++) EXPECT_EQ(texel(x, 60), texel(x, 59)) << x;
    EXPECT_EQ(texel(100, 60), pixels[59 * 100 + 99]);

    // Texture coordinates are taken against the padded size.
    environment(640, 400, 640, 400);
    hardware_img_put(0, 0, 99, 59, a, 0, 0, 0, 99, 59, 0, 0);
    EXPECT_FLOAT_EQ(batch_texcoords()[2], 99.99f / 128);
}

TEST_F(RendererTextures, RefusedUploadsFallBackToPaddingThenMipmaps) {
    fake_gl::upload_errors = {GL_INVALID_VALUE, GL_INVALID_VALUE};
    int32_t a = image(100, 60);
    set_render_source(a);
    hardware_img_struct* hw = hardware_img_at(a);
    EXPECT_EQ(fake_gl::count(fake_gl::call("tex_image_2d", {GL_RGBA, 128, 64})), 1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("build_2d_mipmaps", {100, 60})), 1);
    EXPECT_EQ(hw->PO2_fix, 2);
    EXPECT_EQ(hw->PO2_w, 100);
    EXPECT_TRUE(alerts().empty());
    // Mipmapped textures filter linearly even unsmoothed.
    set_smooth(0, 0);
    EXPECT_EQ(fake_gl::count(fake_gl::call("tex_parameteri", {GL_TEXTURE_MIN_FILTER, GL_LINEAR})), 1);
}

TEST_F(RendererTextures, FailedMipmapsAreReported) {
    fake_gl::upload_errors = {GL_INVALID_VALUE, GL_INVALID_VALUE};
    fake_gl::mipmap_result = 100901;
    set_render_source(image(100, 60));
    EXPECT_EQ(alerts(), std::vector<std::string>{"gluBuild2DMipmaps failed: 100901"});
}

TEST_F(RendererTextures, ImageBeyondTheTextureLimitSkipsThePaddedCopy) {
    fake_gl::max_texture_size = 64;
    fake_gl::upload_errors = {GL_INVALID_VALUE};
    set_render_source(image(100, 1));
    EXPECT_EQ(fake_gl::count_named("tex_image_2d"), 1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("build_2d_mipmaps", {100, 1})), 1);
    EXPECT_EQ(hardware_img_at(1)->PO2_fix, 2);
}

TEST_F(RendererTextures, ImageMadeForTheWindowThreadIsUploadedAtOnce) {
    std::vector<uint32_t> pixels = numbered(3, 2);
    int32_t a = new_hardware_img(3, 2, pixels.data(), 0);
    EXPECT_NE(hardware_img_at(a)->texture, 0u);
    EXPECT_EQ(fake_gl::uploaded, pixels);
    EXPECT_EQ(renderer_state().source, -1);
}

TEST_F(RendererTextures, FreeReleasesEveryNameAndTheCacheForgetsTheImage) {
    int32_t a = image(8, 8), target = image(16, 16);
    environment(640, 400, 640, 400);
    hardware_img_tri3d(0, 0, -1, 1, 0, -1, 0, 1, -1, a, target, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1);
    hardware_img_struct* hw = hardware_img_at(target);
    GLuint texture = hw->texture, framebuffer = hw->dest_context_handle, depth = hw->depthbuffer_handle;
    free_hardware_img(target);
    EXPECT_EQ(fake_gl::count(fake_gl::call("delete_framebuffers", {1, double(framebuffer)})), 1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("delete_textures", {1, double(depth)})), 1);
    EXPECT_EQ(fake_gl::count(fake_gl::call("delete_textures", {1, double(texture)})), 1);
    EXPECT_EQ(hardware_img_at(target), nullptr);
    EXPECT_EQ(renderer_state().dest, -1);
    EXPECT_EQ(renderer_batch_vertex_floats(), 0) << "the pending triangle was not drawn before the release";

    // The source too: a new image with the same index is bound, not taken for the old one.
    free_hardware_img(a);
    EXPECT_EQ(renderer_state().source, -1);
    int32_t b = image(8, 8, 0xFF00FF00);
    ASSERT_EQ(b, a);
    set_render_source(b);
    EXPECT_EQ(renderer_state().source, b);
    EXPECT_EQ(fake_gl::uploaded, std::vector<uint32_t>(64, 0xFF00FF00));
}

TEST_F(RendererTextures, FreeOfAMissingImageOnlyAlerts) {
    free_hardware_img(77);
    EXPECT_EQ(alerts(), std::vector<std::string>{"free_hardware_img: image does not exist"});
    EXPECT_EQ(fake_gl::count_named("delete_textures"), 0);
}

}  // namespace
