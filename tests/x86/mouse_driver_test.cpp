// Interrupt 33h on the mouse ring: position and buttons of the newest message on
// graphics and text pages, and the show and hide services.
#include <string>
#include <vector>

#include "display/presenter_environment.h"
#include "file/byte_element.h"
#include "glut/glut_backend.h"
#include "glut/glut_queue.h"
#include "image/image_fixture.h"
#include "input/mouse_functions.h"
#include "input/mouse_ring.h"
#include "input/mouse_statements.h"
#include "string/zvs.h"
#include "support/mouse_fixture.h"
#include "x86/call_absolute.h"
#include "x86/cpu.h"
#include "x86/interrupts.h"

namespace {

class MouseDriver : public MouseFixture {
protected:
    void SetUp() override {
        MouseFixture::SetUp();
        cpu_reset_for_tests();
    }

    // The screen drawn at the window's origin, one window pixel per screen pixel.
    static void map(int32_t w, int32_t h) { MouseFixture::map(0, 0, 1, w, h); }

    struct answer {
        uint16_t bx, cx, dx;
    };
    // INT 33h service 3 through CALL INTERRUPT.
    static answer position() {
        uint8_t bytes[16] = {3, 0, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        byte_element_struct r{reinterpret_cast<uint64_t>(bytes), 16};
        call_interrupt(0x33, &r, &r);
        EXPECT_EQ(bytes[0] | bytes[1] << 8, 3);
        return {uint16_t(bytes[2] | bytes[3] << 8), uint16_t(bytes[4] | bytes[5] << 8),
                uint16_t(bytes[6] | bytes[7] << 8)};
    }
};

TEST_F(MouseDriver, PositionFollowsTheDisplayPage) {
    struct position_case {
        const char* what;
        int32_t mode, frame_w, frame_h;
        int32_t window_x, window_y;
        uint16_t cx, dx;
    };
    const position_case cases[] = {
        {"SCREEN 13 doubles x", 13, 320, 200, 50, 60, 100, 60},
        {"SCREEN 7 doubles x", 7, 320, 200, 319, 199, 638, 199},
        {"SCREEN 1 doubles x", 1, 320, 200, 3, 4, 6, 4},
        {"SCREEN 12 keeps x", 12, 640, 480, 50, 60, 50, 60},
        {"SCREEN 9 keeps x", 9, 640, 350, 639, 349, 639, 349},
        {"text: first cell centre", 0, 640, 400, 0, 0, 4, 4},
        {"text: last pixel of the first cell", 0, 640, 400, 7, 15, 4, 4},
        {"text: second column, second row", 0, 640, 400, 8, 16, 12, 12},
        {"text: last cell centre", 0, 640, 400, 639, 399, 636, 196},
    };
    for (const position_case& c : cases) {
        SCOPED_TRACE(c.what);
        screen(c.mode);
        map(c.frame_w, c.frame_h);
        GLUT_MOTION_FUNC(c.window_x, c.window_y);
        answer a = position();
        EXPECT_EQ(a.cx, c.cx);
        EXPECT_EQ(a.dx, c.dx);
    }
}

TEST_F(MouseDriver, ButtonsAreLeftAndRightOfTheNewestMessage) {
    screen(12);
    map(640, 480);
    struct button_case {
        const char* what;
        int glut_button, state;
        uint16_t bx;
    };
    // Presses accumulate in the ring: each row adds to the buttons before it.
    const button_case cases[] = {
        {"middle alone is not reported", 1, 0, 0},
        {"left", 0, 0, 1},
        {"right with left", 2, 0, 3},
        {"left released", 0, 1, 2},
        {"right released", 2, 1, 0},
    };
    for (const button_case& c : cases) {
        SCOPED_TRACE(c.what);
        GLUT_MOUSE_FUNC(c.glut_button, c.state, 10, 20);
        answer a = position();
        EXPECT_EQ(a.bx, c.bx);
        EXPECT_EQ(a.cx, 10);
        EXPECT_EQ(a.dx, 20);
    }
}

TEST_F(MouseDriver, PositionLeavesTheProgramsPlaceInTheRing) {
    screen(12);
    map(640, 480);
    GLUT_PASSIVEMOTION_FUNC(5, 6);
    GLUT_PASSIVEMOTION_FUNC(70, 80);
    answer a = position();
    EXPECT_EQ(a.cx, 70);
    EXPECT_EQ(a.dx, 80);
    // The program has read none of the four messages.
    EXPECT_EQ(func__mouseinput(), -1);
    EXPECT_EQ(func__mousex(), 5);
}

TEST_F(MouseDriver, ShowAndHideAreTheCursorStatements) {
    libzv_glut_set_up_for_tests(true);
    uint8_t hide[16] = {2};
    byte_element_struct r{reinterpret_cast<uint64_t>(hide), 16};
    call_interrupt(0x33, &r, &r);
    EXPECT_EQ(func__mousehidden(), -1);
    uint8_t show[16] = {1};
    r.offset = reinterpret_cast<uint64_t>(show);
    call_interrupt(0x33, &r, &r);
    EXPECT_EQ(func__mousehidden(), 0);
    libzv_process_glut_queue();
    EXPECT_EQ(fake_pointer::calls, (std::vector<std::string>{"cursor 101", "cursor 1"}));
    // Services the driver does not have change nothing.
    uint8_t other[16] = {4, 0, 9, 0};
    r.offset = reinterpret_cast<uint64_t>(other);
    call_interrupt(0x33, &r, &r);
    EXPECT_EQ(other[0], 4);
    EXPECT_EQ(other[2], 9);
    EXPECT_EQ(func__mousehidden(), 0);
}

}  // namespace
