// Appending to a data-block string variable (with its text compactions) against
// std::string appends of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "memory/cmem.h"
#include "memory/cmem_string.h"
#include "memory/cmem_string_debug.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

void fresh_strings() {
    cmem_reset_for_tests();
    zvs_reset_for_tests(1 << 20, 65536, 65536);
    zvs_cmem_reset_for_tests(65536);
    zvs_cmem_make_runtime_strings();
}

// v$ = v$ + "abcdefgh" until v$ holds 8000 bytes, then v$ = "".
void BM_DataBlockAppend(benchmark::State& state) {
    fresh_strings();
    zvs* v = zvs_new_cmem(0, 0);
    zvs* other = zvs_new_cmem(16, 0);  // a live text after v, so that growth moves v
    benchmark::DoNotOptimize(other);
    for (auto _ : state) {
        uint32_t mark = zvs_tmp_list_nexti();
        zvs_set(v, zvs_add(v, zvs_new_txt_len("abcdefgh", 8)));
        zvs_tmp_release_to(mark, 0);
        if (v->length >= 8000) zvs_set(v, zvs_new_txt_len("", 0));
    }
    state.SetBytesProcessed(state.iterations() * 8);
}
BENCHMARK(BM_DataBlockAppend);

// Reference: the same appends to a std::string.
void BM_StdStringAppend(benchmark::State& state) {
    std::string v;
    for (auto _ : state) {
        v += "abcdefgh";
        benchmark::DoNotOptimize(v.data());
        if (v.size() >= 8000) v.clear();
    }
    state.SetBytesProcessed(state.iterations() * 8);
}
BENCHMARK(BM_StdStringAppend);

}  // namespace
