// The interpreter loop: prefixes in their fixed order, then the opcode tables.
#include "x86/interpreter.h"

#include <array>

#include "x86/decoder.h"
#include "x86/instructions.h"
#include "x86/interrupts.h"

namespace {

x86_step unknown(x86_state&) { return x86_step::unknown; }
x86_step far_return(x86_state&) { return x86_step::far_return; }

x86_step int_imm8(x86_state& s) {
    call_int(x86_fetch8(s));
    return x86_step::next;
}

using handler_table = std::array<x86_handler, 256>;

constexpr handler_table one_byte = [] {
    handler_table t{};
    for (x86_handler& h : t) h = unknown;
    t[0x88] = t[0x89] = x86_mov_rm_reg;
    t[0x8A] = t[0x8B] = x86_mov_reg_rm;
    t[0x8C] = x86_mov_rm_sreg;
    t[0x8E] = x86_mov_sreg_rm;
    t[0xA0] = t[0xA1] = x86_mov_acc_moffs;
    t[0xA2] = t[0xA3] = x86_mov_moffs_acc;
    for (int op = 0xB0; op <= 0xBF; ++op) t[op] = x86_mov_reg_imm;
    t[0xC6] = t[0xC7] = x86_mov_rm_imm;
    for (int op = 0x50; op <= 0x57; ++op) t[op] = x86_push_reg;
    for (int op = 0x58; op <= 0x5F; ++op) t[op] = x86_pop_reg;
    t[0x68] = x86_push_imm;
    t[0x6A] = x86_push_imm8;
    t[0x06] = t[0x0E] = t[0x16] = t[0x1E] = x86_push_sreg;
    t[0x07] = t[0x17] = t[0x1F] = x86_pop_sreg;
    t[0x8F] = x86_pop_rm;
    t[0xFF] = x86_group_ff;
    t[0xCD] = int_imm8;
    t[0xCA] = t[0xCB] = far_return;
    return t;
}();

// After 0F.
constexpr handler_table two_byte = [] {
    handler_table t{};
    for (x86_handler& h : t) h = unknown;
    t[0xA0] = t[0xA8] = x86_push_sreg;
    t[0xA1] = t[0xA9] = x86_pop_sreg;
    return t;
}();

// Prefixes, each at most once and only in this order; a prefix met later is the
// opcode (and so unknown). Returns the handler table the opcode belongs to.
const handler_table& read_prefixes(x86_state& s, uint8_t& b) {
    if (b == 0x66) {
        s.b32 = true;
        b = x86_fetch8(s);
    }
    if (b == 0x26) {
        s.seg = s.seg_bp = s.segment_base[seg_es];
        b = x86_fetch8(s);
    }
    if (b == 0x2E) {
        s.seg = s.seg_bp = s.segment_base[seg_cs];
        b = x86_fetch8(s);
    }
    if (b == 0x36) {
        s.seg = s.segment_base[seg_ss];
        b = x86_fetch8(s);
    }
    if (b == 0x3E) {
        s.seg_bp = s.segment_base[seg_ds];
        b = x86_fetch8(s);
    }
    if (b == 0x64) {
        s.seg = s.seg_bp = s.segment_base[seg_fs];
        b = x86_fetch8(s);
    }
    if (b == 0x65) {
        s.seg = s.seg_bp = s.segment_base[seg_gs];
        b = x86_fetch8(s);
    }
    if (b == 0x67) {
        s.a32 = true;
        b = x86_fetch8(s);
    }
    if (b == 0x0F) {
        b = x86_fetch8(s);
        return two_byte;
    }
    return one_byte;
}

}  // namespace

x86_result cpu_call() {
    x86_state s = x86_state_start(cpu_registers());
    for (;;) {
        s.b32 = s.a32 = false;
        s.seg = s.segment_base[seg_ds];
        s.seg_bp = s.segment_base[seg_ss];
        uint8_t b = x86_fetch8(s);
        const handler_table& table = read_prefixes(s, b);
        s.opcode = b;
        switch (table[b](s)) {
        case x86_step::far_return:
            return {x86_stop::far_return, 0};
        case x86_step::unknown:
            return {x86_stop::unknown_opcode, s.opcode};
        case x86_step::next:
            break;
        }
        if (x86_peek8(s) == 0) return {x86_stop::zero_byte, 0};
    }
}
