// The keyboard INPUT editor's checks: &H/&O/&B parsing, fields, and typing key by key into each target type.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "number/type_word.h"
#include "string/zvs.h"
#include "text/input_editor_check.h"

namespace {

constexpr uint32_t integer_word = 16;
constexpr uint32_t long_word = 32;
constexpr uint32_t uint64_word = 64 | type_word_unsigned;
constexpr uint32_t single_word = 32 | type_word_float;
constexpr uint32_t double_word = 64 | type_word_float;
constexpr uint32_t float_word = 256 | type_word_float;

TEST(Hexoct2uint64, KindsValuesAndRefusals) {
    struct row {
        std::string text;
        int32_t kind;
        uint64_t value;
    };
    const std::vector<row> rows = {
        {"", 1, 0},
        {"&", 1, 0},
        {"&H", 1, 0},
        {"&Q", 0, 0},
        {"&HG", 0, 0},
        {"12", 0, 0},
        {"&H" + std::string(17, 'F'), 0, 0},
        {"&O2" + std::string(21, '7'), 0, 0},
        {"&B" + std::string(65, '1'), 0, 0},
        {"&H" + std::string(16, 'F'), 1, UINT64_MAX},
        {"&O1" + std::string(21, '7'), 2, UINT64_MAX},
        {"&B" + std::string(64, '1'), 3, UINT64_MAX},
        {"&hff", 1, 255},
        {"&o17", 2, 15},
        {"&b101", 3, 5},
    };
    zvs_global_init();
    for (const row& r : rows) {
        zvs* text = zvs_new_txt_len(r.text.data(), static_cast<int32_t>(r.text.size()));
        EXPECT_EQ(hexoct2uint64(text), r.kind) << r.text;
        if (r.kind) {
            EXPECT_EQ(hexoct2uint64_value(), r.value) << r.text;
        }
    }
}

// Types keys one at a time as the editor does: a refused key is taken back at once.
struct typed {
    std::string kept;
    std::vector<std::string> fields;
};

typed type_keys(const std::string& keys, int32_t n, bool line_input, const uint32_t* types, void** targets) {
    typed result;
    for (int32_t k = 0; k < n; ++k) input_clear_target(types[k], targets[k]);
    for (char key : keys) {
        const std::string line = result.kept + key;
        std::vector<std::string> fields;
        const int32_t count = input_split_line(line, n, line_input, fields);
        if (count && input_check_field(fields.back(), types[count - 1], targets[count - 1])) {
            result.kept = line;
            continue;
        }
        // Taken back: the field being typed is checked again as it was.
        input_split_line(result.kept, n, line_input, fields);
        input_check_field(fields.back(), types[fields.size() - 1], targets[fields.size() - 1]);
    }
    return result;
}

template <typename T>
std::pair<std::string, T> type_into(const std::string& keys, uint32_t type) {
    T value{};
    void* target = &value;
    const std::string kept = type_keys(keys, 1, false, &type, &target).kept;
    return {kept, value};
}

TEST(InputEditorCheck, IntegerTargets) {
    struct row {
        std::string keys, kept;
        int16_t value;
    };
    const std::vector<row> rows = {
        {"327678", "32767", 32767},
        {"32768", "3276", 3276},
        {"-32768", "-32768", -32768},
        {"-32769", "-3276", -3276},
        {"&HFFFF", "&HFFFF", -1},
        {"&H10000", "&H1000", 4096},
        {"&H0FFFF", "&H0FFF", 4095},
        {"        1", "1", 1},
        {"-", "-", 0},
        {"1x2", "12", 12},
    };
    for (const row& r : rows) {
        auto [kept, value] = type_into<int16_t>(r.keys, integer_word);
        EXPECT_EQ(kept, r.kept) << r.keys;
        EXPECT_EQ(value, r.value) << r.keys;
    }
}

TEST(InputEditorCheck, LongAndUnsigned64Targets) {
    auto [kept, value] = type_into<int32_t>("007", long_word);
    EXPECT_EQ(kept, "0");
    EXPECT_EQ(value, 0);
    auto [kept_max, max] = type_into<uint64_t>("18446744073709551615", uint64_word);
    EXPECT_EQ(kept_max, "18446744073709551615");
    EXPECT_EQ(max, UINT64_MAX);
    auto [kept_over, over] = type_into<uint64_t>("18446744073709551616", uint64_word);
    EXPECT_EQ(kept_over, "1844674407370955161");
    EXPECT_EQ(over, 1844674407370955161ULL);
    auto [kept_neg, neg] = type_into<int64_t>("-9223372036854775808", 64);
    EXPECT_EQ(kept_neg, "-9223372036854775808");
    EXPECT_EQ(neg, INT64_MIN);
    auto [kept_pos, pos] = type_into<int64_t>("9223372036854775808", 64);
    EXPECT_EQ(kept_pos, "922337203685477580");
    EXPECT_EQ(pos, 922337203685477580LL);
}

TEST(InputEditorCheck, SingleTargets) {
    struct row {
        std::string keys, kept;
        float value;
    };
    const std::vector<row> rows = {
        {"1E38", "1E38", 1e38f},
        {"4E38", "4E3", 4000.0f},
        {"1D5", "15", 15.0f},
        {"0E5", "0", 0.0f},
        {"0.5E3", "0.5E3", 500.0f},
        {"1.23456789", "1.2345678", 1.2345678f},
        {"0.12345678", "0.12345678", 0.12345678f},
        {".5", ".5", 0.5f},
        {"-.5", "-.5", -0.5f},
        {"1E05", "1E0", 1.0f},
        {"1.", "1.", 1.0f},
        {"1E-", "1E-", 1.0f},
        {"&H10", "&H10", 16.0f},
    };
    for (const row& r : rows) {
        auto [kept, value] = type_into<float>(r.keys, single_word);
        EXPECT_EQ(kept, r.kept) << r.keys;
        EXPECT_EQ(value, r.value) << r.keys;
    }
}

TEST(InputEditorCheck, DoubleTargets) {
    auto [kept, value] = type_into<double>("1D5", double_word);
    EXPECT_EQ(kept, "1D5");
    EXPECT_EQ(value, 1e5);
    auto [kept_big, big] = type_into<double>("1.8E308", double_word);
    EXPECT_EQ(kept_big, "1.8E30");
    EXPECT_EQ(big, 1.8e30);
}

TEST(InputEditorCheck, FloatTargetLeavesTheBytesAfterItAlone) {
    struct {
        long double value;
        uint8_t guard[16];
    } target;
    std::memset(&target, 0x55, sizeof target);
    std::memset(target.guard, 0xAA, sizeof target.guard);
    void* address = &target.value;
    uint32_t type = float_word;
    EXPECT_EQ(type_keys("1", 1, false, &type, &address).kept, "1");
    EXPECT_EQ(target.value, 1.0L);
    for (uint8_t byte : target.guard) EXPECT_EQ(byte, 0xAA);
}

TEST(InputEditorCheck, UntouchedTargetIsCheckedButNeverWritten) {
    int16_t value = 77;
    void* target = &value;
    uint32_t type = integer_word | type_word_untouched;
    EXPECT_EQ(type_keys("12x", 1, false, &type, &target).kept, "12");
    EXPECT_EQ(value, 77);
}

class InputEditorFields : public ::testing::Test {
  protected:
    void SetUp() override { zvs_global_init(); }
    static std::string text_of(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), static_cast<size_t>(s->length)); }
};

TEST_F(InputEditorFields, TwoIntegersTakeOneCommaBetweenThem) {
    int16_t a = 9, b = 9;
    void* targets[2] = {&a, &b};
    const uint32_t types[2] = {integer_word, integer_word};
    EXPECT_EQ(type_keys("1,2,", 2, false, types, targets).kept, "1,2");
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    a = b = 9;
    EXPECT_EQ(type_keys("1", 2, false, types, targets).kept, "1");
    EXPECT_EQ(b, 0) << "a target with no field stays cleared";
}

TEST_F(InputEditorFields, StringsQuotesAndLineInput) {
    zvs* s = zvs_new(0, 0);
    void* target = s;
    uint32_t type = type_word_string;
    EXPECT_EQ(type_keys("ab\"", 1, false, &type, &target).kept, "ab\"");
    EXPECT_EQ(text_of(s), "ab\"");
    EXPECT_EQ(type_keys("\"x\"y", 1, false, &type, &target).kept, "\"x\"");
    EXPECT_EQ(text_of(s), "x");

    int16_t n = 0;
    void* targets[2] = {s, &n};
    const uint32_t types[2] = {type_word_string, integer_word};
    EXPECT_EQ(type_keys("\"x\"y,5", 2, false, types, targets).kept, "\"x\",5");
    EXPECT_EQ(text_of(s), "x");
    EXPECT_EQ(n, 5);

    const uint32_t line_word = 0xFFFFFE00u;
    EXPECT_EQ(type_keys("a,\"b\"", 1, true, &line_word, &target).kept, "a,\"b\"");
    EXPECT_EQ(text_of(s), "a,\"b\"");
}

TEST_F(InputEditorFields, FixedLengthStringRefusesTextPastItsLength) {
    char bytes[3];
    zvs* s = zvs_new_fixed(bytes, 3, 0);
    void* target = s;
    uint32_t type = type_word_string;
    EXPECT_EQ(type_keys("abcd", 1, false, &type, &target).kept, "abc");
    EXPECT_EQ(std::string(bytes, 3), "abc");
}

}  // namespace
