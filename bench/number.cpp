// STR$ of a million SINGLE and DOUBLE values and VAL of a million texts, beside the C
// library's snprintf and strtod on the same values.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "error/error.h"
#include "number/number_text.h"
#include "number/str_functions.h"
#include "number/val.h"
#include "string/zvs.h"

namespace {

constexpr size_t count = 1000000;

// Values over many magnitudes, both signs, some integers; the same every run.
std::vector<double> make_values() {
    std::vector<double> values(count);
    uint64_t state = 0x9E3779B97F4A7C15u;
    for (size_t i = 0; i < count; i++) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        double mantissa = static_cast<double>(state >> 11) / 9007199254740992.0;
        int exponent = static_cast<int>((state >> 3) % 41) - 20;
        double v = mantissa * std::pow(10.0, exponent);
        if (i % 5 == 0) v = std::nearbyint(v * 1000);
        values[i] = (state & 1) ? -v : v;
    }
    return values;
}

const std::vector<double>& doubles() {
    static const std::vector<double> values = make_values();
    return values;
}

const std::vector<float>& singles() {
    static const std::vector<float> values = [] {
        std::vector<float> v;
        for (double d : doubles()) v.push_back(static_cast<float>(d));
        return v;
    }();
    return values;
}

// Texts for VAL: the DOUBLE values as STR$ writes them (exponent letter D); strtod
// gets the same texts with the letter E.
std::vector<std::string> make_texts(char letter) {
    std::vector<std::string> t;
    t.reserve(count);
    for (double d : doubles()) {
        t.emplace_back(num_str(d).view());
        for (char& c : t.back())
            if (c == 'D') c = letter;
    }
    return t;
}

const std::vector<std::string>& val_texts() {
    static const std::vector<std::string> values = make_texts('D');
    return values;
}

const std::vector<std::string>& strtod_texts() {
    static const std::vector<std::string> values = make_texts('E');
    return values;
}

void str_single(benchmark::State& state) {
    for (auto _ : state)
        for (float v : singles()) benchmark::DoNotOptimize(num_str(v));
    state.SetItemsProcessed(state.iterations() * count);
}

void snprintf_single(benchmark::State& state) {
    char buffer[48];
    for (auto _ : state)
        for (float v : singles()) benchmark::DoNotOptimize(snprintf(buffer, sizeof buffer, "% .6E", static_cast<double>(v)));
    state.SetItemsProcessed(state.iterations() * count);
}

void str_double(benchmark::State& state) {
    for (auto _ : state)
        for (double v : doubles()) benchmark::DoNotOptimize(num_str(v));
    state.SetItemsProcessed(state.iterations() * count);
}

void snprintf_double(benchmark::State& state) {
    char buffer[48];
    for (auto _ : state)
        for (double v : doubles()) benchmark::DoNotOptimize(snprintf(buffer, sizeof buffer, "% .15E", v));
    state.SetItemsProcessed(state.iterations() * count);
}

// STR$ as translated code calls it: a temporary string per value, released after each
// statement.
void str_double_temporaries(benchmark::State& state) {
    static const bool ready = (zvs_global_init(), true);
    benchmark::DoNotOptimize(ready);
    uint32_t mark = zvs_tmp_list_nexti();
    for (auto _ : state)
        for (double v : doubles()) {
            benchmark::DoNotOptimize(zvs_str(v));
            zvs_tmp_release_to(mark, 0);
        }
    state.SetItemsProcessed(state.iterations() * count);
}

void val(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& t : val_texts())
            benchmark::DoNotOptimize(val_float(reinterpret_cast<const uint8_t*>(t.data()), static_cast<int32_t>(t.size())));
    error_reset_for_tests();
    state.SetItemsProcessed(state.iterations() * count);
}

void strtod_reference(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& t : strtod_texts()) benchmark::DoNotOptimize(strtod(t.c_str(), nullptr));
    state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace

BENCHMARK(str_single)->Unit(benchmark::kMillisecond);
BENCHMARK(snprintf_single)->Unit(benchmark::kMillisecond);
BENCHMARK(str_double)->Unit(benchmark::kMillisecond);
BENCHMARK(snprintf_double)->Unit(benchmark::kMillisecond);
BENCHMARK(str_double_temporaries)->Unit(benchmark::kMillisecond);
BENCHMARK(val)->Unit(benchmark::kMillisecond);
BENCHMARK(strtod_reference)->Unit(benchmark::kMillisecond);
