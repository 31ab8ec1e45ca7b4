// CALL INTERRUPT and CALL INTERRUPTX: register records in and out of the register
// file, and the records that are too short.
#include <array>

#include "file/byte_element.h"
#include "x86/x86_fixture.h"

namespace {

using CallInterrupt = X86Test;

// A register record as a program's variable holds it: little-endian words AX BX CX
// DX BP SI DI FLAGS [DS ES].
struct record {
    std::array<uint8_t, 24> bytes{};
    byte_element_struct element{};

    explicit record(int32_t length) { element = {reinterpret_cast<uint64_t>(bytes.data()), length}; }
    record(int32_t length, std::initializer_list<uint16_t> words) : record(length) {
        int32_t i = 0;
        for (uint16_t w : words) set(i++, w);
    }
    uint16_t word(int32_t i) const { return uint16_t(bytes[size_t(i) * 2] | bytes[size_t(i) * 2 + 1] << 8); }
    void set(int32_t i, uint16_t v) {
        bytes[size_t(i) * 2] = uint8_t(v);
        bytes[size_t(i) * 2 + 1] = uint8_t(v >> 8);
    }
};

constexpr int32_t AX = 0, BX = 1, CX = 2, DX = 3, BP = 4, SI = 5, DI = 6, FLAGS = 7, DS = 8, ES = 9;

TEST_F(CallInterrupt, MouseResetAnswersPresentWithTwoButtons) {
    cpu_registers().eax = 0xABCD0000;
    cpu_registers().ebx = 0x12340000;
    record in(16, {0, 0x1111, 0x2222, 0x3333, 0x4444, 0x5555, 0x6666, 0x7777});
    record out(16);
    out.set(FLAGS, 0xBEEF);
    call_interrupt(0x33, &in.element, &out.element);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(out.word(AX), 0xFFFF);
    EXPECT_EQ(out.word(BX), 2);
    EXPECT_EQ(out.word(CX), 0x2222);
    EXPECT_EQ(out.word(DI), 0x6666);
    EXPECT_EQ(out.word(FLAGS), 0xBEEF);  // never written
    // Only the low halves are loaded and changed.
    EXPECT_EQ(cpu_registers().eax, 0xABCDFFFFu);
    EXPECT_EQ(cpu_registers().ebx, 0x12340002u);
}

TEST_F(CallInterrupt, OtherInterruptsReturnTheRecordUnchanged) {
    for (int32_t number : {0x21, 0x10, 0x133, -0x33}) {
        SCOPED_TRACE(number);
        record in(16, {0, 0x1111, 0x2222, 0x3333, 0x4444, 0x5555, 0x6666, 0x7777});
        record out(16);
        out.set(FLAGS, 0xBEEF);
        call_interrupt(number, &in.element, &out.element);
        for (int32_t w : {AX, BX, CX, DX, BP, SI, DI}) EXPECT_EQ(out.word(w), in.word(w)) << w;
        EXPECT_EQ(out.word(FLAGS), 0xBEEF);
        EXPECT_EQ(cpu_registers().esi, 0x5555u);
        EXPECT_EQ(cpu_registers().ebp, 0x4444u);
    }
}

TEST_F(CallInterrupt, InAndOutMayBeTheSameVariable) {
    record r(16, {0, 7, 8, 9});
    call_interrupt(0x33, &r.element, &r.element);
    EXPECT_EQ(r.word(AX), 0xFFFF);
    EXPECT_EQ(r.word(BX), 2);
    EXPECT_EQ(r.word(CX), 8);
    EXPECT_EQ(r.word(DX), 9);
}

TEST_F(CallInterrupt, InterruptXCarriesDsAndEs) {
    cpu_registers().fs = 0x4321;
    cpu_registers().esp = 0x8888;
    record in(20, {0, 1, 2, 3, 4, 5, 6, 0x7777, 0x1234, 0x5678});
    record out(20);
    out.set(FLAGS, 0xBEEF);
    call_interruptx(0x21, &in.element, &out.element);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(cpu_registers().ds, 0x1234);
    EXPECT_EQ(cpu_registers().es, 0x5678);
    EXPECT_EQ(cpu_registers().fs, 0x4321);
    EXPECT_EQ(cpu_registers().esp, 0x8888u);
    EXPECT_EQ(out.word(DS), 0x1234);
    EXPECT_EQ(out.word(ES), 0x5678);
    EXPECT_EQ(out.word(FLAGS), 0xBEEF);
    EXPECT_EQ(out.word(DI), 6);
    // INTERRUPT neither reads nor writes the segment words.
    record plain_in(20, {0, 1, 2, 3, 4, 5, 6, 7, 0x9999, 0x9999});
    record plain_out(20);
    call_interrupt(0x21, &plain_in.element, &plain_out.element);
    EXPECT_EQ(cpu_registers().ds, 0x1234);
    EXPECT_EQ(plain_out.word(DS), 0);
    EXPECT_EQ(plain_out.word(ES), 0);
}

TEST_F(CallInterrupt, ShortRecordsRaiseError5AndChangeNothing) {
    struct short_case {
        const char* what;
        bool extended;
        int32_t in_length, out_length;
    };
    const short_case cases[] = {
        {"INTERRUPTX with 16-byte records", true, 16, 16},
        {"INTERRUPTX with a 19-byte in record", true, 19, 20},
        {"INTERRUPT with a 15-byte out record", false, 16, 15},
        {"INTERRUPT with a 15-byte in record", false, 15, 16},
        {"INTERRUPT with empty records", false, 0, 0},
    };
    for (const short_case& c : cases) {
        SCOPED_TRACE(c.what);
        error_reset_for_tests();
        cpu_registers() = cpu_struct{};
        cpu_registers().ecx = 0x77777777;
        record in(c.in_length, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        record out(c.out_length, {0xAAAA, 0xAAAA});
        if (c.extended)
            call_interruptx(0x33, &in.element, &out.element);
        else
            call_interrupt(0x33, &in.element, &out.element);
        EXPECT_EQ(new_error.load(), 5);
        EXPECT_EQ(cpu_registers().eax, 0u);
        EXPECT_EQ(cpu_registers().ebx, 0u);
        EXPECT_EQ(cpu_registers().ecx, 0x77777777u);
        EXPECT_EQ(out.word(AX), 0xAAAA);
        EXPECT_EQ(out.word(BX), 0xAAAA);
    }
}

TEST_F(CallInterrupt, PendingErrorSkipsTheCall) {
    error(6);
    record in(16, {0});
    record out(16, {0x1234});
    call_interrupt(0x33, &in.element, &out.element);
    EXPECT_EQ(new_error.load(), 6);
    EXPECT_EQ(out.word(AX), 0x1234);
    EXPECT_EQ(cpu_registers().ebx, 0u);
}

}  // namespace
