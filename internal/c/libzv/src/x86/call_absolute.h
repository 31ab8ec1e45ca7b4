// CALL ABSOLUTE, CALL INTERRUPT and CALL INTERRUPTX: the statements over the
// emulated register file.
#pragma once
#include <cstdint>

struct byte_element_struct;

// The argument table of CALL ABSOLUTE, written by translated code before the call.
constexpr int32_t call_absolute_offset_count = 256;
// Argument index (0-based) = value; indexes outside the table are ignored.
void call_absolute_set_offset(int32_t index, uint16_t value);
uint16_t call_absolute_offset(int32_t index);

// CALL ABSOLUTE: runs the machine code at DEF SEG:offset with the first `count`
// arguments on its stack (at most the table's 256). The registers stay in the
// register file. Ends the process on an unknown opcode (86, after the "X86 Error"
// alert) or on an instruction byte 0 (with the byte at linear address 0).
void call_absolute(int32_t count, uint16_t offset);

// CALL INTERRUPT (16-byte records) and CALL INTERRUPTX (20 bytes, with DS and ES):
// loads the in record's registers, runs the interrupt service, stores the same
// registers into the out record (which may be the in record). Error 5 for a short
// record, with the registers untouched.
void call_interrupt(int32_t number, byte_element_struct* in, byte_element_struct* out);
void call_interruptx(int32_t number, byte_element_struct* in, byte_element_struct* out);

// Start-up: the alert text with its two blank opcode digits.
void unknown_opcode_mess_global_init();
// Writes the opcode's two upper-case hexadecimal digits into the text and returns it.
const char* unknown_opcode_mess_for(uint8_t opcode);
