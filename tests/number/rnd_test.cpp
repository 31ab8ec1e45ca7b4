// RND and RANDOMIZE: the generator's states from known seeds, and the seed question.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "error/error.h"
#include "number/rnd.h"

namespace {

constexpr double two24 = 16777216.0;

class Rnd : public ::testing::Test {
protected:
    void SetUp() override {
        error_reset_for_tests();
        rnd_reset_for_tests();
    }
    void TearDown() override {
        error_reset_for_tests();
        rnd_reset_for_tests();
    }
};

float value_of(int32_t state) { return static_cast<float>(state / two24); }

TEST_F(Rnd, SequencesFromTheStartState) {
    EXPECT_EQ(func_rnd(0, 1), 0.01953125f);  // RND(0) repeats the start state
    EXPECT_EQ(rnd_state(), 327680);
    EXPECT_EQ(func_rnd(0, 0), value_of(11837123));  // no argument counts as 1
    EXPECT_EQ(rnd_state(), 11837123);
    EXPECT_EQ(func_rnd(-0.0f, 1), value_of(11837123));  // -0 repeats too

    rnd_reset_for_tests();
    EXPECT_EQ(func_rnd(std::numeric_limits<float>::quiet_NaN(), 1), value_of(11837123));
}

TEST_F(Rnd, NegativeArgumentRestartsItsSequence) {
    func_rnd(1, 1);
    func_rnd(1, 1);
    // Seeded from the pattern 0xBF800000 with a logical shift: 0x8000BF.
    EXPECT_EQ(func_rnd(-1, 1), value_of(3758214));
    EXPECT_EQ(func_rnd(-1, 1), value_of(3758214));
    EXPECT_EQ(func_rnd(1, 1), value_of(601393));
    EXPECT_EQ(func_rnd(-1, 1), value_of(3758214));
    EXPECT_EQ(func_rnd(1, 1), value_of(601393));
}

TEST_F(Rnd, RandomizeUsingIsReproducible) {
    const int32_t expected[] = {12832451, 1769082, 10292053};
    for (int32_t warmup : {0, 1, 7}) {
        for (int32_t i = 0; i < warmup; i++) func_rnd(1, 1);
        sub_randomize(1.0, 3);
        EXPECT_EQ(rnd_state(), 0x3FF000);
        for (int32_t state : expected) EXPECT_EQ(func_rnd(1, 0), value_of(state)) << warmup;
    }
}

TEST_F(Rnd, RandomizeKeepsTheCurrentLowByte) {
    func_rnd(1, 1);  // 11837123 = 0xB49EC3
    sub_randomize(1.0, 1);
    EXPECT_EQ(rnd_state(), 0x3FF0C3);
}

TEST_F(Rnd, StateStaysIn24Bits) {
    for (int32_t i = 0; i < 1000000; i++) {
        float v = func_rnd(1, 1);
        ASSERT_GE(rnd_state(), 0);
        ASSERT_LE(rnd_state(), 16777215);
        ASSERT_LT(v, 1.0f);
    }
    // Negative seeds of every shape stay in range too.
    for (float x : {-1.0f, -1E38f, -std::numeric_limits<float>::infinity(), -1.4E-45f}) {
        func_rnd(x, 1);
        EXPECT_LE(rnd_state(), 16777215) << x;
    }
}

TEST_F(Rnd, PendingErrorDoesNothing) {
    error(53);
    EXPECT_EQ(func_rnd(1, 1), 0.0f);
    sub_randomize(1.0, 3);
    EXPECT_EQ(rnd_state(), 327680);
    EXPECT_EQ(new_error.load(), 53);
}

struct asked {
    std::vector<std::string> prompts;
    int16_t answer = 0;
    int32_t read = 1;
};
asked* current = nullptr;

int32_t answer_seed(const char* prompt, int16_t* value) {
    current->prompts.push_back(prompt);
    *value = current->answer;
    return current->read;
}

TEST_F(Rnd, RandomizeAsksForASeed) {
    asked a;
    current = &a;
    randomize_set_ask_seed(answer_seed);
    func_rnd(1, 1);  // low byte 0xC3
    a.answer = 5;
    sub_randomize(0, 0);
    EXPECT_EQ(rnd_state(), 5 * 256 + 0xC3);
    a.answer = -1;
    sub_randomize(0, 2);
    EXPECT_EQ(rnd_state(), 0xFFFFC3);
    ASSERT_EQ(a.prompts.size(), 2u);
    EXPECT_EQ(a.prompts[0], "Random-number seed (-32768 to 32767)? ");
    // Nothing read (the program is stopping): the state stays.
    a.read = 0;
    a.answer = 9;
    sub_randomize(0, 0);
    EXPECT_EQ(rnd_state(), 0xFFFFC3);
    current = nullptr;
}

TEST_F(Rnd, RunResetsBothSeeds) {
    sub_randomize(12345.0, 1);
    func_rnd(1, 1);
    rnd_reset_seeds();
    EXPECT_EQ(func_rnd(0, 1), 0.01953125f);
    sub_randomize(1.0, 3);
    EXPECT_EQ(rnd_state(), 0x3FF000);
}

}  // namespace
