// The emulated register file shared by CALL ABSOLUTE and CALL INTERRUPT, and its
// access by the register numbers of the x86 instruction encoding.
#pragma once
#include <cstdint>

struct cpu_struct {
    uint32_t eax, ebx, ecx, edx, esi, edi, ebp, esp;
    uint16_t cs, ss, ds, es, fs, gs;
    uint16_t ip;
};

// The one register file of the process (program thread only).
cpu_struct& cpu_registers();

// Start-up: every register 0.
void cpu_global_init();
void cpu_reset_for_tests();

// Register numbers as the instruction encoding gives them:
//   32 bits: EAX ECX EDX EBX ESP EBP ESI EDI; 16 bits: their low halves;
//   8 bits: AL CL DL BL, then AH CH DH BH (bits 8-15 of EAX ECX EDX EBX);
//   segments: ES CS SS DS FS GS (numbers 6 and 7 name none).
uint32_t cpu_reg32(const cpu_struct& cpu, int32_t n);
void cpu_set_reg32(cpu_struct& cpu, int32_t n, uint32_t value);
uint16_t cpu_reg16(const cpu_struct& cpu, int32_t n);
void cpu_set_reg16(cpu_struct& cpu, int32_t n, uint16_t value);  // the upper half stays
uint8_t cpu_reg8(const cpu_struct& cpu, int32_t n);
void cpu_set_reg8(cpu_struct& cpu, int32_t n, uint8_t value);  // the other bytes stay
// A register of 1, 2 or 4 bytes by number; narrower writes keep the other bits.
uint32_t cpu_reg(const cpu_struct& cpu, int32_t n, int32_t size);
void cpu_set_reg(cpu_struct& cpu, int32_t n, int32_t size, uint32_t value);

constexpr int32_t seg_es = 0, seg_cs = 1, seg_ss = 2, seg_ds = 3, seg_fs = 4, seg_gs = 5;
constexpr int32_t segment_register_count = 6;
uint16_t& cpu_segreg(cpu_struct& cpu, int32_t n);

// Register numbers used by name.
constexpr int32_t reg_ax = 0, reg_cx = 1, reg_dx = 2, reg_bx = 3, reg_sp = 4, reg_bp = 5, reg_si = 6, reg_di = 7;
