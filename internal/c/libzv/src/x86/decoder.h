// The interpreter's run state, instruction fetch, guest memory access and the
// ModRM / scaled-index operand decoder. Everything is a linear offset into cmem.
#pragma once
#include <cstdint>

#include "x86/cpu.h"

// One run of the interpreter.
struct x86_state {
    cpu_struct* cpu;
    int64_t ip;  // linear offset of the next instruction byte; may pass the end of cmem
    uint32_t segment_base[segment_register_count];  // segment register * 16, by register number
    uint32_t seg;     // base of ordinary memory operands
    uint32_t seg_bp;  // base of operands addressed through BP, EBP or (scaled index) ESP
    bool b32;         // operand-size prefix seen
    bool a32;         // address-size prefix seen
    uint8_t opcode;   // the opcode, or the byte after 0F
};

// A run starting at CS:IP of the register file, with the bases of its segments.
x86_state x86_state_start(cpu_struct& cpu);
// Recomputes the base of segment register n after the register changed.
void x86_reload_segment(x86_state& s, int32_t n);

// Instruction stream: a byte beyond the end of cmem reads as 0.
uint8_t x86_peek8(const x86_state& s);
uint8_t x86_fetch8(x86_state& s);
uint16_t x86_fetch16(x86_state& s);
uint32_t x86_fetch32(x86_state& s);
// 2 or 4 bytes by the operand size.
uint32_t x86_fetch_operand(x86_state& s, int32_t size);
// Operand size of the current instruction: 4 with the operand-size prefix, else 2.
inline int32_t x86_word_size(const x86_state& s) { return s.b32 ? 4 : 2; }

// Guest memory, little-endian, 1 to 4 bytes at a linear offset. Operands never reach
// past FFFF:FFFF + 4 bytes, which cmem holds.
uint32_t x86_mem_read(uint32_t linear, int32_t size);
void x86_mem_write(uint32_t linear, int32_t size, uint32_t value);

// An operand named by a ModRM byte: a register number or a linear address.
struct x86_operand {
    bool is_register;
    int32_t reg;      // register number when is_register
    uint32_t linear;  // address otherwise
};

// Register field (bits 3-5) of the ModRM byte at ip, without consuming it.
inline int32_t x86_modrm_reg(const x86_state& s) { return (x86_peek8(s) >> 3) & 7; }
// Reads the ModRM byte at ip with its scaled-index byte and displacement.
x86_operand x86_decode_rm(x86_state& s);

uint32_t x86_operand_read(const x86_state& s, const x86_operand& op, int32_t size);
void x86_operand_write(x86_state& s, const x86_operand& op, int32_t size, uint32_t value);
