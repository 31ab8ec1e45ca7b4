// String heap speed: a$ = a$ + "x" for 100,000 passes and a mixed statement workload, each
// beside the same work on std::string (the plain reference).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "string/string_functions.h"
#include "string/zvs.h"

namespace {

constexpr int passes = 100000;

void zvs_append(benchmark::State& state) {
    zvs_global_init();
    for (auto _ : state) {
        uint32_t mark = zvs_tmp_list_nexti();
        zvs* a = zvs_new(0, 0);
        for (int i = 0; i < passes; i++) {
            zvs_set(a, zvs_add(a, zvs_new_txt_len("x", 1)));
            zvs_tmp_release_to(mark, 0);
        }
        benchmark::DoNotOptimize(a->text);
        zvs_free(a);
    }
    state.SetItemsProcessed(state.iterations() * passes);
}
BENCHMARK(zvs_append)->Unit(benchmark::kMillisecond);

// The same shape: every pass builds a new string and assigns it.
void std_append_copy(benchmark::State& state) {
    for (auto _ : state) {
        std::string a;
        for (int i = 0; i < passes; i++) a = a + "x";
        benchmark::DoNotOptimize(a.data());
    }
    state.SetItemsProcessed(state.iterations() * passes);
}
BENCHMARK(std_append_copy)->Unit(benchmark::kMillisecond);

// Amortised in-place appending, for scale.
void std_append_in_place(benchmark::State& state) {
    for (auto _ : state) {
        std::string a;
        for (int i = 0; i < passes; i++) a += "x";
        benchmark::DoNotOptimize(a.data());
    }
    state.SetItemsProcessed(state.iterations() * passes);
}
BENCHMARK(std_append_in_place)->Unit(benchmark::kMillisecond);

// s$ = UCASE$(LEFT$(a$, 10)) + MID$(a$, i MOD 40 + 1, 20) + CHR$(65 + i MOD 26)
// IF INSTR(s$, "o") THEN c$ = c$ + _TRIM$(RIGHT$(s$, 3) + "  ")
// LSET f$ = s$: IF LEN(c$) > 4000 THEN c$ = ""
void zvs_mixed(benchmark::State& state) {
    zvs_global_init();
    static const char seed[] = "  the quick brown fox jumps over the lazy dog, again and again  ";
    char field[16];
    for (auto _ : state) {
        uint32_t mark = zvs_tmp_list_nexti();
        zvs* a = zvs_new(0, 0);
        zvs* s = zvs_new(0, 0);
        zvs* c = zvs_new(0, 0);
        zvs* f = zvs_new_fixed(field, sizeof field, 0);
        zvs_set(a, zvs_new_txt(seed));
        for (int i = 0; i < passes; i++) {
            zvs* head = zvs_ucase(zvs_left(a, 10));
            zvs* joined = zvs_add(zvs_add(head, func_mid(a, i % 40 + 1, 20, 1)), func_chr(65 + i % 26));
            zvs_set(s, joined);
            zvs_tmp_release_to(mark, 0);
            if (func_instr(0, s, zvs_new_txt("o"), 0))
                zvs_set(c, zvs_add(c, zvs__trim(zvs_add(zvs_right(s, 3), zvs_new_txt("  ")))));
            zvs_tmp_release_to(mark, 0);
            sub_lset(f, s);
            if (c->length > 4000) zvs_set(c, zvs_new_txt(""));
            zvs_tmp_release_to(mark, 0);
        }
        benchmark::DoNotOptimize(c->text);
        zvs_free(f);
        zvs_free(c);
        zvs_free(s);
        zvs_free(a);
    }
    state.SetItemsProcessed(state.iterations() * passes);
}
BENCHMARK(zvs_mixed)->Unit(benchmark::kMillisecond);

std::string trim(const std::string& t) {
    size_t first = t.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return t.substr(first, t.find_last_not_of(' ') - first + 1);
}

void std_mixed(benchmark::State& state) {
    const std::string seed = "  the quick brown fox jumps over the lazy dog, again and again  ";
    char field[16];
    for (auto _ : state) {
        std::string a = seed, s, c;
        for (int i = 0; i < passes; i++) {
            std::string head = a.substr(0, 10);
            for (char& ch : head)
                if (ch >= 'a' && ch <= 'z') ch = char(ch - 32);
            s = head + a.substr(i % 40, 20) + char(65 + i % 26);
            if (s.find("o") != std::string::npos) c = c + trim(s.substr(s.size() - 3) + "  ");
            size_t n = std::min(s.size(), sizeof field);
            memcpy(field, s.data(), n);
            memset(field + n, ' ', sizeof field - n);
            if (c.size() > 4000) c.clear();
        }
        benchmark::DoNotOptimize(c.data());
        benchmark::DoNotOptimize(field);
    }
    state.SetItemsProcessed(state.iterations() * passes);
}
BENCHMARK(std_mixed)->Unit(benchmark::kMillisecond);

}  // namespace
