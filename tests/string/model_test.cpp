// Randomised model test: assignment, joins, temporaries, marks and the string functions
// against std::string shadows, on a tiny heap and short lists so that compaction, list
// compaction and growth happen all the time; the invariant checker runs after every step.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "string_fixture.h"

namespace {

constexpr uint64_t model_seed = 0x5eed2026;
constexpr int model_steps = 120000;

// Independent formulations of the selection and search rules.
std::string ref_mid(const std::string& s, int64_t start, int64_t length, bool passed) {
    int64_t n = int64_t(s.size());
    int64_t begin = start - 1;
    int64_t end = passed ? begin + length : n;
    begin = std::clamp<int64_t>(begin, 0, n);
    end = std::clamp<int64_t>(end, begin, n);
    return s.substr(begin, end - begin);
}

int32_t ref_instr(int64_t start, const std::string& s, const std::string& find, bool passed) {
    if (!passed) start = 1;
    if (s.empty() || (start <= 0 && find.empty())) return 0;
    start = std::max<int64_t>(start, 1);
    if (start > int64_t(s.size())) return 0;
    size_t at = s.find(find, start - 1);
    return at == std::string::npos ? 0 : int32_t(at + 1);
}

int32_t ref_instrrev(int64_t start, const std::string& s, const std::string& find, bool passed) {
    int64_t n = int64_t(s.size()), m = int64_t(find.size());
    if (n == 0 || m > n) return 0;
    bool given = passed && start >= 1 && start <= n;
    if (m == 0) return int32_t(given ? start - 1 : n);
    size_t at = s.rfind(find, given ? start - 1 : n - m);
    return at == std::string::npos ? 0 : int32_t(at + 1);
}

int sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

class StringModel : public StringTest {
protected:
    struct tracked {
        zvs* s;
        std::string shadow;
    };
    struct fixed_var {
        std::unique_ptr<uint8_t[]> bytes;
        zvs* s;
        std::string shadow;
    };
    struct temp {
        zvs* s;
        std::string shadow;
        size_t level;     // number of marks when it was registered
        int view_of = -1;  // a temporary view of a fixed variable's bytes
    };

    std::mt19937_64 rng{model_seed};
    std::vector<tracked> vars;
    std::vector<fixed_var> fixed;
    std::vector<temp> temps;
    std::vector<uint32_t> marks;
    std::vector<std::string> constants;
    int step = 0;
    int64_t last_op = 0;

    int64_t pick(int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    std::string random_bytes() {
        static const char alphabet[] = "  aAbBzZ_[`{\t\x80\xff\0";
        int64_t length = chance(5) ? pick(100, 400) : pick(0, 24);
        std::string out;
        for (int64_t i = 0; i < length; i++) out += alphabet[pick(0, sizeof alphabet - 1)];
        return out;
    }

    int32_t random_position() {
        switch (pick(0, 9)) {
            case 0: return int32_t(pick(INT32_MIN, -1));
            case 1: return int32_t(pick(INT32_MAX - 2, INT32_MAX));
            case 2: return int32_t(pick(-3, 0));
            default: return int32_t(pick(1, 30));
        }
    }

    const std::string& content(const temp& t) const { return t.view_of >= 0 ? fixed[t.view_of].shadow : t.shadow; }

    void add_temp(zvs* s, std::string shadow, int view_of = -1) {
        temps.push_back({s, std::move(shadow), marks.size(), view_of});
    }
    void forget_temp(zvs* s) {
        auto it = std::find_if(temps.begin(), temps.end(), [&](const temp& t) { return t.s == s; });
        ASSERT_NE(it, temps.end());
        temps.erase(it);
    }

    // A string to read or consume, with its expected bytes.
    struct source {
        zvs* s;
        std::string bytes;
        bool temporary;
    };
    source any_source() {
        int64_t choice = pick(0, 3);
        if (choice == 0 && !temps.empty()) {
            const temp& t = temps[pick(0, temps.size() - 1)];
            return {t.s, content(t), true};
        }
        if (choice == 1) {
            const fixed_var& f = fixed[pick(0, fixed.size() - 1)];
            return {f.s, f.shadow, false};
        }
        if (choice == 2) {
            make_temp();
            return {temps.back().s, content(temps.back()), true};
        }
        const tracked& v = vars[pick(0, vars.size() - 1)];
        return {v.s, v.shadow, false};
    }
    void consumed(const source& src) {
        if (src.temporary) forget_temp(src.s);
    }

    void make_temp() {
        switch (pick(0, 2)) {
            case 0: {
                std::string bytes = random_bytes();
                add_temp(tmp(bytes), bytes);
                break;
            }
            case 1: {
                const std::string& c = constants[pick(0, constants.size() - 1)];
                add_temp(zvs_new_txt_len(c.data(), int32_t(c.size())), c);
                break;
            }
            default: {
                int index = int(pick(0, fixed.size() - 1));
                fixed_var& f = fixed[index];
                add_temp(zvs_new_fixed(f.bytes.get(), uint32_t(f.shadow.size()), 1), "", index);
            }
        }
    }

    void assign() {
        source src = any_source();
        if (chance(25)) {
            fixed_var& f = fixed[pick(0, fixed.size() - 1)];
            zvs_set(f.s, src.s);
            std::string padded = src.bytes.substr(0, f.shadow.size());
            padded.resize(f.shadow.size(), ' ');
            f.shadow = padded;
        } else {
            tracked& v = vars[pick(0, vars.size() - 1)];
            zvs_set(v.s, src.s);
            v.shadow = src.bytes;
        }
        consumed(src);
    }

    void join() {
        source a = any_source();
        source b = any_source();
        bool same = a.s == b.s;
        zvs* r = zvs_add(a.s, b.s);
        ASSERT_EQ(str(r), a.bytes + b.bytes);
        if (b.bytes.empty()) {
            ASSERT_EQ(r, a.s);
        } else if (a.bytes.empty()) {
            ASSERT_EQ(r, b.s);
        } else {
            consumed(a);
            if (!same) consumed(b);
            add_temp(r, a.bytes + b.bytes);
        }
    }

    void string_function() {
        source src = any_source();
        const std::string& s = src.bytes;
        int32_t n = random_position();
        int32_t start = random_position();
        int32_t length = random_position();
        bool passed = chance(50);
        std::string expected;
        zvs* r = nullptr;
        switch (pick(0, 7)) {
            case 0:
                r = zvs_left(src.s, n);
                expected = s.substr(0, std::clamp<int64_t>(n, 0, s.size()));
                break;
            case 1: {
                int64_t count = std::clamp<int64_t>(n, 0, s.size());
                r = zvs_right(src.s, n);
                expected = s.substr(s.size() - count);
                break;
            }
            case 2:
                r = func_mid(src.s, start, length, passed);
                expected = ref_mid(s, start, length, passed);
                break;
            case 3: {
                r = zvs_ltrim(src.s);
                size_t first = s.find_first_not_of(' ');
                expected = first == std::string::npos ? "" : s.substr(first);
                break;
            }
            case 4: {
                r = zvs_rtrim(src.s);
                size_t last = s.find_last_not_of(' ');
                expected = last == std::string::npos ? "" : s.substr(0, last + 1);
                break;
            }
            case 5: {
                r = zvs__trim(src.s);
                size_t first = s.find_first_not_of(' ');
                expected = first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(' ') - first + 1);
                break;
            }
            case 6:
                r = zvs_ucase(src.s);
                expected = s;
                for (char& c : expected)
                    if (c >= 'a' && c <= 'z') c = char(c - 32);
                break;
            default:
                r = zvs_lcase(src.s);
                expected = s;
                for (char& c : expected)
                    if (c >= 'A' && c <= 'Z') c = char(c + 32);
        }
        ASSERT_EQ(str(r), expected) << "function on " << s;
        bool plain = src.temporary && zvs_plain_temporary(src.s);
        if (r == src.s) {
            if (src.temporary) {
                ASSERT_TRUE(plain || expected == s);
                auto it = std::find_if(temps.begin(), temps.end(), [&](const temp& t) { return t.s == r; });
                if (it->view_of < 0) it->shadow = expected;
            } else {
                ASSERT_EQ(expected, s);  // a variable is only ever returned unchanged
            }
        } else {
            ASSERT_FALSE(plain) << "a plain temporary is edited in place";
            consumed(src);
            add_temp(r, expected);
        }
    }

    void reading_function() {
        source a = any_source();
        source b = any_source();
        int32_t start = random_position();
        bool passed = chance(50);
        ASSERT_EQ(func_instr(start, a.s, b.s, passed), ref_instr(start, a.bytes, b.bytes, passed));
        ASSERT_EQ(func__instrrev(start, a.s, b.s, passed), ref_instrrev(start, a.bytes, b.bytes, passed));
        ASSERT_EQ(func__str_compare(a.s, b.s), sign(a.bytes.compare(b.bytes)));
        ASSERT_EQ(zvs_lessthan(a.s, b.s), a.bytes < b.bytes ? -1 : 0);
        ASSERT_EQ(zvs_equal(a.s, b.s), a.bytes == b.bytes ? -1 : 0);
        if (!a.bytes.empty()) {
            ASSERT_EQ(zvs_asc(a.s), uint8_t(a.bytes[0]));
        }
    }

    void edit_in_place() {
        source src = any_source();
        bool to_fixed = chance(50);
        std::string& shadow = to_fixed ? fixed[pick(0, fixed.size() - 1)].shadow : vars[pick(0, vars.size() - 1)].shadow;
        zvs* dest = nullptr;
        for (auto& f : fixed)
            if (&f.shadow == &shadow) dest = f.s;
        for (auto& v : vars)
            if (&v.shadow == &shadow) dest = v.s;
        int64_t choice = to_fixed ? pick(0, 2) : 0;
        if (choice == 0) {
            int32_t start = random_position();
            int32_t length = random_position();
            bool passed = chance(50);
            sub_mid(dest, start, length, src.s, passed);
            // Overwrite the bytes of dest that MID$(dest, start, length) would select.
            int64_t skip = start <= 0 ? 1 - int64_t(start) : 0;
            std::string from = skip < int64_t(src.bytes.size()) ? src.bytes.substr(skip) : "";
            int64_t count = (passed ? int64_t(length) : int64_t(src.bytes.size())) - skip;
            int64_t first = std::max<int64_t>(start, 1) - 1;
            count = std::min({count, int64_t(shadow.size()) - first, int64_t(from.size())});
            if (count > 0) shadow.replace(first, count, from.substr(0, count));
        } else {
            std::string justified = src.bytes.substr(0, shadow.size());
            size_t pad = shadow.size() - justified.size();
            if (choice == 1) {
                sub_lset(dest, src.s);
                shadow = justified + std::string(pad, ' ');
            } else {
                sub_rset(dest, src.s);
                shadow = std::string(pad, ' ') + justified;
            }
        }
    }

    void function_call() {
        // FUNCTION shape: mark, a local string, a statement, release, hand the local back.
        marks.push_back(zvs_tmp_list_nexti());
        zvs* local = zvs_new(0, 0);
        source src = any_source();
        zvs_set(local, src.s);
        consumed(src);
        release_to_top();
        marks.pop_back();
        zvs_maketmp(local);
        add_temp(local, src.bytes);
    }

    // Temporaries made at this depth are released, except those registered below the mark
    // (a hand-over or free of an older temporary lowered the top under it): they now belong
    // to the enclosing depth. Older temporaries are never released.
    void release_to_top() {
        uint32_t mark = marks.back();
        EXPECT_EQ(zvs_tmp_release_to(mark, 1234), 1234);
        for (temp& t : temps) {
            uint32_t slot = uint32_t(t.s->temp_slot);
            bool registered = slot < zvs_tmp_list_nexti() && zvs_tmp_slot(slot) == t.s;
            if (t.level < marks.size()) {
                ASSERT_TRUE(registered) << "step " << step;
            } else if (registered) {
                ASSERT_LT(slot, mark) << "step " << step;
                t.level = marks.size() - 1;
            } else {
                t.s = nullptr;
            }
        }
        std::erase_if(temps, [](const temp& t) { return t.s == nullptr; });
    }

    void free_something() {
        if (!temps.empty() && chance(50)) {
            zvs* s = temps[pick(0, temps.size() - 1)].s;
            zvs_free(s);
            forget_temp(s);
        } else {
            tracked& v = vars[pick(0, vars.size() - 1)];
            zvs_free(v.s);
            v.shadow = random_bytes();
            v.s = var(v.shadow);
        }
    }

    static bool holds(const zvs* s, const std::string& bytes) {
        return size_t(s->length) == bytes.size() && (bytes.empty() || memcmp(s->text, bytes.data(), bytes.size()) == 0);
    }

    // Runs after every step: compares without allocating unless something differs (the
    // messages are built only for a failure).
    void check_all() {
        std::string problems = zvs_check_invariants();
        ASSERT_EQ(problems, "") << "step " << step << ", operation " << last_op;
        for (const tracked& v : vars)
            ASSERT_TRUE(holds(v.s, v.shadow)) << "step " << step << ", operation " << last_op << ": " << str(v.s);
        for (const fixed_var& f : fixed) {
            ASSERT_EQ(f.s->text, f.bytes.get());
            ASSERT_TRUE(holds(f.s, f.shadow)) << "step " << step << ", operation " << last_op << ": " << str(f.s);
        }
        for (const temp& t : temps) {
            ASSERT_TRUE(holds(t.s, content(t))) << "step " << step << ", operation " << last_op << ": " << str(t.s);
            ASSERT_EQ(zvs_tmp_slot(t.s->temp_slot), t.s) << "step " << step << ", operation " << last_op;
        }
        ASSERT_EQ(zvs_heap_info_now().live_descriptors, int64_t(vars.size() + fixed.size() + temps.size()))
            << "step " << step << ", operation " << last_op;
    }
};

TEST_F(StringModel, RandomOperationsAgreeWithStdString) {
    std::printf("string model: seed 0x%llx, %d steps\n", static_cast<unsigned long long>(model_seed), model_steps);
    reset(256, 16, 16);
    for (int i = 0; i < 12; i++) constants.push_back(random_bytes());
    marks.push_back(zvs_tmp_list_nexti());
    for (int i = 0; i < 12; i++) {
        std::string bytes = random_bytes();
        vars.push_back({var(bytes), bytes});
    }
    for (int i = 0; i < 4; i++) {
        size_t size = size_t(pick(1, 12));
        fixed_var f{std::make_unique<uint8_t[]>(size), nullptr, std::string(size, ' ')};
        memset(f.bytes.get(), ' ', size);
        f.s = zvs_new_fixed(f.bytes.get(), uint32_t(size), 0);
        fixed.push_back(std::move(f));
    }
    int64_t growths = 0, last_size = zvs_heap_info_now().heap_size;
    for (step = 0; step < model_steps; step++) {
        int64_t op = pick(0, 99);
        last_op = op;
        if (op < 14) {
            make_temp();
        } else if (op < 32) {
            assign();
        } else if (op < 46) {
            join();
        } else if (op < 66) {
            string_function();
        } else if (op < 74) {
            reading_function();
        } else if (op < 82) {
            edit_in_place();
        } else if (op < 86) {
            function_call();
        } else if (op < 90) {
            free_something();
        } else if (op < 94) {
            if (marks.size() < 6) marks.push_back(zvs_tmp_list_nexti());
        } else if (op < 97 || temps.size() > 80) {
            release_to_top();
        } else if (marks.size() > 1) {
            release_to_top();
            marks.pop_back();
        }
        if (HasFatalFailure()) return;
        check_all();
        if (HasFatalFailure()) return;
        if (zvs_heap_info_now().heap_size != last_size) growths++, last_size = zvs_heap_info_now().heap_size;
    }
    while (marks.size() > 1) marks.pop_back();
    release_to_top();
    check_all();
    EXPECT_TRUE(temps.empty());
    EXPECT_GT(growths, 2);
    std::printf("string model: heap grew %lld times to %lld bytes\n", static_cast<long long>(growths),
                static_cast<long long>(last_size));
}

}  // namespace
