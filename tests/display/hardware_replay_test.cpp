// The hardware command list as the window thread walks it: which commands run in
// which layer, catch-up of skipped frames, retirement, and the life of a freed image.
#include <cstdlib>
#include <map>
#include <string>

#include "display/display_fixture.h"
#include "display/hardware_replay.h"
#include "image/hardware_queue.h"
#include "image/image_statements.h"

namespace {

// A renderer that records what it is asked to do; a free removes the record, as the
// real one does after releasing the texture.
struct recording_renderer {
    std::map<int32_t, std::string> names;  // command handle -> name
    std::vector<std::string> ran;

    static void execute(void* self, const hardware_graphics_command* c) {
        auto* r = static_cast<recording_renderer*>(self);
        for (auto& [handle, name] : r->names)
            if (hardware_command_at(handle) == c) r->ran.push_back(name);
    }
    static void free_image(void* self, int32_t index) {
        static_cast<recording_renderer*>(self)->ran.push_back("free " + std::to_string(index));
        hardware_img_remove(index);
    }
    hardware_command_executor executor() { return {this, execute, free_image}; }

    // One display callback showing frame order F with these layers.
    std::vector<std::string> callback(int64_t F, std::initializer_list<int32_t> layers) {
        ran.clear();
        hardware_replay_callback walk;
        for (int32_t layer : layers) hardware_commands_replay(walk, F, layer, executor());
        if (!walk.layers_replayed) hardware_commands_replay(walk, F, HARDWARE_LAYER_NONE, executor());
        return ran;
    }
};

class HardwareReplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        fresh();
    }

    // An empty command list and hardware images 1 to 9.
    void fresh() {
        hardware_images_reset_for_tests();
        renderer.names.clear();
        static uint32_t pixel = 0xFF00FF00;
        for (int32_t i = 1; i <= 9; i++) ASSERT_EQ(new_hardware_img(1, 1, &pixel, 3), i);
    }

    // A command as the drawing statements queue one: retirement first, then the tail.
    int32_t queue(const char* name, int64_t kind, int64_t order, int32_t src, int32_t dst) {
        flush_old_hardware_commands();
        display_frame_order_next = order;
        int32_t h = hardware_command_new();
        hardware_graphics_command* c = hardware_command_at(h);
        c->command = kind;
        c->src_img = src;
        c->dst_img = dst;
        hardware_command_queue(h);
        renderer.names[h] = name;
        return h;
    }

    // The queue of the walk table: c1 (5, put, layer), c2 (5, put, image 7),
    // c3 (6, put, layer), c4 (6, put, second layer), c5 (6, free of image 9),
    // c6 (7, put, layer).
    void queue_six() {
        c1 = queue("c1", HARDWARE_COMMAND_PUT, 5, 1, 0);
        c2 = queue("c2", HARDWARE_COMMAND_PUT, 5, 1, 7);
        c3 = queue("c3", HARDWARE_COMMAND_PUT, 6, 1, 0);
        c4 = queue("c4", HARDWARE_COMMAND_PUT, 6, 1, -1);
        c5 = queue("c5", HARDWARE_COMMAND_FREE, 6, 9, 0);
        c6 = queue("c6", HARDWARE_COMMAND_PUT, 7, 1, 0);
    }

    recording_renderer renderer;
    int32_t c1 = 0, c2 = 0, c3 = 0, c4 = 0, c5 = 0, c6 = 0;
};

using list = std::vector<std::string>;

}  // namespace

TEST_F(HardwareReplay, EachLayerRunsItsCommandsOfTheShownFrameOnce) {
    queue_six();
    EXPECT_EQ(renderer.callback(6, {HARDWARE_LAYER_MAIN, HARDWARE_LAYER_SECOND}), (list{"c2", "c3", "free 9", "c4"}));
    EXPECT_EQ(last_hardware_command_rendered.load(), c5);
    EXPECT_EQ(next_hardware_command_to_remove.load(), c1);
    for (int32_t h : {c1, c2, c3, c4, c5}) EXPECT_EQ(hardware_command_at(h)->remove, 1);
    EXPECT_EQ(hardware_command_at(c6)->remove, 0);

    // The same frame again (a resize) runs nothing; the next frame runs its own.
    EXPECT_EQ(renderer.callback(6, {HARDWARE_LAYER_MAIN, HARDWARE_LAYER_SECOND}), list{});
    EXPECT_EQ(last_hardware_command_rendered.load(), c5);
    EXPECT_EQ(renderer.callback(7, {HARDWARE_LAYER_MAIN, HARDWARE_LAYER_SECOND}), list{"c6"});
    EXPECT_EQ(last_hardware_command_rendered.load(), c6);
}

TEST_F(HardwareReplay, LayerOrderAndCallbacksWithoutAHardwareLayer) {
    struct row {
        std::initializer_list<int32_t> layers;
        list runs;
    };
    const row rows[] = {
        {{HARDWARE_LAYER_SECOND, HARDWARE_LAYER_MAIN}, {"c2", "c4", "free 9", "c3"}},
        {{HARDWARE_LAYER_MAIN}, {"c2", "c3", "free 9"}},
        // No hardware layer in the display order: frees and image work still run.
        {{}, {"c2", "free 9"}},
    };
    for (const row& r : rows) {
        fresh();
        queue_six();
        EXPECT_EQ(renderer.callback(6, r.layers), r.runs);
        EXPECT_EQ(last_hardware_command_rendered.load(), c5);
    }
}

TEST_F(HardwareReplay, RetirementStopsAtTheShownFrame) {
    queue_six();
    renderer.callback(6, {HARDWARE_LAYER_MAIN, HARDWARE_LAYER_SECOND});
    flush_old_hardware_commands();
    EXPECT_EQ(hardware_command_at(c1), nullptr);
    for (int32_t h : {c2, c3, c4, c5, c6}) EXPECT_NE(hardware_command_at(h), nullptr);
    EXPECT_EQ(next_hardware_command_to_remove.load(), c2);

    renderer.callback(7, {HARDWARE_LAYER_MAIN});
    flush_old_hardware_commands();
    // Everything before the last rendered command goes; that one and the tail stay.
    for (int32_t h : {c2, c3, c4}) EXPECT_EQ(hardware_command_at(h), nullptr);
    EXPECT_NE(hardware_command_at(c5), nullptr);
    EXPECT_NE(hardware_command_at(c6), nullptr);
    EXPECT_EQ(first_hardware_command.load(), c1);
}

TEST_F(HardwareReplay, AFreedImageLivesUntilTheRendererHasRunItsCommands) {
    int32_t image = 4, handle = HARDWARE_IMG_HANDLE_OFFSET + image;
    queue("put from image", HARDWARE_COMMAND_PUT, 5, image, 0);
    display_frame_order_next = 5;
    sub__freeimage(handle, 1);
    ASSERT_EQ(take_error(), 0);
    int32_t request = last_hardware_command_added.load();
    EXPECT_EQ(hardware_command_at(request)->command, HARDWARE_COMMAND_FREE_REQUEST);
    EXPECT_EQ(hardware_command_at(request)->order, 5);
    // Invalid at once for the program, still there for the renderer.
    EXPECT_EQ(get_hardware_img(handle), nullptr);
    EXPECT_NE(hardware_img_at(image), nullptr);

    EXPECT_EQ(renderer.callback(5, {HARDWARE_LAYER_MAIN}), list{"put from image"});
    queue("frame 6", HARDWARE_COMMAND_PUT, 6, 1, 0);
    EXPECT_EQ(renderer.callback(6, {HARDWARE_LAYER_MAIN}), list{"frame 6"});
    queue("frame 7", HARDWARE_COMMAND_PUT, 7, 1, 0);
    EXPECT_EQ(renderer.callback(7, {HARDWARE_LAYER_MAIN}), list{"frame 7"});

    // Passed by the renderer, the request becomes a free stamped with the next order.
    display_frame_order_next = 8;
    flush_old_hardware_commands();
    EXPECT_EQ(hardware_command_at(request), nullptr);
    hardware_graphics_command* free_command = hardware_command_at(last_hardware_command_added.load());
    ASSERT_NE(free_command, nullptr);
    EXPECT_EQ(free_command->command, HARDWARE_COMMAND_FREE);
    EXPECT_EQ(free_command->src_img, image);
    EXPECT_EQ(free_command->order, 8);

    // A put aimed at the image queued behind its free is passed over, not run.
    queue("put onto freed image", HARDWARE_COMMAND_PUT, 8, 1, image);
    EXPECT_EQ(renderer.callback(8, {HARDWARE_LAYER_MAIN}), list{"free 4"});
    EXPECT_EQ(hardware_img_at(image), nullptr);
    EXPECT_EQ(hardware_command_at(last_hardware_command_added.load())->remove, 1);

    // The index is taken again by the next hardware image.
    static uint32_t pixel = 1;
    EXPECT_EQ(new_hardware_img(1, 1, &pixel, 3), image);
}

TEST_F(HardwareReplay, ABrokenListIsReportedAndNothingRuns) {
    queue_six();
    last_hardware_command_rendered = 999;
    EXPECT_EQ(renderer.callback(6, {HARDWARE_LAYER_MAIN, HARDWARE_LAYER_SECOND}), list{});
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0], "Rendering: Last HGC is NULL!");
    EXPECT_EQ(last_hardware_command_rendered.load(), 999);
}

TEST_F(HardwareReplay, ImagesUploadedAtOnceStayTheCallers) {
    static int32_t uploaded_index;
    static const uint32_t* uploaded_pixels;
    uploaded_index = 0;
    hardware_img_set_uploader([](int32_t index, const uint32_t* pixels) {
        uploaded_index = index;
        uploaded_pixels = pixels;
    });
    uint32_t frame_pixels[6] = {};
    int32_t index = new_hardware_img(3, 2, frame_pixels, 0);
    EXPECT_EQ(uploaded_index, index);
    EXPECT_EQ(uploaded_pixels, frame_pixels);
    EXPECT_EQ(hardware_img_at(index)->software_pixel_buffer, nullptr);
    hardware_img_remove(index);

    // Flags 1 hand the buffer over for a later upload; the record frees it when it goes.
    uploaded_index = 0;
    auto* owned = static_cast<uint32_t*>(malloc(4 * sizeof(uint32_t)));
    index = new_hardware_img(2, 2, owned, 1);
    EXPECT_EQ(hardware_img_at(index)->software_pixel_buffer, owned);
    EXPECT_EQ(uploaded_index, 0);
    hardware_img_remove(index);
    EXPECT_EQ(hardware_img_at(index), nullptr);
}
