// Appending to a data-block string variable (v$ = v$ + "abcdefgh" until v$ holds 8000
// bytes, then v$ = ""), timed beside std::string appends of the same bytes in the
// same run (ratio_to_std_string; goal 10).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "memory/cmem.h"
#include "memory/cmem_string.h"
#include "memory/cmem_string_debug.h"
#include "paired_ratio.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

constexpr int appends = 1000;  // per timed pass

void fresh_strings() {
    cmem_reset_for_tests();
    zvs_reset_for_tests(1 << 20, 65536, 65536);
    zvs_cmem_reset_for_tests(65536);
    zvs_cmem_make_runtime_strings();
}

void BM_DataBlockAppend(benchmark::State& state) {
    fresh_strings();
    zvs* v = zvs_new_cmem(0, 0);
    zvs* other = zvs_new_cmem(16, 0);  // a live text after v, so that growth moves v once
    benchmark::DoNotOptimize(other);
    std::string plain;
    paired::run(
        state, "ratio_to_std_string",
        [&] {
            for (int i = 0; i < appends; i++) {
                uint32_t mark = zvs_tmp_list_nexti();
                zvs_set(v, zvs_add(v, zvs_new_txt_len("abcdefgh", 8)));
                zvs_tmp_release_to(mark, 0);
                if (v->length >= 8000) {
                    zvs_set(v, zvs_new_txt_len("", 0));
                    zvs_tmp_release_to(mark, 0);
                }
            }
        },
        [&] {
            for (int i = 0; i < appends; i++) {
                plain += "abcdefgh";
                benchmark::DoNotOptimize(plain.data());
                if (plain.size() >= 8000) plain.clear();
            }
        });
    state.SetBytesProcessed(state.iterations() * appends * 8);
}
BENCHMARK(BM_DataBlockAppend)->Apply(paired::medians);

}  // namespace
