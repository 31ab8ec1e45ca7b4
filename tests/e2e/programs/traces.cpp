// Stack traces of a translated program: a SUB logs an ERROR with BASIC frames only,
// then a chain of runtime-side functions logs one with every frame.
#include <cstdint>

#include "zv.h"

__attribute__((noinline)) void trace_c() {
    libzv_log(LOGLEVEL_ERROR, LOGSCOPE_RUNTIME, __FILE__, __func__, __LINE__, "full trace");
    asm volatile("");
}

__attribute__((noinline)) void trace_b() {
    trace_c();
    asm volatile("");
}

__attribute__((noinline)) void SUB_FOO(int16_t* value) {
    ZV_SUB_SCOPE();
    libzv_log_orvo(LOGLEVEL_ERROR, LOGSCOPE_ORVO, __FILE__, "SUB_FOO", __LINE__, "basic trace %d", int(*value));
    trace_b();
}

__attribute__((noinline)) void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    static int16_t value = 7;
    ZV_STATEMENT(1, SUB_FOO(&value));
}

namespace {
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
