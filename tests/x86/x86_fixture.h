// Conventional memory, the register file and the error latch made clean for each
// test, and small helpers to place machine code and read guest memory.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "error/error.h"
#include "memory/cmem.h"
#include "x86/call_absolute.h"
#include "x86/cpu.h"
#include "x86/interpreter.h"

class X86Test : public ::testing::Test {
protected:
    void SetUp() override {
        cmem_reset_for_tests();
        cpu_reset_for_tests();
        error_reset_for_tests();
        unknown_opcode_mess_global_init();
    }
    void TearDown() override { error_reset_for_tests(); }

    static constexpr uint16_t code_segment = 0x2000;

    static void place(uint32_t linear, const std::vector<uint8_t>& bytes) {
        memcpy(cmem + linear, bytes.data(), bytes.size());
    }
    static uint32_t peek(uint32_t linear, int size) {
        uint32_t v = 0;
        for (int i = size - 1; i >= 0; --i) v = v << 8 | cmem[linear + i];
        return v;
    }
    static uint32_t stack(uint16_t offset, int size = 2) { return peek(0xFFFF0 + offset, size); }

    // CALL ABSOLUTE of code at DEF SEG &H2000, offset 0.
    static void call_routine(const std::vector<uint8_t>& code, const std::vector<uint16_t>& args = {}) {
        place(code_segment * 16, code);
        sub_defseg(code_segment, 1);
        for (size_t i = 0; i < args.size(); ++i) call_absolute_set_offset(int32_t(i), args[i]);
        call_absolute(int32_t(args.size()), 0);
    }

    // The interpreter alone, from CS:IP = 2000:0000 with the registers as given.
    static x86_result run(const std::vector<uint8_t>& code, cpu_struct registers = {}) {
        place(code_segment * 16, code);
        registers.cs = code_segment;
        registers.ip = 0;
        cpu_registers() = registers;
        return cpu_call();
    }
};
