// CALL ABSOLUTE: the stack frame it builds, small routines run to their far return,
// and the two ways a run ends the process.
#include <functional>
#include <string>

#include "platform/alert.h"
#include "x86/x86_fixture.h"

namespace {

using CallAbsolute = X86Test;

TEST_F(CallAbsolute, BuildsTheFrameAndStartsAtDefSeg) {
    struct frame_case {
        std::vector<uint16_t> args;
        uint16_t sp;
    };
    const frame_case cases[] = {{{}, 0xFFFC}, {{0x1111}, 0xFFFA}, {{0x1111, 0x2222}, 0xFFF8}};
    for (const frame_case& c : cases) {
        SCOPED_TRACE(c.args.size());
        cmem_reset_for_tests();
        // Registers left over from an earlier call are cleared.
        cpu_registers().eax = 0xDEADBEEF;
        cpu_registers().es = 0x1234;
        call_routine({0xCB}, c.args);
        const cpu_struct& cpu = cpu_registers();
        EXPECT_EQ(cpu.cs, 0x2000);
        EXPECT_EQ(cpu.ss, 0xFFFF);
        EXPECT_EQ(cpu.ds, 0x50);
        EXPECT_EQ(cpu.esp, c.sp);
        EXPECT_EQ(cpu.eax, 0u);
        EXPECT_EQ(cpu.es, 0);
        // First argument highest, then the far return address FFFF:FFFF.
        uint16_t at = 0xFFFE;
        for (uint16_t a : c.args) {
            EXPECT_EQ(stack(at), a);
            at = uint16_t(at - 2);
        }
        EXPECT_EQ(stack(uint16_t(at - 2), 4), 0xFFFFFFFFu);
    }
}

TEST_F(CallAbsolute, StartsAtTheOffsetInTheDefSegSegment) {
    place(0x30000 + 0x1234, {0xB0, 0x77, 0xCB});
    sub_defseg(0x3000, 1);
    call_absolute(0, 0x1234);
    EXPECT_EQ(cpu_registers().cs, 0x3000);
    EXPECT_EQ(cpu_registers().ip, 0x1234);
    EXPECT_EQ(cpu_registers().eax, 0x77u);
}

TEST_F(CallAbsolute, ArgumentsBeyondTheTableAreNotPushed) {
    for (int32_t i = 0; i < call_absolute_offset_count; ++i) call_absolute_set_offset(i, uint16_t(i + 1));
    // Outside the table: ignored instead of written past it.
    call_absolute_set_offset(call_absolute_offset_count, 0xAAAA);
    call_absolute_set_offset(-1, 0xBBBB);
    EXPECT_EQ(call_absolute_offset(0), 1);
    EXPECT_EQ(call_absolute_offset(255), 256);
    place(0x20000, {0xCB});
    sub_defseg(0x2000, 1);
    call_absolute(1000, 0);
    EXPECT_EQ(cpu_registers().esp, 0xFFFCu - 2 * 256);
    EXPECT_EQ(stack(0xFFFE), 1u);
    EXPECT_EQ(stack(uint16_t(0x10000 - 2 * 256)), 256u);
    EXPECT_EQ(stack(uint16_t(0x10000 - 2 * 256 - 4), 4), 0xFFFFFFFFu);
    // A negative count pushes nothing.
    call_absolute(-5, 0);
    EXPECT_EQ(cpu_registers().esp, 0xFFFCu);
}

TEST_F(CallAbsolute, PendingErrorLeavesEverythingAlone) {
    cpu_registers().eax = 0x12345678;
    error(5);
    call_routine({0xB0, 0x01, 0xCB});
    EXPECT_EQ(cpu_registers().eax, 0x12345678u);
    EXPECT_EQ(cpu_registers().ss, 0);
    EXPECT_EQ(stack(0xFFFC, 4), 0u);
}

struct routine_case {
    const char* what;
    std::vector<uint8_t> code;
    std::vector<uint16_t> args;
    std::function<void(const cpu_struct&)> check;
};

TEST_F(CallAbsolute, RoutinesRunToTheirFarReturn) {
    const routine_case cases[] = {
        {"MOV AX,1234h; MOV [BX],AX stores at DS:BX", {0xB8, 0x34, 0x12, 0x89, 0x07, 0xCB}, {},
         [](const cpu_struct&) { EXPECT_EQ(peek(0x500, 2), 0x1234u); }},
        {"MOV AX,DS; MOV [10h],AX", {0x8C, 0xD8, 0xA3, 0x10, 0x00, 0xCB}, {},
         [](const cpu_struct&) { EXPECT_EQ(peek(0x510, 2), 0x50u); }},
        {"ES = B800h; MOV BYTE ES:[0],'A'",
         {0xB8, 0x00, 0xB8, 0x8E, 0xC0, 0x26, 0xC6, 0x06, 0x00, 0x00, 0x41, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(cmem[0xB8000], 'A');
             EXPECT_EQ(c.es, 0xB800);
         }},
        {"PUSH CS; POP DS: DS-relative reads see the code", {0x0E, 0x1F, 0xA0, 0x00, 0x00, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(c.eax, 0x0Eu);
             EXPECT_EQ(c.ds, 0x2000);
         }},
        {"66 B8 loads all of EAX", {0x66, 0xB8, 0x78, 0x56, 0x34, 0x12, 0xCB}, {},
         [](const cpu_struct& c) { EXPECT_EQ(c.eax, 0x12345678u); }},
        {"MOV SP,0; PUSH AX wraps SP", {0xBC, 0x00, 0x00, 0x50, 0xCB}, {},
         [](const cpu_struct& c) { EXPECT_EQ(c.esp, 0xFFFEu); }},
        {"66 6A FF pushes two bytes", {0x66, 0x6A, 0xFF, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(c.esp, 0xFFFAu);
             EXPECT_EQ(stack(0xFFFA, 4), 0xFFFFFFFFu);  // FFFFh above the return address' FFFFh
             EXPECT_EQ(stack(0xFFF8), 0u);
         }},
        {"PUSH 1234h; POP [ESP] sees SP already raised", {0x68, 0x34, 0x12, 0x67, 0x8F, 0x04, 0x24, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(stack(0xFFFC), 0x1234u);
             EXPECT_EQ(c.esp, 0xFFFCu);
         }},
        {"PUSH SP pushes the value before the decrement", {0x54, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(c.esp, 0xFFFAu);
             EXPECT_EQ(stack(0xFFFA), 0xFFFCu);
         }},
        {"POP SP leaves the value read", {0x68, 0x78, 0x56, 0x5C, 0xCB}, {},
         [](const cpu_struct& c) { EXPECT_EQ(c.esp, 0x5678u); }},
        {"32-bit PUSH EAX; POP EBX", {0x66, 0xB8, 0x78, 0x56, 0x34, 0x12, 0x66, 0x50, 0x66, 0x5B, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(c.ebx, 0x12345678u);
             EXPECT_EQ(c.esp, 0xFFFCu);
             EXPECT_EQ(stack(0xFFF8, 4), 0x12345678u);
         }},
        {"the upper half of ESP stays", {0x66, 0xBC, 0x00, 0x00, 0x01, 0x00, 0x50, 0xCB}, {},
         [](const cpu_struct& c) { EXPECT_EQ(c.esp, 0x1FFFEu); }},
        {"MOV [BX+2],ABCDh: the immediate follows the displacement", {0xC7, 0x47, 0x02, 0xCD, 0xAB, 0xCB}, {},
         [](const cpu_struct&) { EXPECT_EQ(peek(0x502, 2), 0xABCDu); }},
        {"66 C7 stores four bytes", {0x66, 0xC7, 0x06, 0x00, 0x01, 0x78, 0x56, 0x34, 0x12, 0xCB}, {},
         [](const cpu_struct&) { EXPECT_EQ(peek(0x600, 4), 0x12345678u); }},
        {"MOV AH,ABh; MOV BL,AH", {0x66, 0xBB, 0x78, 0x56, 0x34, 0x12, 0xB4, 0xAB, 0x88, 0xE3, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(c.eax, 0xAB00u);
             EXPECT_EQ(c.ebx, 0x123456ABu);
         }},
        {"MOV BX,SS keeps the upper half of EBX", {0x66, 0xBB, 0x78, 0x56, 0x34, 0x12, 0x8C, 0xD3, 0xCB}, {},
         [](const cpu_struct& c) { EXPECT_EQ(c.ebx, 0x1234FFFFu); }},
        {"66 8C still moves 16 bits", {0x66, 0xBB, 0x78, 0x56, 0x34, 0x12, 0x66, 0x8C, 0xD3, 0xCB}, {},
         [](const cpu_struct& c) { EXPECT_EQ(c.ebx, 0x1234FFFFu); }},
        {"MOV AX,[1234h]; MOV [0],EAX through A1/A3",
         {0x66, 0xB8, 0x44, 0x33, 0x22, 0x11, 0x66, 0xA3, 0x34, 0x12, 0xB0, 0x00, 0xA0, 0x35, 0x12, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(peek(0x500 + 0x1234, 4), 0x11223344u);
             EXPECT_EQ(c.eax, 0x11223333u);
         }},
        {"PUSH [0]; POP BX", {0xB8, 0xEF, 0xBE, 0xA3, 0x00, 0x00, 0xFF, 0x36, 0x00, 0x00, 0x5B, 0xCB}, {},
         [](const cpu_struct& c) { EXPECT_EQ(c.ebx, 0xBEEFu); }},
        {"POP ES takes effect for the next operand",
         {0x68, 0x00, 0x70, 0x07, 0x26, 0xC6, 0x06, 0x05, 0x00, 0x5A, 0x26, 0xA0, 0x05, 0x00, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(cmem[0x70005], 0x5A);
             EXPECT_EQ(c.eax, 0x5Au);
         }},
        {"POP FS, POP GS and their overrides; PUSH GS",
         {0x68, 0x00, 0x60, 0x0F, 0xA1, 0x64, 0xC6, 0x06, 0x00, 0x00, 0x77, 0x68, 0x00, 0x61, 0x0F, 0xA9,
          0x65, 0xC6, 0x06, 0x00, 0x00, 0x66, 0x0F, 0xA8, 0x5A, 0x0F, 0xA0, 0x59, 0xCB},
         {},
         [](const cpu_struct& c) {
             EXPECT_EQ(cmem[0x60000], 0x77);
             EXPECT_EQ(cmem[0x61000], 0x66);
             EXPECT_EQ(c.edx, 0x6100u);
             EXPECT_EQ(c.ecx, 0x6000u);
             EXPECT_EQ(c.esp, 0xFFFCu);
         }},
        {"PUSH ES, SS, DS; POP SS loads the stack base at once",
         {0x06, 0x16, 0x1E, 0x17, 0x5B, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(c.ss, 0x50);
             // The pop of BX read the new stack segment (zero there), not FFFF:FFF8 (FFFFh).
             EXPECT_EQ(c.ebx, 0u);
             EXPECT_EQ(c.esp, 0xFFFAu);
         }},
        {"MOV CS changes the register only; fetch goes on", {0xB8, 0x00, 0x30, 0x8E, 0xC8, 0xB0, 0x07, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(c.cs, 0x3000);
             EXPECT_EQ(c.eax, 0x3007u);
         }},
        {"arguments through BP on the stack segment",
         {0x89, 0xE5, 0x8B, 0x46, 0x04, 0x8B, 0x5E, 0x06, 0xCB}, {0x1111, 0x2222},
         [](const cpu_struct& c) {
             EXPECT_EQ(c.eax, 0x2222u);
             EXPECT_EQ(c.ebx, 0x1111u);
             EXPECT_EQ(c.ebp, 0xFFF8u);
         }},
        {"INT 33h reset from machine code", {0xB8, 0x00, 0x00, 0xCD, 0x33, 0xCB}, {},
         [](const cpu_struct& c) {
             EXPECT_EQ(c.eax, 0xFFFFu);
             EXPECT_EQ(c.ebx, 2u);
         }},
        {"INT 21h does nothing", {0xB8, 0x34, 0x12, 0xCD, 0x21, 0xCB}, {},
         [](const cpu_struct& c) { EXPECT_EQ(c.eax, 0x1234u); }},
        {"CA ends the run without reading its immediate", {0xB0, 0x09, 0xCA}, {},
         [](const cpu_struct& c) { EXPECT_EQ(c.eax, 0x09u); }},
    };
    for (const routine_case& c : cases) {
        SCOPED_TRACE(c.what);
        cmem_reset_for_tests();
        call_routine(c.code, c.args);
        EXPECT_EQ(new_error.load(), 0);
        c.check(cpu_registers());
    }
}

TEST_F(CallAbsolute, UnknownOpcodeAlertsAndExitsWith86) {
    EXPECT_EXIT(call_routine({0xD9}), ::testing::ExitedWithCode(86), "X86 Error.*Unknown Opcode \\(D9\\)");
    EXPECT_EXIT(call_routine({0x0F, 0x05}), ::testing::ExitedWithCode(86), "Unknown Opcode \\(05\\)");
}

TEST_F(CallAbsolute, ZeroByteExitsWithTheByteAtAddressZero) {
    sub_defseg(0, 1);
    sub_poke(0, 42);
    EXPECT_EXIT(call_routine({0xB0, 0x01, 0x00}), ::testing::ExitedWithCode(42), "");
}

TEST_F(CallAbsolute, OpcodeDigitsAreUpperCaseHex) {
    EXPECT_STREQ(unknown_opcode_mess_for(0xD9), "Unknown Opcode (D9)");
    EXPECT_STREQ(unknown_opcode_mess_for(0x0A), "Unknown Opcode (0A)");
    EXPECT_STREQ(unknown_opcode_mess_for(0x00), "Unknown Opcode (00)");
}

}  // namespace
