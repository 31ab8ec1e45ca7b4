// The emulated register file and its access by encoding register number.
#include "x86/cpu.h"

#include <cassert>

namespace {

cpu_struct registers;

// Encoding order to fields: the fields keep the register file's documented order.
constexpr uint32_t cpu_struct::*reg32_field[8] = {&cpu_struct::eax, &cpu_struct::ecx, &cpu_struct::edx,
                                                  &cpu_struct::ebx, &cpu_struct::esp, &cpu_struct::ebp,
                                                  &cpu_struct::esi, &cpu_struct::edi};
constexpr uint16_t cpu_struct::*segreg_field[segment_register_count] = {
    &cpu_struct::es, &cpu_struct::cs, &cpu_struct::ss, &cpu_struct::ds, &cpu_struct::fs, &cpu_struct::gs};

}  // namespace

cpu_struct& cpu_registers() { return registers; }

void cpu_global_init() { registers = cpu_struct{}; }
void cpu_reset_for_tests() { cpu_global_init(); }

uint32_t cpu_reg32(const cpu_struct& cpu, int32_t n) { return cpu.*reg32_field[n & 7]; }
void cpu_set_reg32(cpu_struct& cpu, int32_t n, uint32_t value) { cpu.*reg32_field[n & 7] = value; }

uint16_t cpu_reg16(const cpu_struct& cpu, int32_t n) { return uint16_t(cpu_reg32(cpu, n)); }
void cpu_set_reg16(cpu_struct& cpu, int32_t n, uint16_t value) {
    uint32_t& r = cpu.*reg32_field[n & 7];
    r = (r & 0xFFFF0000u) | value;
}

uint8_t cpu_reg8(const cpu_struct& cpu, int32_t n) {
    uint32_t r = cpu_reg32(cpu, n & 3);
    return uint8_t(n & 4 ? r >> 8 : r);
}
void cpu_set_reg8(cpu_struct& cpu, int32_t n, uint8_t value) {
    uint32_t& r = cpu.*reg32_field[n & 3];
    if (n & 4)
        r = (r & 0xFFFF00FFu) | (uint32_t(value) << 8);
    else
        r = (r & 0xFFFFFF00u) | value;
}

uint32_t cpu_reg(const cpu_struct& cpu, int32_t n, int32_t size) {
    if (size == 1) return cpu_reg8(cpu, n);
    if (size == 2) return cpu_reg16(cpu, n);
    return cpu_reg32(cpu, n);
}

void cpu_set_reg(cpu_struct& cpu, int32_t n, int32_t size, uint32_t value) {
    if (size == 1)
        cpu_set_reg8(cpu, n, uint8_t(value));
    else if (size == 2)
        cpu_set_reg16(cpu, n, uint16_t(value));
    else
        cpu_set_reg32(cpu, n, value);
}

uint16_t& cpu_segreg(cpu_struct& cpu, int32_t n) {
    assert(n >= 0 && n < segment_register_count);
    return cpu.*segreg_field[n];
}
