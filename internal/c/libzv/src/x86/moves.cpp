// MOV in its register, memory, segment-register and immediate forms.
#include "x86/instructions.h"

namespace {

// Bit 0 of the opcode picks a byte or a word (16 or 32 bits) operand.
int32_t operand_size(const x86_state& s) { return s.opcode & 1 ? x86_word_size(s) : 1; }

}  // namespace

x86_step x86_mov_rm_reg(x86_state& s) {
    int32_t size = operand_size(s), reg = x86_modrm_reg(s);
    x86_operand op = x86_decode_rm(s);
    x86_operand_write(s, op, size, cpu_reg(*s.cpu, reg, size));
    return x86_step::next;
}

x86_step x86_mov_reg_rm(x86_state& s) {
    int32_t size = operand_size(s), reg = x86_modrm_reg(s);
    x86_operand op = x86_decode_rm(s);
    cpu_set_reg(*s.cpu, reg, size, x86_operand_read(s, op, size));
    return x86_step::next;
}

// Segment moves are always 16 bits; a register destination keeps its upper half.
x86_step x86_mov_rm_sreg(x86_state& s) {
    int32_t n = x86_modrm_reg(s);
    if (n >= segment_register_count) return x86_step::unknown;
    x86_operand op = x86_decode_rm(s);
    x86_operand_write(s, op, 2, cpu_segreg(*s.cpu, n));
    return x86_step::next;
}

// Loading CS changes the register only: fetch goes on where it was.
x86_step x86_mov_sreg_rm(x86_state& s) {
    int32_t n = x86_modrm_reg(s);
    if (n >= segment_register_count) return x86_step::unknown;
    x86_operand op = x86_decode_rm(s);
    cpu_segreg(*s.cpu, n) = uint16_t(x86_operand_read(s, op, 2));
    if (n != seg_cs) x86_reload_segment(s, n);
    return x86_step::next;
}

// The offset is 16 bits whatever the address size.
x86_step x86_mov_acc_moffs(x86_state& s) {
    int32_t size = operand_size(s);
    uint32_t linear = s.seg + x86_fetch16(s);
    cpu_set_reg(*s.cpu, reg_ax, size, x86_mem_read(linear, size));
    return x86_step::next;
}

x86_step x86_mov_moffs_acc(x86_state& s) {
    int32_t size = operand_size(s);
    uint32_t linear = s.seg + x86_fetch16(s);
    x86_mem_write(linear, size, cpu_reg(*s.cpu, reg_ax, size));
    return x86_step::next;
}

// B0-B7 byte registers, B8-BF word registers; the register from the low three bits.
x86_step x86_mov_reg_imm(x86_state& s) {
    int32_t size = s.opcode & 8 ? x86_word_size(s) : 1;
    uint32_t value = size == 1 ? x86_fetch8(s) : x86_fetch_operand(s, size);
    cpu_set_reg(*s.cpu, s.opcode & 7, size, value);
    return x86_step::next;
}

// The immediate follows the operand's ModRM, scaled-index and displacement bytes.
x86_step x86_mov_rm_imm(x86_state& s) {
    int32_t size = operand_size(s);
    x86_operand op = x86_decode_rm(s);
    uint32_t value = size == 1 ? x86_fetch8(s) : x86_fetch_operand(s, size);
    x86_operand_write(s, op, size, value);
    return x86_step::next;
}
