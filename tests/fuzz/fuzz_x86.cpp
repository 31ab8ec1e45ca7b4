// CALL ABSOLUTE of random machine code: arguments on the stack, code at a DEF SEG
// segment and offset the input picks (near the end of memory too). Unknown opcodes and
// zero bytes end the run through the process-exit seam.
#include "fuzz_support.h"

#include "error/error.h"
#include "memory/cmem.h"
#include "x86/call_absolute.h"
#include "x86/cpu.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    // The code may write anywhere in conventional memory.
    cmem_reset_for_tests();
    cpu_reset_for_tests();
    unknown_opcode_mess_global_init();
    fuzz_input in(data, size);
    uint8_t pick = in.u8();
    int32_t count = pick % 8;
    for (int32_t i = 0; i < count; i++) call_absolute_set_offset(i, in.u16());
    static constexpr uint16_t segments[] = {0x2000, 0x0000, 0x0050, 0xFFFF};
    uint16_t segment = segments[(pick >> 3) & 3];
    uint16_t offset = (pick & 0x20) ? uint16_t(0xFFFF - (pick >> 6)) : 0x0100;
    std::string code = in.rest();
    uint32_t at = uint32_t(segment) * 16 + offset;
    size_t room = size_t(cmem_size - at);
    memcpy(cmem + at, code.data(), std::min(room, code.size()));

    fuzz_run([&] {
        sub_defseg(segment, 1);
        call_absolute(count, offset);
    }, false);
    return 0;
}
