// CALL INTERRUPT and CALL INTERRUPTX: a register record of the program in and out of
// the register file around one interrupt service.

#include "error/error.h"
#include "file/byte_element.h"
#include "x86/call_absolute.h"
#include "x86/cpu.h"
#include "x86/interrupts.h"

namespace {

// Record words in order: AX BX CX DX BP SI DI, FLAGS (never touched), then DS ES.
constexpr int32_t general_registers[7] = {reg_ax, reg_bx, reg_cx, reg_dx, reg_bp, reg_si, reg_di};
constexpr int32_t flags_word = 7;
constexpr int32_t record_bytes = 16, recordx_bytes = 20;

uint8_t* record_bytes_of(const byte_element_struct* e) { return reinterpret_cast<uint8_t*>(e->offset); }

uint16_t read_word(const uint8_t* record, int32_t word) {
    return uint16_t(record[word * 2] | record[word * 2 + 1] << 8);
}

void write_word(uint8_t* record, int32_t word, uint16_t value) {
    record[word * 2] = uint8_t(value);
    record[word * 2 + 1] = uint8_t(value >> 8);
}

void interrupt_with_record(int32_t number, byte_element_struct* in, byte_element_struct* out, bool segments) {
    if (new_error_is_set()) return;
    int32_t needed = segments ? recordx_bytes : record_bytes;
    if (!out || out->length < needed || !in || in->length < needed) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    cpu_struct& cpu = cpu_registers();
    const uint8_t* from = record_bytes_of(in);
    for (int32_t w = 0; w < 7; ++w) cpu_set_reg16(cpu, general_registers[w], read_word(from, w));
    if (segments) {
        cpu.ds = read_word(from, flags_word + 1);
        cpu.es = read_word(from, flags_word + 2);
    }
    call_int(number);
    uint8_t* to = record_bytes_of(out);
    for (int32_t w = 0; w < 7; ++w) write_word(to, w, cpu_reg16(cpu, general_registers[w]));
    if (segments) {
        write_word(to, flags_word + 1, cpu.ds);
        write_word(to, flags_word + 2, cpu.es);
    }
}

}  // namespace

void call_interrupt(int32_t number, byte_element_struct* in, byte_element_struct* out) {
    interrupt_with_record(number, in, out, false);
}

void call_interruptx(int32_t number, byte_element_struct* in, byte_element_struct* out) {
    interrupt_with_record(number, in, out, true);
}
