// Slot-list lookups and add/remove cycles against a plain vector of pointers.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "list/list.h"

namespace {

constexpr int32_t records = 4096;

void BM_ListGet(benchmark::State& state) {
    list* l = state.range(0) ? list_new_threadsafe(64) : list_new(64);
    for (int32_t i = 0; i < records; i++) list_add(l);
    int32_t h = 0;
    for (auto _ : state) {
        h = h % records + 1;
        benchmark::DoNotOptimize(list_get(l, h));
    }
    list_destroy(l);
}
BENCHMARK(BM_ListGet)->Arg(0)->Arg(1);

// Reference: the same lookup in a plain table, with the bounds check.
void BM_PlainTableGet(benchmark::State& state) {
    std::vector<std::vector<uint8_t>> storage(records, std::vector<uint8_t>(64));
    std::vector<uint8_t*> table(records + 1, nullptr);
    for (int32_t i = 0; i < records; i++) table[i + 1] = storage[i].data();
    int32_t h = 0;
    for (auto _ : state) {
        h = h % records + 1;
        benchmark::DoNotOptimize(h >= 1 && h <= records ? table[h] : nullptr);
    }
}
BENCHMARK(BM_PlainTableGet);

void BM_ListAddRemove(benchmark::State& state) {
    list* l = state.range(0) ? list_new_threadsafe(64) : list_new(64);
    for (int32_t i = 0; i < records; i++) list_add(l);
    for (auto _ : state) {
        int32_t h = list_add(l);
        benchmark::DoNotOptimize(h);
        list_remove(l, h);
    }
    list_destroy(l);
}
BENCHMARK(BM_ListAddRemove)->Arg(0)->Arg(1);

}  // namespace
