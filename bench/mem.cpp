// _MEMFILL, _MEMCOPY and PEEK/POKE against memset, memmove and plain byte access.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "error/error.h"
#include "memory/cmem.h"
#include "memory/mem_block.h"

namespace {

void BM_MemFillPattern(benchmark::State& state) {
    std::vector<uint8_t> bytes(size_t(state.range(0)));
    mem_block block = func__mem_at_offset(reinterpret_cast<intptr_t>(bytes.data()), intptr_t(bytes.size()));
    for (auto _ : state) {
        sub__memfill_4(block, block.offset, block.size, 0x01020304);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MemFillPattern)->Arg(64)->Arg(65536);

// Reference: memset of the same bytes.
void BM_Memset(benchmark::State& state) {
    std::vector<uint8_t> bytes(size_t(state.range(0)));
    for (auto _ : state) {
        memset(bytes.data(), 4, bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Memset)->Arg(64)->Arg(65536);

void BM_MemCopy(benchmark::State& state) {
    std::vector<uint8_t> from(size_t(state.range(0))), to(size_t(state.range(0)));
    mem_block a = func__mem_at_offset(reinterpret_cast<intptr_t>(from.data()), intptr_t(from.size()));
    mem_block b = func__mem_at_offset(reinterpret_cast<intptr_t>(to.data()), intptr_t(to.size()));
    for (auto _ : state) {
        sub__memcopy(a, a.offset, a.size, b, b.offset);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MemCopy)->Arg(64)->Arg(65536);

// Reference: memmove of the same bytes.
void BM_Memmove(benchmark::State& state) {
    std::vector<uint8_t> from(size_t(state.range(0))), to(size_t(state.range(0)));
    for (auto _ : state) {
        memmove(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Memmove)->Arg(64)->Arg(65536);

void BM_PokePeek(benchmark::State& state) {
    cmem_global_init();
    sub_defseg(0xA000, 1);
    int32_t i = 0;
    for (auto _ : state) {
        i = (i + 1) & 0xFFFF;
        sub_poke(i, i);
        benchmark::DoNotOptimize(func_peek(i));
    }
}
BENCHMARK(BM_PokePeek);

// Reference: the same bytes written and read directly.
void BM_PlainByteAccess(benchmark::State& state) {
    int32_t i = 0;
    for (auto _ : state) {
        i = (i + 1) & 0xFFFF;
        cmem[0xA0000 + i] = uint8_t(i);
        benchmark::DoNotOptimize(cmem[0xA0000 + i]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainByteAccess);

}  // namespace
