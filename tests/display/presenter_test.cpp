// The display callback: hand-over of the newest frame, when it draws and swaps, the
// layers in display order, the frame order it marks rendered, and the window
// following the frame.
#include "display/presenter_fixture.h"

namespace {

using Presenter = PresenterTest;

TEST_F(Presenter, NewestReadyFrameIsShownAndOlderOnesAreFreed) {
    frame(0, FRAME_SHOWN, 3);
    frame(1, FRAME_READY, 5);
    frame(2, FRAME_READY, 4);
    last_hardware_display_frame_order = 5;
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(slot(0)->state.load(), FRAME_FREE);
    EXPECT_EQ(slot(1)->state.load(), FRAME_SHOWN);
    EXPECT_EQ(slot(2)->state.load(), FRAME_FREE);
    EXPECT_EQ(fake_window::swaps, 1);
    EXPECT_EQ(last_rendered_hardware_display_frame_order.load(), 5);
    EXPECT_EQ(environment_2d__screen_width.load(), 640);
}

TEST_F(Presenter, NothingNewMeansNoDrawingAndNoSwap) {
    produced(2, 1);
    GLUT_DISPLAY_REQUEST();
    fake_gl::calls.clear();
    GLUT_DISPLAY_REQUEST();
    EXPECT_TRUE(fake_gl::calls.empty());
    EXPECT_EQ(fake_window::swaps, 1);
}

TEST_F(Presenter, BeforeTheFirstFrameNothingIsDrawn) {
    GLUT_DISPLAY_REQUEST();
    EXPECT_TRUE(fake_gl::calls.empty());
    EXPECT_EQ(fake_window::swaps, 0);
}

TEST_F(Presenter, ANewFrameOrderAloneDrawsNothing) {
    produced(2, 1);
    GLUT_DISPLAY_REQUEST();
    fake_gl::calls.clear();
    for (int32_t i = 0; i < 3; i++) {
        unchanged();
        GLUT_DISPLAY_REQUEST();
    }
    EXPECT_TRUE(fake_gl::calls.empty());
    EXPECT_EQ(fake_window::swaps, 1);
}

// A put of a 4 x 4 hardware image on the hardware layer, stamped with the next order.
void queue_layer_put(int32_t sprite) {
    int32_t h = hardware_command_new();
    hardware_graphics_command* c = hardware_command_at(h);
    c->command = HARDWARE_COMMAND_PUT;
    c->src_img = sprite;
    c->dst_img = 0;
    c->dst_x2 = c->dst_y2 = c->src_x2 = c->src_y2 = 3;
    hardware_command_queue(h);
}

TEST_F(Presenter, HardwareWorkOfANewOrderRedrawsTheShownFrameFromItsTexture) {
    produced(2, 1);
    GLUT_DISPLAY_REQUEST();
    queue_layer_put(image(4, 4));
    unchanged();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::swaps, 2);
    EXPECT_EQ(fake_gl::count_named("tex_image_2d"), 2) << "the same frame was uploaded again";
    EXPECT_EQ(fake_gl::count(fake_gl::call("draw_arrays", {0, 6})), 3);
    EXPECT_EQ(last_rendered_hardware_display_frame_order.load(), 2);
    // The next order drops the put from the picture, once.
    unchanged();
    GLUT_DISPLAY_REQUEST();
    unchanged();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::swaps, 3);
    EXPECT_EQ(fake_gl::count(fake_gl::call("draw_arrays", {0, 6})), 4);
}

// A program that sleeps: the producer keeps running on a page that does not change.
TEST_F(Presenter, WhileThePageStaysTheSameNothingIsSwapped) {
    for (int32_t mode : {12, 32, 0}) {
        SCOPED_TRACE(mode);
        fake_window::reset();
        img_struct* page = mode == 32 ? graphics_page(640, 480, 32) : img_get(screen(mode));
        page->pixels[5] = 3;
        for (int32_t call = 0; call < 30; call++) {
            display();
            GLUT_DISPLAY_REQUEST();
        }
        // A text page makes a new frame at each turn of the blink phase only.
        EXPECT_EQ(fake_window::swaps, 1);
        page->pixels[5] = 4;
        display();
        GLUT_DISPLAY_REQUEST();
        EXPECT_EQ(fake_window::swaps, 2);
    }
}

TEST_F(Presenter, AnUncoveredWindowIsDrawnAgain) {
    produced(2, 1);
    GLUT_DISPLAY_REQUEST();
    presenter_window_exposed();
    GLUT_DISPLAY_REQUEST();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::swaps, 2);
}

// Hardware drawing is replayed once; an uncovered window shows it again from the copy
// kept when it was drawn, and the next order still drops it.
TEST_F(Presenter, AnUncoveredWindowKeepsItsHardwareDrawing) {
    window_size(640, 400);
    produced(2, 1);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_gl::count_named("copy_tex_image_2d"), 0) << "nothing to keep without hardware drawing";
    queue_layer_put(image(4, 4));
    unchanged();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_gl::count(fake_gl::call("copy_tex_image_2d", {640, 400})), 1);

    fake_gl::calls.clear();
    fake_gl::drawn.clear();
    presenter_window_exposed();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::swaps, 3);
    EXPECT_EQ(fake_gl::count(fake_gl::call("draw_arrays", {0, 6})), 0) << "the frame and the put were drawn again";
    ASSERT_EQ(fake_gl::count(fake_gl::call("draw_arrays", {0, 4})), 1);
    EXPECT_EQ(fake_gl::drawn.back(), (std::vector<float>{-1, -1, 1, -1, -1, 1, 1, 1}));

    // A later order redraws the frame alone; uncovered again, it is drawn, not restored.
    unchanged();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_gl::count(fake_gl::call("draw_arrays", {0, 6})), 1);
    presenter_window_exposed();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_gl::count(fake_gl::call("draw_arrays", {0, 6})), 2);
    EXPECT_EQ(fake_gl::count(fake_gl::call("draw_arrays", {0, 4})), 1);
    EXPECT_EQ(fake_window::swaps, 5);
}

TEST_F(Presenter, ANewerFrameReplacesTheScreenTexture) {
    produced(2, 1);
    GLUT_DISPLAY_REQUEST();
    int32_t first = software_screen_hardware_frame();
    GLuint first_texture = hardware_img_at(first)->texture;
    produced(1, 2, 640, 400, 0xFF00FF00);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_gl::count(fake_gl::call("delete_textures", {1, double(first_texture)})), 1);
    EXPECT_EQ(fake_gl::uploaded, std::vector<uint32_t>(640 * 400, 0xFF00FF00));
}

// A put stamped with order 2, and that order published by the producer, while the
// presenter draws frame order 1.
int32_t sprite_for_order_2 = 0;
void publish_next_order() {
    if (display_frame_order_next.load() != 2) return;
    queue_layer_put(sprite_for_order_2);
    last_hardware_display_frame_order = display_frame_order_next++;
}

TEST_F(Presenter, AnOrderPublishedDuringTheDrawIsReplayedNextTime) {
    produced(2, 1);
    sprite_for_order_2 = image(4, 4);
    fake_gl::on_draw = publish_next_order;
    GLUT_DISPLAY_REQUEST();
    fake_gl::on_draw = nullptr;
    EXPECT_EQ(last_rendered_hardware_display_frame_order.load(), 1);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::swaps, 2);
    EXPECT_EQ(last_rendered_hardware_display_frame_order.load(), 2);
    EXPECT_EQ(fake_gl::drawn.size(), 3u) << "the screen twice and the put of order 2";
}

TEST_F(Presenter, WhilePausedFramesAreDrawnButNotSwapped) {
    suspend_program = 1;
    produced(2, 1);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_gl::count_named("draw_arrays"), 1);
    EXPECT_EQ(fake_window::swaps, 0);
    // Once the program goes on, the picture drawn meanwhile is shown.
    suspend_program = 0;
    GLUT_DISPLAY_REQUEST();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::swaps, 1);
}

TEST_F(Presenter, SoftwareScreenIsOpaqueFirstAndBlendedLater) {
    produced(2, 1);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(renderer_state().use_alpha, 0);
    sub__displayorder(2, 1, 0, 0);
    unchanged();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(renderer_state().use_alpha, 1);
}

// A display order (_DISPLAYORDER codes: 1 screen, 2 hardware layer, 3 the second
// hardware layer, 4 the program's own OpenGL, which draws nothing) and the draws it gives.
struct order_case {
    int32_t codes[4];
    std::vector<std::string> draws;  // "screen", or "put" and the put's left edge
};
class DisplayOrderDraws : public PresenterTest, public testing::WithParamInterface<order_case> {};

TEST_P(DisplayOrderDraws, LayersAreReplayedInDisplayOrder) {
    environment(640, 400, 640, 400);
    produced(2, 1);
    int32_t sprite = image(4, 4);
    auto queue_put = [sprite](int32_t layer, float x) {
        int32_t h = hardware_command_new();
        hardware_graphics_command* c = hardware_command_at(h);
        c->command = HARDWARE_COMMAND_PUT;
        c->src_img = sprite;
        c->dst_img = layer;
        c->dst_x1 = x;
        c->dst_x2 = x + 3;
        c->dst_y2 = 3;
        c->src_x2 = c->src_y2 = 3;
        hardware_command_queue(h);
    };
    display_frame_order_next = 1;
    queue_put(-1, 100);  // second hardware layer
    queue_put(0, 200);   // hardware layer
    const order_case& o = GetParam();
    sub__displayorder(o.codes[0], o.codes[1], o.codes[2], o.codes[3]);
    GLUT_DISPLAY_REQUEST();
    std::vector<std::string> draws;
    for (const auto& d : fake_gl::drawn) draws.push_back(d[2] == 640 ? "screen" : "put " + std::to_string(int(d[0])));
    EXPECT_EQ(draws, o.draws);
    EXPECT_EQ(fake_window::swaps, 1);
}

INSTANTIATE_TEST_SUITE_P(Orders, DisplayOrderDraws,
                         testing::Values(order_case{{3, 1, 2, 0}, {"put 100", "screen", "put 200"}},
                                         order_case{{4, 3, 1, 2}, {"put 100", "screen", "put 200"}},
                                         order_case{{4, 0, 0, 0}, {}}));

TEST_F(Presenter, WithoutAHardwareLayerFreesStillRun) {
    produced(2, 1);
    int32_t doomed = image(4, 4);
    int32_t h = hardware_command_new();
    hardware_command_at(h)->command = HARDWARE_COMMAND_FREE;
    hardware_command_at(h)->src_img = doomed;
    display_frame_order_next = 1;
    hardware_command_queue(h);
    sub__displayorder(1, 0, 0, 0);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(hardware_img_at(doomed), nullptr);
    EXPECT_EQ(last_hardware_command_rendered.load(), h);
}

TEST_F(Presenter, FramesShownWhileTheScreenLayerWasOffAreNotLeftBehind) {
    produced(2, 1, 640, 400, 0xFF111111);
    GLUT_DISPLAY_REQUEST();
    sub__displayorder(2, 0, 0, 0);
    produced(1, 2, 640, 400, 0xFF222222);
    GLUT_DISPLAY_REQUEST();
    sub__displayorder(1, 2, 0, 0);
    unchanged();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_gl::uploaded, std::vector<uint32_t>(640 * 400, 0xFF222222));
}

TEST_F(Presenter, LetterboxBarsCoverTheWindowBesideTheScreen) {
    window_size(800, 400);
    resize_pending = 0;
    full_screen = 2;
    produced(2, 1, 320, 200);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(environment_2d__letterbox.load(), 1);
    ASSERT_EQ(fake_gl::drawn.size(), 2u);
    const std::vector<float>& bars = fake_gl::drawn[1];
    ASSERT_EQ(bars.size(), 24u);
    // Left bar from the window's left edge (or beyond) to x 80; right bar from x 720 on.
    EXPECT_LE(bars[0], 0);
    EXPECT_EQ(bars[2], 80);
    EXPECT_EQ(bars[12], 720);
    EXPECT_GE(bars[14], 800);
    EXPECT_EQ(bars[5], 400);
}

TEST_F(Presenter, OverlayImageIsDrawnOverTheScreenWhenValid) {
    produced(2, 1, 320, 200);
    window_size(320, 200);
    int32_t overlay = image(2, 2);
    requestKeyboardOverlayImage(HARDWARE_IMG_HANDLE_OFFSET + overlay);
    GLUT_DISPLAY_REQUEST();
    ASSERT_EQ(fake_gl::drawn.size(), 2u);
    EXPECT_EQ(fake_gl::drawn[1][2], 320);
    requestKeyboardOverlayImage(-5);  // not a hardware image: skipped
    unchanged();
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_gl::drawn.size(), 3u);
}

TEST_F(Presenter, ReshapeRecordsTheNewSizeAndAResizeEvent) {
    window_size(800, 600);
    EXPECT_EQ(display_x.load(), 800);
    EXPECT_EQ(display_y.load(), 600);
    EXPECT_EQ(display_x_prev.load(), 640);
    EXPECT_EQ(display_y_prev.load(), 400);
    EXPECT_EQ(resize_event.load(), -1);
    EXPECT_EQ(resize_event_x.load(), 800);
    EXPECT_EQ(resize_pending.load(), 0);
    EXPECT_EQ(os_resize_event.load(), 1);
}

TEST_F(Presenter, AReshapeAloneRedrawsTheShownFrame) {
    produced(2, 1);
    GLUT_DISPLAY_REQUEST();
    window_size(640, 400);
    GLUT_DISPLAY_REQUEST();
    EXPECT_EQ(fake_window::swaps, 2);
    EXPECT_EQ(os_resize_event.load(), 0);
}

}  // namespace
