// Routines built by the assembler, run through CALL ABSOLUTE with arguments that
// name variables in the data segment, as programs passed them.
#include <cstring>
#include <vector>

#include "display/presenter_environment.h"
#include "image/image_fixture.h"
#include "input/mouse_functions.h"
#include "input/mouse_ring.h"
#include "x86/call_absolute.h"
#include "x86/cpu.h"

extern "C" const uint8_t zv_x86_mouse_start[], zv_x86_mouse_end[];
extern "C" const uint8_t zv_x86_copy_start[], zv_x86_copy_end[];

namespace {

class Routines : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        cmem_reset_for_tests();
        cpu_reset_for_tests();
        mouse_reset_for_tests();
        environment_2d_reset();
    }

    // Copies the routine to 3000:0100 and calls it with the given arguments.
    static void call(const uint8_t* start, const uint8_t* end, const std::vector<uint16_t>& args) {
        memcpy(cmem + 0x30100, start, size_t(end - start));
        sub_defseg(0x3000, 1);
        for (size_t i = 0; i < args.size(); ++i) call_absolute_set_offset(int32_t(i), args[i]);
        call_absolute(int32_t(args.size()), 0x100);
        sub_defseg(0, 0);
    }
    // A 16-bit variable in the data segment (DS 50h).
    static uint16_t variable(uint16_t offset) { return uint16_t(dblock[offset] | dblock[offset + 1] << 8); }
    static void set_variable(uint16_t offset, uint16_t v) {
        dblock[offset] = uint8_t(v);
        dblock[offset + 1] = uint8_t(v >> 8);
    }
};

TEST_F(Routines, MouseRoutineResetsAndReadsThePosition) {
    constexpr uint16_t m1 = 0x100, m2 = 0x102, m3 = 0x104, m4 = 0x106;
    set_variable(m1, 0);
    set_variable(m2, 0x1111);
    set_variable(m3, 0x2222);
    set_variable(m4, 0x3333);
    call(zv_x86_mouse_start, zv_x86_mouse_end, {m1, m2, m3, m4});
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(variable(m1), 0xFFFF);
    EXPECT_EQ(variable(m2), 2);
    EXPECT_EQ(variable(m3), 0x2222);
    EXPECT_EQ(variable(m4), 0x3333);
    EXPECT_EQ(cpu_registers().esp, 0xFFF4u);  // RETF 8 is not carried out: SP stays below the frame

    screen(13);
    environment_2d__screen_width = 320;
    environment_2d__screen_height = 200;
    GLUT_MOUSE_FUNC(0, 0, 40, 30);  // left button down at (40, 30)
    set_variable(m1, 3);
    call(zv_x86_mouse_start, zv_x86_mouse_end, {m1, m2, m3, m4});
    EXPECT_EQ(variable(m1), 3);
    EXPECT_EQ(variable(m2), 1);
    EXPECT_EQ(variable(m3), 80);
    EXPECT_EQ(variable(m4), 30);
}

TEST_F(Routines, CopyRoutineMovesThroughSegmentsAndTheStack) {
    const uint8_t source[] = {0x44, 0x33, 0x22, 0x11};
    memcpy(dblock + 0x200, source, sizeof source);
    call(zv_x86_copy_start, zv_x86_copy_end, {0x200, 0x300});
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(memcmp(dblock + 0x300, source, sizeof source), 0);
    EXPECT_EQ(variable(0x306), 0x1122);
    const cpu_struct& c = cpu_registers();
    EXPECT_EQ(c.eax, 0x11223344u);
    EXPECT_EQ(c.es, 0x50);
    EXPECT_EQ(c.edx, 0xFFFFu);  // the high word of the return address FFFF:FFFF
    EXPECT_EQ(c.cs, 0x3000);
}

}  // namespace
