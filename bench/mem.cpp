// _MEMFILL, _MEMCOPY and PEEK/POKE, each timed beside a bare baseline in the same run:
// memset and memcpy called through a non-inlined function (ratio_to_memset and
// ratio_to_memcpy; goal 3 for 64 bytes), and plain byte access for PEEK/POKE
// (ratio_to_byte_access).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "error/error.h"
#include "memory/cmem.h"
#include "memory/mem_block.h"
#include "paired_ratio.h"

namespace {

constexpr int calls = 256;  // per timed pass

[[gnu::noinline]] void plain_memset(void* to, int value, size_t bytes) { memset(to, value, bytes); }
[[gnu::noinline]] void plain_memcpy(void* to, const void* from, size_t bytes) { memcpy(to, from, bytes); }

// The blocks live in memory, as a program's variables do, and are copied from there
// to each call (the by-value calling convention of the _MEM statements). A block
// kept half in registers by the optimiser is rebuilt on the stack for every call and
// stalls on store forwarding, which would measure the benchmark, not the statement.
mem_block a, b, block;

// _MEMFILL m, m.OFFSET, m.SIZE, &H01020304& (a LONG pattern) over range(0) bytes.
void BM_MemFill(benchmark::State& state) {
    std::vector<uint8_t> bytes(size_t(state.range(0)));
    block = func__mem_at_offset(reinterpret_cast<intptr_t>(bytes.data()), intptr_t(bytes.size()));
    paired::run(
        state, "ratio_to_memset",
        [&] {
            for (int i = 0; i < calls; i++) sub__memfill_4(block, block.offset, block.size, 0x01020304);
            benchmark::ClobberMemory();
        },
        [&] {
            for (int i = 0; i < calls; i++) plain_memset(bytes.data(), 4, bytes.size());
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(state.iterations() * calls * state.range(0));
}
BENCHMARK(BM_MemFill)->Arg(64)->Arg(65536)->Apply(paired::medians);


// _MEMCOPY a, a.OFFSET, a.SIZE TO b, b.OFFSET over range(0) bytes.
void BM_MemCopy(benchmark::State& state) {
    std::vector<uint8_t> from(size_t(state.range(0)), 7), to(size_t(state.range(0)));
    a = func__mem_at_offset(reinterpret_cast<intptr_t>(from.data()), intptr_t(from.size()));
    b = func__mem_at_offset(reinterpret_cast<intptr_t>(to.data()), intptr_t(to.size()));
    paired::run(
        state, "ratio_to_memcpy",
        [&] {
            for (int i = 0; i < calls; i++) sub__memcopy(a, a.offset, a.size, b, b.offset);
            benchmark::ClobberMemory();
        },
        [&] {
            for (int i = 0; i < calls; i++) plain_memcpy(to.data(), from.data(), to.size());
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(state.iterations() * calls * state.range(0));
}
BENCHMARK(BM_MemCopy)->Arg(64)->Arg(65536)->Apply(paired::medians);

// POKE i, i : PEEK(i) in DEF SEG = &HA000, beside the same bytes written and read
// directly.
void BM_PokePeek(benchmark::State& state) {
    cmem_global_init();
    sub_defseg(0xA000, 1);
    paired::run(
        state, "ratio_to_byte_access",
        [&] {
            for (int32_t i = 0; i < 65536; i++) {
                sub_poke(i, i);
                benchmark::DoNotOptimize(func_peek(i));
            }
        },
        [&] {
            for (int32_t i = 0; i < 65536; i++) {
                cmem[0xA0000 + i] = uint8_t(i);
                benchmark::DoNotOptimize(cmem[0xA0000 + i]);
                benchmark::ClobberMemory();
            }
        });
    state.SetItemsProcessed(state.iterations() * 65536);
}
BENCHMARK(BM_PokePeek)->Apply(paired::medians);

}  // namespace
