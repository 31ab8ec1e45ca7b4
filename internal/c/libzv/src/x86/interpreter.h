// The x86 interpreter: runs 16-bit machine code in conventional memory from CS:IP
// until a far return, an unknown opcode or an instruction byte 0.
#pragma once
#include <cstdint>

enum class x86_stop : uint8_t {
    far_return,      // CA or CB
    unknown_opcode,  // `opcode` holds the byte to show (the byte after 0F for two-byte forms)
    zero_byte,       // the byte after an instruction was 0
};

struct x86_result {
    x86_stop stop;
    uint8_t opcode;
};

// Runs from CS:IP of the register file. Fetch moves on linearly (IP is not updated);
// bytes beyond the end of conventional memory read as 0. Never ends the process.
x86_result cpu_call();
