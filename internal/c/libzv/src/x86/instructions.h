// The instruction groups the interpreter dispatches to, one handler per opcode.
// A handler starts with ip just past the opcode and leaves it past the instruction.
#pragma once
#include <cstdint>

#include "x86/decoder.h"

enum class x86_step : uint8_t { next, far_return, unknown };

using x86_handler = x86_step (*)(x86_state& s);

// Data moves.
x86_step x86_mov_rm_reg(x86_state& s);      // 88, 89
x86_step x86_mov_reg_rm(x86_state& s);      // 8A, 8B
x86_step x86_mov_rm_sreg(x86_state& s);     // 8C
x86_step x86_mov_sreg_rm(x86_state& s);     // 8E
x86_step x86_mov_acc_moffs(x86_state& s);   // A0, A1
x86_step x86_mov_moffs_acc(x86_state& s);   // A2, A3
x86_step x86_mov_reg_imm(x86_state& s);     // B0-BF
x86_step x86_mov_rm_imm(x86_state& s);      // C6, C7

// Stack.
x86_step x86_push_reg(x86_state& s);        // 50-57
x86_step x86_pop_reg(x86_state& s);         // 58-5F
x86_step x86_push_imm(x86_state& s);        // 68
x86_step x86_push_imm8(x86_state& s);       // 6A
x86_step x86_push_sreg(x86_state& s);       // 06 0E 16 1E, 0F A0 0F A8
x86_step x86_pop_sreg(x86_state& s);        // 07 17 1F, 0F A1 0F A9
x86_step x86_pop_rm(x86_state& s);          // 8F
x86_step x86_group_ff(x86_state& s);        // FF (only PUSH r/m)

// Stack pushes and pops of 2 or 4 bytes at SS:SP; SP wraps within 16 bits.
void x86_push(x86_state& s, int32_t size, uint32_t value);
uint32_t x86_pop(x86_state& s, int32_t size);
