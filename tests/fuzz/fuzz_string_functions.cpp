// The string functions and statements at extreme arguments: a small program of
// operations over four string variables (one fixed-length) and input chunks, with
// counts and positions that are often the edges (0, -1, 65536, the 32-bit limits).
// Arguments are read in a fixed order, so that a reproducer means the same under
// every compiler.
#include "fuzz_support.h"

#include "error/error.h"
#include "string/string_functions.h"
#include "string/zvs.h"

namespace {

// Counts that make new text: kept to what a fuzzer's memory allows, edges included.
int32_t bounded_count(fuzz_input& in) {
    int32_t n = in.edgy32();
    return n > (1 << 20) ? n % (1 << 20) : n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    fuzz_input in(data, size);

    fuzz_run([&] {
        static uint8_t fixed_bytes[16];
        memset(fixed_bytes, ' ', sizeof fixed_bytes);
        zvs* fixed = fuzz_own(zvs_new_fixed(fixed_bytes, sizeof fixed_bytes, 0));
        zvs* vars[4] = {fuzz_var(), fuzz_var(), fuzz_var(), fixed};
        auto var = [&](uint8_t b) { return vars[b & 3]; };
        auto chunk = [&] { return fuzz_temp(in.chunk(64)); };
        // An argument: a variable, a fresh temporary copy of one, or input text.
        auto arg = [&]() -> zvs* {
            uint8_t b = in.u8();
            switch (b >> 6) {
                case 0: return var(b);
                case 1: {
                    zvs* t = zvs_new(0, 1);
                    zvs_set(t, var(b));
                    return t;
                }
                default: return chunk();
            }
        };
        for (int32_t ops = 0; ops < 48 && !in.empty(); ops++) {
            uint32_t mark = zvs_tmp_list_nexti();
            uint8_t op = in.u8();
            zvs* dest = var(op >> 5);
            zvs* result = nullptr;
            switch (op % 26) {
                case 0: result = zvs_ucase(arg()); break;
                case 1: result = zvs_lcase(arg()); break;
                case 2: {
                    zvs* s = arg();
                    result = zvs_left(s, in.edgy32());
                    break;
                }
                case 3: {
                    zvs* s = arg();
                    result = zvs_right(s, in.edgy32());
                    break;
                }
                case 4: {
                    zvs* s = arg();
                    int32_t start = in.edgy32();
                    result = func_mid(s, start, in.edgy32(), in.u8() & 1);
                    break;
                }
                case 5: result = zvs_ltrim(arg()); break;
                case 6: result = zvs_rtrim(arg()); break;
                case 7: result = zvs__trim(arg()); break;
                case 8: result = func_chr(in.edgy32()); break;
                case 9: result = func_space(bounded_count(in)); break;
                case 10: {
                    int32_t n = bounded_count(in);
                    result = func_string(n, in.edgy32());
                    break;
                }
                case 11: {
                    zvs* a = arg();
                    zvs* b = arg();
                    zvs_equal(a, b);
                    zvs_notequal(a, b);
                    zvs_lessthan(a, b);
                    zvs_greaterthan(a, b);
                    zvs_lessorequal(a, b);
                    zvs_greaterorequal(a, b);
                    func__str_compare(a, b);
                    func__str_nc_compare(a, b);
                    break;
                }
                case 12: zvs_asc(arg()); break;
                case 13: {
                    zvs* s = arg();
                    zvs_asc(s, uint32_t(in.edgy32()));
                    break;
                }
                case 14: {
                    int32_t start = in.edgy32();
                    zvs* s = arg();
                    func_instr(start, s, arg(), in.u8() & 1);
                    break;
                }
                case 15: {
                    int32_t start = in.edgy32();
                    zvs* s = arg();
                    func__instrrev(start, s, arg(), in.u8() & 1);
                    break;
                }
                case 16: sub_lset(dest, arg()); break;
                case 17: sub_rset(dest, arg()); break;
                case 18: {
                    int32_t start = in.edgy32();
                    int32_t length = in.edgy32();
                    sub_mid(dest, start, length, arg(), in.u8() & 1);
                    break;
                }
                case 19: {
                    zvs* a = arg();
                    zvs* b = arg();
                    // Joins stay within the fuzzer's memory.
                    if (int64_t(a->length) + b->length <= (1 << 21)) result = zvs_add(a, b);
                    break;
                }
                case 20: zvs_set(dest, arg()); break;
                default: result = arg(); break;
            }
            if (result) zvs_set(dest, result);
            zvs_tmp_release_to(mark, 0);
            // An error leaves the statement; the next one starts clean.
            error_reset_for_tests();
        }
    });
    return 0;
}
