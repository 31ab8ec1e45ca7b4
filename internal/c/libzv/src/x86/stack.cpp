// PUSH and POP of registers, segment registers, immediates and memory operands.
#include "x86/instructions.h"

namespace {

// Segment register of 06 0E 16 1E / 07 17 1F (bits 3-4) and of 0F A0 A1 A8 A9.
int32_t segment_of_opcode(uint8_t opcode) {
    if (opcode < 0x20) return opcode >> 3;
    return opcode & 8 ? seg_gs : seg_fs;
}

}  // namespace

// The stack pointer is SP, 16 bits; the upper half of ESP is never touched.
void x86_push(x86_state& s, int32_t size, uint32_t value) {
    uint16_t sp = uint16_t(cpu_reg16(*s.cpu, reg_sp) - size);
    cpu_set_reg16(*s.cpu, reg_sp, sp);
    x86_mem_write(s.segment_base[seg_ss] + sp, size, value);
}

uint32_t x86_pop(x86_state& s, int32_t size) {
    uint16_t sp = cpu_reg16(*s.cpu, reg_sp);
    uint32_t value = x86_mem_read(s.segment_base[seg_ss] + sp, size);
    cpu_set_reg16(*s.cpu, reg_sp, uint16_t(sp + size));
    return value;
}

// PUSH SP pushes the value from before the decrement.
x86_step x86_push_reg(x86_state& s) {
    int32_t size = x86_word_size(s);
    x86_push(s, size, cpu_reg(*s.cpu, s.opcode & 7, size));
    return x86_step::next;
}

// POP SP leaves SP equal to the value read.
x86_step x86_pop_reg(x86_state& s) {
    int32_t size = x86_word_size(s);
    uint32_t value = x86_pop(s, size);
    cpu_set_reg(*s.cpu, s.opcode & 7, size, value);
    return x86_step::next;
}

x86_step x86_push_imm(x86_state& s) {
    int32_t size = x86_word_size(s);
    x86_push(s, size, x86_fetch_operand(s, size));
    return x86_step::next;
}

// Sign-extended to 16 bits and always 2 bytes, with or without the size prefix.
x86_step x86_push_imm8(x86_state& s) {
    x86_push(s, 2, uint16_t(int16_t(int8_t(x86_fetch8(s)))));
    return x86_step::next;
}

x86_step x86_push_sreg(x86_state& s) {
    x86_push(s, 2, cpu_segreg(*s.cpu, segment_of_opcode(s.opcode)));
    return x86_step::next;
}

x86_step x86_pop_sreg(x86_state& s) {
    int32_t n = segment_of_opcode(s.opcode);
    cpu_segreg(*s.cpu, n) = uint16_t(x86_pop(s, 2));
    x86_reload_segment(s, n);
    return x86_step::next;
}

// SP is raised before the destination is decoded, so [SP]-relative forms see the new SP.
x86_step x86_pop_rm(x86_state& s) {
    int32_t size = x86_word_size(s);
    uint32_t value = x86_pop(s, size);
    x86_operand op = x86_decode_rm(s);
    x86_operand_write(s, op, size, value);
    return x86_step::next;
}

x86_step x86_group_ff(x86_state& s) {
    if (x86_modrm_reg(s) != 6) return x86_step::unknown;
    int32_t size = x86_word_size(s);
    x86_operand op = x86_decode_rm(s);
    x86_push(s, size, x86_operand_read(s, op, size));
    return x86_step::next;
}
