// The blend tables, built from single- and double-precision recipes so that every
// entry is reproducible bit for bit.
#include "draw/blend.h"

#include <cmath>
#include <cstring>

uint8_t cblend[256 * 256 * 256];
uint8_t ablend[256 * 256];
const uint8_t* const ablend127 = ablend + 127 * 256;
const uint8_t* const ablend128 = ablend + 128 * 256;

namespace {
bool built = false;
}

void blend_reset_for_tests() {
    built = false;
    memset(cblend, 0, sizeof cblend);
    memset(ablend, 0, sizeof ablend);
}

void init_blend() {
    if (built) return;
    built = true;
    uint8_t* out = cblend;
    for (int a = 0; a < 256; a++) {
        float alpha = static_cast<float>(a / 255.0);
        double keep = 1.0 - static_cast<double>(alpha);
        for (int n = 0; n < 256; n++) {
            double added = static_cast<double>(alpha * static_cast<float>(n));
            for (int o = 0; o < 256; o++) *out++ = static_cast<uint8_t>(std::lrintf(static_cast<float>(keep * o + added)));
        }
    }
    for (int a = 0; a < 256; a++) {
        float rest_a = 1.0f - static_cast<float>(a) / 255.0f;
        for (int b = 0; b < 256; b++) {
            float rest_b = 1.0f - static_cast<float>(b) / 255.0f;
            float product = rest_a * rest_b;
            ablend[a * 256 + b] = static_cast<uint8_t>(std::lrintf(static_cast<float>(255.0 * (1.0 - static_cast<double>(product)))));
        }
    }
}
