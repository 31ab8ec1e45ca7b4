// RND and RANDOMIZE.
#include "number/rnd.h"

#include <cstring>

#include "error/error.h"
#include "string/zvs.h"
#include "text/print.h"

namespace {

constexpr int32_t seed_start = 0x50000;
constexpr uint32_t state_mask = 0xFFFFFF;

int32_t rnd_seed = seed_start;
int32_t rnd_seed_first = seed_start;

// Without the INPUT editor the prompt still shows (the PRINT core, no line end); no
// seed is read.
int32_t print_prompt_only(const char* prompt, int16_t*) {
    zvs_print(zvs_new_txt(prompt), 0);
    return 0;
}

randomize_ask_seed_fn ask_seed = print_prompt_only;

uint32_t bits_of(float x) {
    uint32_t p;
    std::memcpy(&p, &x, sizeof p);
    return p;
}

uint32_t high_bits_of(double x) {
    uint64_t p;
    std::memcpy(&p, &x, sizeof p);
    return static_cast<uint32_t>(p >> 32);
}

// A new state from 16 seed bits, keeping the given low byte.
void reseed(uint32_t seed16, uint32_t low_byte) {
    rnd_seed = static_cast<int32_t>(((seed16 & 0xFFFF) << 8) | (low_byte & 0xFF));
}

}  // namespace

float func_rnd(float x, int32_t passed) {
    if (new_error_is_set()) return 0;
    if (!passed) x = 1;
    // A floating test: -0 repeats the last value, NaN advances like any other argument.
    if (x != 0) {
        if (x < 0) {
            // Logical shift of the unsigned pattern: the same argument, the same sequence.
            uint32_t p = bits_of(x);
            rnd_seed = static_cast<int32_t>((p & state_mask) + (p >> 24));
        }
        // Unsigned arithmetic: wraps like the 32-bit original without undefined overflow.
        uint32_t s = static_cast<uint32_t>(rnd_seed);
        rnd_seed = static_cast<int32_t>((s * 16598013u + 12820163u) & state_mask);
    }
    return static_cast<float>(static_cast<double>(rnd_seed) / 16777216.0);
}

void sub_randomize(double x, int32_t kind) {
    if (new_error_is_set()) return;
    if (kind == 1 || kind == 3) {
        uint32_t h = high_bits_of(x);
        uint32_t m = (h >> 16) ^ h;
        uint32_t low = kind == 3 ? static_cast<uint32_t>(rnd_seed_first) : static_cast<uint32_t>(rnd_seed);
        reseed(m, low);
        return;
    }
    int16_t value = 0;
    if (!ask_seed(randomize_prompt, &value)) return;
    reseed(static_cast<uint16_t>(value), static_cast<uint32_t>(rnd_seed));
}

void randomize_set_ask_seed(randomize_ask_seed_fn ask) { ask_seed = ask ? ask : print_prompt_only; }

void rnd_reset_seeds() {
    rnd_seed = seed_start;
    rnd_seed_first = seed_start;
}

int32_t rnd_state() { return rnd_seed; }

void rnd_reset_for_tests() {
    rnd_reset_seeds();
    ask_seed = print_prompt_only;
}
