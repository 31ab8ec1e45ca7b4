// CALL ABSOLUTE: the stack frame it builds, the run, and how the run's stops end the process.
#include "x86/call_absolute.h"

#include <algorithm>
#include <cstring>

#include "error/error.h"
#include "memory/cmem.h"
#include "platform/alert.h"
#include "platform/process_exit.h"
#include "x86/cpu.h"
#include "x86/decoder.h"
#include "x86/interpreter.h"

namespace {

uint16_t offsets[call_absolute_offset_count];

constexpr char blank_message[] = "Unknown Opcode (  )";
char unknown_opcode_mess[sizeof blank_message];
constexpr int32_t opcode_digits_at = 16;

// The far return address FFFF:FFFF that the routine's RETF would take.
constexpr uint32_t return_address = 0xFFFFFFFFu;

}  // namespace

void call_absolute_set_offset(int32_t index, uint16_t value) {
    if (index >= 0 && index < call_absolute_offset_count) offsets[index] = value;
}

uint16_t call_absolute_offset(int32_t index) {
    return index >= 0 && index < call_absolute_offset_count ? offsets[index] : 0;
}

void unknown_opcode_mess_global_init() { memcpy(unknown_opcode_mess, blank_message, sizeof blank_message); }

const char* unknown_opcode_mess_for(uint8_t opcode) {
    static constexpr char hex[] = "0123456789ABCDEF";
    if (!unknown_opcode_mess[0]) unknown_opcode_mess_global_init();
    unknown_opcode_mess[opcode_digits_at] = hex[opcode >> 4];
    unknown_opcode_mess[opcode_digits_at + 1] = hex[opcode & 15];
    return unknown_opcode_mess;
}

void call_absolute(int32_t count, uint16_t offset) {
    if (new_error_is_set()) return;
    cpu_struct& cpu = cpu_registers();
    cpu = cpu_struct{};
    cpu.cs = uint16_t((defseg - cmem) / 16);
    cpu.ip = offset;
    cpu.ss = 0xFFFF;
    cpu.ds = 0x50;
    const uint32_t stack_base = uint32_t(cpu.ss) * 16;
    count = std::clamp(count, 0, call_absolute_offset_count);
    for (int32_t i = 0; i < count; ++i) {
        uint16_t sp = uint16_t(cpu_reg16(cpu, reg_sp) - 2);
        cpu_set_reg16(cpu, reg_sp, sp);
        x86_mem_write(stack_base + sp, 2, offsets[i]);
    }
    uint16_t sp = uint16_t(cpu_reg16(cpu, reg_sp) - 4);
    cpu_set_reg16(cpu, reg_sp, sp);
    x86_mem_write(stack_base + sp, 4, return_address);

    x86_result result = cpu_call();
    switch (result.stop) {
    case x86_stop::far_return:
        return;
    case x86_stop::unknown_opcode:
        gui_alert(unknown_opcode_mess_for(result.opcode), "X86 Error", "ok");
        libzv_process_exit(86);
    case x86_stop::zero_byte:
        libzv_process_exit(cmem_shared(0).load(std::memory_order_relaxed));
    }
}
