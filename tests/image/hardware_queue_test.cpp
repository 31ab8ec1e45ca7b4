// The hardware command queue: free requests from _FREEIMAGE and the retirement of
// commands the renderer has passed.
#include "display/display.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"

using HardwareQueue = ImageTest;

namespace {

int32_t queued(int64_t kind, int64_t order, int32_t src = 0) {
    int32_t h = hardware_command_new();
    hardware_graphics_command* c = hardware_command_at(h);
    c->command = kind;
    c->src_img = src;
    display_frame_order_next = order;
    hardware_command_queue(h);
    return h;
}

}  // namespace

TEST_F(HardwareQueue, FreeImageQueuesOneFreeRequestAndInvalidatesTheHandle) {
    screen(12);
    int32_t h = func__newimage(4, 4, 32, 1);
    int32_t hw = func__copyimage(h, 33, 3);
    display_frame_order_next = 42;
    sub__freeimage(hw, 1);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(get_hardware_img(hw), nullptr);
    int32_t cmd = last_hardware_command_added.load();
    EXPECT_EQ(first_hardware_command.load(), cmd);
    hardware_graphics_command* c = hardware_command_at(cmd);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->command, HARDWARE_COMMAND_FREE_REQUEST);
    EXPECT_EQ(c->src_img, get_hardware_img_index(hw));
    EXPECT_EQ(c->order, 42);
    EXPECT_EQ(c->next_command, 0);
    EXPECT_EQ(c->remove, 0);
    // The record lives on until the renderer frees it.
    EXPECT_NE(hardware_img_at(get_hardware_img_index(hw)), nullptr);

    sub__freeimage(hw, 1);
    EXPECT_EQ(take_error(), 258);
    EXPECT_EQ(last_hardware_command_added.load(), cmd);
}

TEST_F(HardwareQueue, RetirementRemovesPassedCommandsAndTurnsFreeRequestsIntoFrees) {
    int32_t c1 = queued(HARDWARE_COMMAND_PUT, 5);
    int32_t c2 = queued(HARDWARE_COMMAND_FREE_REQUEST, 5, 9);
    int32_t c3 = queued(HARDWARE_COMMAND_PUT, 6);
    int32_t c4 = queued(HARDWARE_COMMAND_PUT, 7);
    EXPECT_EQ(first_hardware_command.load(), c1);
    EXPECT_EQ(hardware_command_at(c1)->next_command, c2);

    // Nothing is retired before the renderer has passed a command.
    flush_old_hardware_commands();
    EXPECT_NE(hardware_command_at(c1), nullptr);

    next_hardware_command_to_remove = c1;
    last_hardware_command_rendered = c4;
    display_frame_order_next = 8;
    flush_old_hardware_commands();
    EXPECT_EQ(hardware_command_at(c2), nullptr);
    EXPECT_NE(hardware_command_at(c3), nullptr);
    EXPECT_EQ(next_hardware_command_to_remove.load(), c3);

    // The free takes the handle C1 left (last freed first), at the end of the queue.
    int32_t freed = last_hardware_command_added.load();
    EXPECT_EQ(freed, c1);
    EXPECT_EQ(hardware_command_at(c4)->next_command, freed);
    hardware_graphics_command* f = hardware_command_at(freed);
    EXPECT_EQ(f->command, HARDWARE_COMMAND_FREE);
    EXPECT_EQ(f->src_img, 9);
    EXPECT_EQ(f->order, 8);

    // A second pass finds nothing more to retire.
    flush_old_hardware_commands();
    EXPECT_EQ(next_hardware_command_to_remove.load(), c3);
}
