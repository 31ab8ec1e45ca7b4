// The interpreter: operand addressing in every form, prefix order, and the ways a
// run stops.
#include <algorithm>
#include <string>

#include "x86/x86_fixture.h"

namespace {

using Interpreter = X86Test;

// Segments and registers the addressing cases run with. The marker A5h is in DH.
cpu_struct addressing_registers() {
    cpu_struct c{};
    c.ds = 0x1000;
    c.ss = 0x3000;
    c.es = 0x4000;
    c.fs = 0x5000;
    c.gs = 0x6000;
    c.eax = 0x11000;
    c.ecx = 8;
    c.edx = 0xA510;
    c.ebx = 0x100;
    c.esp = 0x800;
    c.ebp = 0x400;
    c.esi = 0x20;
    c.edi = 0x30;
    return c;
}

struct addressing_case {
    const char* what;
    std::vector<uint8_t> prefixes;
    uint8_t modrm;  // register field 0; the test makes it DH
    std::vector<uint8_t> rest;  // scaled-index byte and displacement
    uint32_t linear;
    std::vector<std::pair<int32_t, uint32_t>> registers = {};  // (32-bit register number, value) changes
};

// MOV r/m8, DH through each addressing form: exactly one byte of memory changes,
// and the following far return is reached (the operand's length is right).
TEST_F(Interpreter, MemoryOperandsInEveryAddressingForm) {
    const addressing_case cases[] = {
        {"[BX+SI]", {}, 0x00, {}, 0x10120},
        {"[BX+DI]", {}, 0x01, {}, 0x10130},
        {"[BP+SI] on SS", {}, 0x02, {}, 0x30420},
        {"[BP+DI] on SS", {}, 0x03, {}, 0x30430},
        {"[SI]", {}, 0x04, {}, 0x10020},
        {"[DI]", {}, 0x05, {}, 0x10030},
        {"mode 0 r/m 6 is a displacement alone", {}, 0x06, {0x34, 0x12}, 0x11234},
        {"[BX]", {}, 0x07, {}, 0x10100},
        {"[BX+SI+disp8]", {}, 0x40, {0x10}, 0x10130},
        {"[BP+disp8] with disp8 -1 on SS", {}, 0x46, {0xFF}, 0x303FF},
        {"[BX+disp8] with disp8 -1", {}, 0x47, {0xFF}, 0x100FF},
        {"[BP+disp16] on SS", {}, 0x86, {0x00, 0x10}, 0x31400},
        {"[BX+disp16] wraps in the segment", {}, 0x87, {0x00, 0xFF}, 0x10000},
        {"[BX+SI] with BX FFFFh and SI 2 is offset 1", {}, 0x00, {}, 0x10001, {{3, 0xFFFF}, {6, 2}}},
        {"ES:[BX+SI]", {0x26}, 0x00, {}, 0x40120},
        {"ES:[BP+SI]", {0x26}, 0x02, {}, 0x40420},
        {"CS:[BX+SI]", {0x2E}, 0x00, {}, 0x20120},
        {"CS:[BP+SI]", {0x2E}, 0x02, {}, 0x20420},
        {"SS:[BX+SI]", {0x36}, 0x00, {}, 0x30120},
        {"SS:[BP+SI]", {0x36}, 0x02, {}, 0x30420},
        {"DS:[BX+SI]", {0x3E}, 0x00, {}, 0x10120},
        {"DS:[BP+SI]", {0x3E}, 0x02, {}, 0x10420},
        {"FS:[BX+SI]", {0x64}, 0x00, {}, 0x50120},
        {"FS:[BP+SI]", {0x64}, 0x02, {}, 0x50420},
        {"GS:[BX+SI]", {0x65}, 0x00, {}, 0x60120},
        {"GS:[BP+SI]", {0x65}, 0x02, {}, 0x60420},
        {"36 then 3E: SS for plain operands, DS for BP ones", {0x36, 0x3E}, 0x00, {}, 0x30120},
        {"36 then 3E through BP", {0x36, 0x3E}, 0x02, {}, 0x10420},
        {"66 leaves the byte operand alone", {0x66}, 0x07, {}, 0x10100},
        {"[EAX] keeps the low 16 bits", {0x67}, 0x00, {}, 0x11000},
        {"[ECX]", {0x67}, 0x01, {}, 0x10008},
        {"[EDX]", {0x67}, 0x02, {}, 0x1A510},
        {"[EBX]", {0x67}, 0x03, {}, 0x10100},
        {"mode 0 r/m 5: disp32 alone, low 16 bits", {0x67}, 0x05, {0x78, 0x56, 0x34, 0x12}, 0x15678},
        {"[ESI]", {0x67}, 0x06, {}, 0x10020},
        {"[EDI]", {0x67}, 0x07, {}, 0x10030},
        {"[EBX+disp8]", {0x67}, 0x43, {0x04}, 0x10104},
        {"[EBP+disp8] on SS", {0x67}, 0x45, {0xFF}, 0x303FF},
        {"[EBP+disp32] on SS", {0x67}, 0x85, {0x00, 0x01, 0x00, 0x00}, 0x30500},
        {"scaled index: EBX + ECX*8", {0x67}, 0x04, {0xCB}, 0x10140},
        {"scaled index: ESP, no index, on SS", {0x67}, 0x04, {0x24}, 0x30800},
        {"scaled index: ESP + ECX", {0x67}, 0x04, {0x0C}, 0x30808},
        {"scaled index: ESP+disp8", {0x67}, 0x44, {0x24, 0x04}, 0x30804},
        {"scaled index: EBP+disp8 on SS", {0x67}, 0x44, {0x25, 0x04}, 0x30404},
        {"scaled index mode 0 base 5: disp32, no base, on DS", {0x67}, 0x04, {0x25, 0x78, 0x56, 0x34, 0x12}, 0x15678},
        {"scaled index mode 0 base 5 with ECX*8", {0x67}, 0x04, {0xCD, 0x00, 0x10, 0x00, 0x00}, 0x11040},
        {"scaled index: EAX + ECX*8 + disp32, reduced", {0x67}, 0x84, {0xC8, 0x00, 0x00, 0x01, 0x00}, 0x11040},
        {"ES override on an ESP base", {0x26, 0x67}, 0x04, {0x24}, 0x40800},
    };
    for (const addressing_case& c : cases) {
        SCOPED_TRACE(c.what);
        cmem_reset_for_tests();
        std::vector<uint8_t> code = c.prefixes;
        code.push_back(0x88);
        code.push_back(uint8_t(c.modrm | 6 << 3));
        code.insert(code.end(), c.rest.begin(), c.rest.end());
        code.push_back(0xCB);
        cpu_struct r = addressing_registers();
        for (auto [n, v] : c.registers) cpu_set_reg32(r, n, v);
        place(code_segment * 16, code);
        std::vector<uint8_t> before(cmem, cmem + cmem_size);
        x86_result result = run(code, r);
        EXPECT_EQ(result.stop, x86_stop::far_return);
        std::vector<uint32_t> changed;
        for (int64_t i = 0; i < cmem_size; ++i)
            if (cmem[i] != before[size_t(i)]) changed.push_back(uint32_t(i));
        EXPECT_EQ(changed, std::vector<uint32_t>{c.linear});
        EXPECT_EQ(cmem[c.linear], 0xA5);
    }
}

TEST_F(Interpreter, RegisterOperandsByEncodingNumber) {
    struct register_case {
        const char* what;
        std::vector<uint8_t> code;
        uint32_t eax, ecx, esp, edi;
    };
    // Start: EAX 11223344h, ECX 55667788h, ESP 99AABBCCh, EDI 0.
    const register_case cases[] = {
        {"MOV AH,CL: 8-bit 4 is bits 8-15 of EAX", {0x88, 0xCC}, 0x11228844, 0x55667788, 0x99AABBCC, 0},
        {"MOV CH,AL", {0x88, 0xC5}, 0x11223344, 0x55664488, 0x99AABBCC, 0},
        {"MOV DI,SP keeps the upper half", {0x89, 0xE7}, 0x11223344, 0x55667788, 0x99AABBCC, 0xBBCC},
        {"MOV EDI,ESP", {0x66, 0x89, 0xE7}, 0x11223344, 0x55667788, 0x99AABBCC, 0x99AABBCC},
        {"MOV CX,AX (8B)", {0x8B, 0xC8}, 0x11223344, 0x55663344, 0x99AABBCC, 0},
        {"MOV AL,CH (8A)", {0x8A, 0xC5}, 0x11223377, 0x55667788, 0x99AABBCC, 0},
        {"MOV AH,5 (B4)", {0xB4, 0x05}, 0x11220544, 0x55667788, 0x99AABBCC, 0},
        {"MOV EDI,imm32 (66 BF)", {0x66, 0xBF, 0x01, 0x02, 0x03, 0x04}, 0x11223344, 0x55667788, 0x99AABBCC,
         0x04030201},
        {"MOV r/m mode 3 with C6", {0xC6, 0xC4, 0x9A}, 0x11229A44, 0x55667788, 0x99AABBCC, 0},
    };
    for (const register_case& c : cases) {
        SCOPED_TRACE(c.what);
        cpu_struct r{};
        r.eax = 0x11223344;
        r.ecx = 0x55667788;
        r.esp = 0x99AABBCC;
        std::vector<uint8_t> code = c.code;
        code.push_back(0xCB);
        EXPECT_EQ(run(code, r).stop, x86_stop::far_return);
        const cpu_struct& out = cpu_registers();
        EXPECT_EQ(out.eax, c.eax);
        EXPECT_EQ(out.ecx, c.ecx);
        EXPECT_EQ(out.esp, c.esp);
        EXPECT_EQ(out.edi, c.edi);
    }
}

TEST_F(Interpreter, TheHighestOperandFitsInConventionalMemory) {
    cpu_struct r{};
    r.ds = 0xFFFF;
    r.eax = 0x11223344;
    // MOV [FFFFh],EAX writes the last four bytes FFFF:FFFF can reach.
    EXPECT_EQ(run({0x66, 0xA3, 0xFF, 0xFF, 0xCB}, r).stop, x86_stop::far_return);
    EXPECT_EQ(peek(0x10FFEF, 4), 0x11223344u);
    EXPECT_LE(0x10FFEF + 4, cmem_size);
    // Stack pushes at SS FFFFh wrap SP within the segment.
    r = cpu_struct{};
    r.ss = 0xFFFF;
    r.esp = 2;
    r.eax = 0xCAFEF00D;
    EXPECT_EQ(run({0x66, 0x50, 0xCB}, r).stop, x86_stop::far_return);
    EXPECT_EQ(cpu_registers().esp, 0xFFFEu);
    EXPECT_EQ(peek(0x10FFEE, 4), 0xCAFEF00Du);
}

struct stop_case {
    const char* what;
    std::vector<uint8_t> code;
    x86_stop stop;
    uint8_t opcode;
};

TEST_F(Interpreter, StopsAtFarReturnUnknownOpcodeOrZeroByte) {
    const stop_case cases[] = {
        {"far return CB", {0xCB}, x86_stop::far_return, 0},
        {"far return CA", {0xCA}, x86_stop::far_return, 0},
        {"an opcode outside the set", {0xD9}, x86_stop::unknown_opcode, 0xD9},
        {"NOP is not in the set", {0x90, 0xCB}, x86_stop::unknown_opcode, 0x90},
        {"0 at the entry is decoded", {0x00}, x86_stop::unknown_opcode, 0x00},
        {"0F with anything else shows the second byte", {0x0F, 0x05}, x86_stop::unknown_opcode, 0x05},
        {"0F 0F", {0x0F, 0x0F, 0xCB}, x86_stop::unknown_opcode, 0x0F},
        {"FF with a field other than 6", {0xFF, 0xC0}, x86_stop::unknown_opcode, 0xFF},
        {"FF /0 on memory", {0xFF, 0x06, 0x00, 0x00, 0xCB}, x86_stop::unknown_opcode, 0xFF},
        {"8C with segment register 6", {0x8C, 0xF0}, x86_stop::unknown_opcode, 0x8C},
        {"8E with segment register 7", {0x8E, 0xF8}, x86_stop::unknown_opcode, 0x8E},
        {"segment prefix before the size prefix", {0x26, 0x66, 0xB8, 0x00, 0x00, 0x00, 0x00, 0xCB},
         x86_stop::unknown_opcode, 0x66},
        {"a prefix twice", {0x66, 0x66, 0xB8, 0x00, 0x00, 0x00, 0x00, 0xCB}, x86_stop::unknown_opcode, 0x66},
        {"address size before a segment prefix", {0x67, 0x26, 0x88, 0x07, 0xCB}, x86_stop::unknown_opcode, 0x26},
        {"0 after an instruction", {0xB0, 0x01, 0x00}, x86_stop::zero_byte, 0},
        {"0 after an interrupt", {0xCD, 0x21, 0x00}, x86_stop::zero_byte, 0},
    };
    for (const stop_case& c : cases) {
        SCOPED_TRACE(c.what);
        cmem_reset_for_tests();
        x86_result result = run(c.code);
        EXPECT_EQ(result.stop, c.stop);
        EXPECT_EQ(result.opcode, c.opcode);
    }
}

TEST_F(Interpreter, FetchPastTheEndReadsZeroAndStops) {
    // MOV EAX,imm32 at FFFF:FFFF: its last two bytes lie beyond conventional memory.
    place(0x10FFEF, {0x66, 0xB8, 0x78, 0x56});
    cpu_struct r{};
    r.cs = 0xFFFF;
    r.ip = 0xFFFF;
    r.eax = 0xFFFFFFFF;
    cpu_registers() = r;
    x86_result result = cpu_call();
    EXPECT_EQ(result.stop, x86_stop::zero_byte);
    EXPECT_EQ(cpu_registers().eax, 0x5678u);
}

}  // namespace
