// The interpreter's instruction fetch, guest memory access and operand decoding.
#include "x86/decoder.h"

#include <cassert>

#include "memory/cmem.h"

x86_state x86_state_start(cpu_struct& cpu) {
    x86_state s{};
    s.cpu = &cpu;
    s.ip = int64_t(cpu.cs) * 16 + cpu.ip;
    for (int32_t n = 0; n < segment_register_count; ++n) x86_reload_segment(s, n);
    s.seg = s.segment_base[seg_ds];
    s.seg_bp = s.segment_base[seg_ss];
    return s;
}

void x86_reload_segment(x86_state& s, int32_t n) { s.segment_base[n] = uint32_t(cpu_segreg(*s.cpu, n)) * 16; }

// Guest bytes go through relaxed atomic views: other threads write the BIOS area.
uint8_t x86_peek8(const x86_state& s) {
    if (s.ip < 0 || s.ip >= cmem_size) return 0;
    return cmem_shared(s.ip).load(std::memory_order_relaxed);
}

uint8_t x86_fetch8(x86_state& s) {
    uint8_t b = x86_peek8(s);
    ++s.ip;
    return b;
}

uint16_t x86_fetch16(x86_state& s) {
    uint16_t lo = x86_fetch8(s);
    return uint16_t(lo | x86_fetch8(s) << 8);
}

uint32_t x86_fetch32(x86_state& s) {
    uint32_t lo = x86_fetch16(s);
    return lo | uint32_t(x86_fetch16(s)) << 16;
}

uint32_t x86_fetch_operand(x86_state& s, int32_t size) { return size == 4 ? x86_fetch32(s) : x86_fetch16(s); }

uint32_t x86_mem_read(uint32_t linear, int32_t size) {
    assert(int64_t(linear) + size <= cmem_size);
    uint32_t v = 0;
    for (int32_t i = size - 1; i >= 0; --i) v = v << 8 | cmem_shared(linear + i).load(std::memory_order_relaxed);
    return v;
}

void x86_mem_write(uint32_t linear, int32_t size, uint32_t value) {
    assert(int64_t(linear) + size <= cmem_size);
    for (int32_t i = 0; i < size; ++i) cmem_shared(linear + i).store(uint8_t(value >> (8 * i)), std::memory_order_relaxed);
}

namespace {

struct address {
    uint32_t offset;
    bool via_bp;  // addressed through BP, EBP or ESP: the stack segment's base
};

// 16-bit forms: r/m 0-7 are BX+SI, BX+DI, BP+SI, BP+DI, SI, DI, BP, BX.
address decode16(x86_state& s, int32_t mode, int32_t rm) {
    const cpu_struct& c = *s.cpu;
    static constexpr int8_t base_reg[8] = {reg_bx, reg_bx, reg_bp, reg_bp, reg_si, reg_di, reg_bp, reg_bx};
    static constexpr int8_t index_reg[8] = {reg_si, reg_di, reg_si, reg_di, -1, -1, -1, -1};
    if (mode == 0 && rm == 6) return {x86_fetch16(s), false};
    uint32_t offset = cpu_reg16(c, base_reg[rm]);
    if (index_reg[rm] >= 0) offset += cpu_reg16(c, index_reg[rm]);
    if (mode == 1) offset += uint32_t(int32_t(int8_t(x86_fetch8(s))));
    if (mode == 2) offset += x86_fetch16(s);
    return {offset, base_reg[rm] == reg_bp};
}

// Scaled-index byte: base + index * scale; index 4 is none; in mode 0, base 5 is a
// 32-bit displacement alone.
address decode_sib(x86_state& s, int32_t mode) {
    const cpu_struct& c = *s.cpu;
    uint8_t sib = x86_fetch8(s);
    int32_t scale = sib >> 6, index = (sib >> 3) & 7, base = sib & 7;
    uint32_t offset = 0;
    bool via_bp = false;
    if (mode == 0 && base == 5) {
        offset = x86_fetch32(s);
    } else {
        offset = cpu_reg32(c, base);
        via_bp = base == reg_sp || base == reg_bp;
    }
    if (index != 4) offset += cpu_reg32(c, index) << scale;
    return {offset, via_bp};
}

// 32-bit forms: r/m 0-7 are EAX, ECX, EDX, EBX, scaled index, EBP, ESI, EDI.
address decode32(x86_state& s, int32_t mode, int32_t rm) {
    address a;
    if (rm == 4)
        a = decode_sib(s, mode);
    else if (mode == 0 && rm == 5)
        return {x86_fetch32(s), false};
    else
        a = {cpu_reg32(*s.cpu, rm), rm == reg_bp};
    if (mode == 1) a.offset += uint32_t(int32_t(int8_t(x86_fetch8(s))));
    if (mode == 2) a.offset += x86_fetch32(s);
    return a;
}

}  // namespace

x86_operand x86_decode_rm(x86_state& s) {
    uint8_t modrm = x86_fetch8(s);
    int32_t mode = modrm >> 6, rm = modrm & 7;
    if (mode == 3) return {true, rm, 0};
    address a = s.a32 ? decode32(s, mode, rm) : decode16(s, mode, rm);
    // Every operand stays within its 64 KiB segment.
    return {false, 0, (a.via_bp ? s.seg_bp : s.seg) + (a.offset & 0xFFFF)};
}

uint32_t x86_operand_read(const x86_state& s, const x86_operand& op, int32_t size) {
    if (op.is_register) return cpu_reg(*s.cpu, op.reg, size);
    return x86_mem_read(op.linear, size);
}

void x86_operand_write(x86_state& s, const x86_operand& op, int32_t size, uint32_t value) {
    if (op.is_register)
        cpu_set_reg(*s.cpu, op.reg, size, value);
    else
        x86_mem_write(op.linear, size, value);
}
