// FIELD, GET and PUT record arithmetic: a small program of OPEN (RANDOM with any LEN,
// or BINARY), FIELD, LSET, RSET, GET and PUT of records, variables and strings at
// record and byte numbers near the edges, SEEK, LOC, LOF and CLOSE.
#include "fuzz_support.h"

#include "error/error.h"
#include "file/byte_element.h"
#include "file/field.h"
#include "file/file_numbers.h"
#include "file/file_queries.h"
#include "file/get_put.h"
#include "string/string_functions.h"
#include "string/zvs.h"

namespace {

// Record and byte numbers: small ones mostly, the edges sometimes. Large positions make
// sparse files only.
int64_t position(fuzz_input& in) {
    uint8_t pick = in.u8();
    if (pick < 160) return pick % 12;
    return in.edgy64();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    fuzz_reset_files();
    fuzz_scratch_clear();
    fuzz_input in(data, size);

    fuzz_run([&] {
        zvs* vars[4] = {fuzz_var(), fuzz_var(), fuzz_var(), fuzz_var()};
        uint8_t bytes[64] = {};
        byte_element_struct element{};
        for (int32_t ops = 0; ops < 32 && !in.empty(); ops++) {
            uint32_t mark = zvs_tmp_list_nexti();
            uint8_t op = in.u8();
            int32_t n = 1 + (op >> 7);
            zvs* v = vars[(op >> 5) & 3];
            switch (op % 12) {
                case 0: {
                    // RANDOM (twice: modes 0 and 1) or BINARY, with or without LEN.
                    static constexpr int32_t modes[] = {0, 1, 2, 1};
                    int32_t mode = modes[in.u8() & 3];
                    // LEN as large as memory allows is legal; the buffer is allocated
                    // whole, so the fuzzer keeps to a megabyte (and every negative).
                    int64_t length = in.edgy64();
                    if (length > (1 << 20)) length %= (1 << 20);
                    sub_open(zvs_new_txt(n == 1 ? "one.dat" : "two.dat"), mode, 0, 0, n, length, in.u8() & 1);
                    break;
                }
                case 1: {
                    field_new(n);
                    int32_t items = in.u8() % 5;
                    for (int32_t i = 0; i < items; i++) {
                        uint8_t which = in.u8();
                        field_add(vars[which & 3], (which & 4) ? in.edgy64() : int64_t(which >> 3));
                    }
                    break;
                }
                case 2: {
                    std::string text = in.chunk(80);
                    sub_lset(v, zvs_new_txt_len(text.data(), int32_t(text.size())));
                    break;
                }
                case 3: {
                    std::string text = in.chunk(80);
                    sub_rset(v, zvs_new_txt_len(text.data(), int32_t(text.size())));
                    break;
                }
                case 4: {
                    int64_t record = position(in);
                    field_get(n, record, in.u8() & 1);
                    break;
                }
                case 5: {
                    int64_t record = position(in);
                    field_put(n, record, in.u8() & 1);
                    break;
                }
                case 6: {
                    int64_t at = position(in);
                    int32_t length = in.u8() % (sizeof bytes + 1);
                    sub_get(n, at, byte_element(uint64_t(reinterpret_cast<uintptr_t>(bytes)), length, &element), in.u8() & 1);
                    break;
                }
                case 7: {
                    int64_t at = position(in);
                    int32_t length = in.u8() % (sizeof bytes + 1);
                    sub_put(n, at, byte_element(uint64_t(reinterpret_cast<uintptr_t>(bytes)), length, &element), in.u8() & 1);
                    break;
                }
                case 8: {
                    int64_t at = position(in);
                    sub_get2(n, at, v, in.u8() & 1);
                    break;
                }
                case 9: {
                    int64_t at = position(in);
                    sub_put2(n, at, byte_element(uint64_t(reinterpret_cast<uintptr_t>(v->text)), v->length, &element), in.u8() & 1);
                    break;
                }
                case 10:
                    sub_seek(n, position(in));
                    func_loc(n);
                    func_lof(n);
                    func_eof(n);
                    func_seek(n);
                    break;
                default: sub_close(n, in.u8() & 1); break;
            }
            zvs_tmp_release_to(mark, 0);
            error_reset_for_tests();
        }
    });
    file_close_all();
    return 0;
}
