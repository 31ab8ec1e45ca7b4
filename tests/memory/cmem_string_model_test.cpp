// Randomised model test of data-block strings: variables, temporaries of both
// storages, FUNCTION-shaped calls returning data-block results and SUB scopes that
// give their descriptors back, against std::string shadows. A short list and a
// full text area make list compaction and text compaction frequent. After every
// step each variable's descriptor is read through PEEK and must describe it.
#include <random>
#include <vector>

#include "memory/cmem_string_fixture.h"

namespace {

constexpr uint64_t model_seed = 0xdb10c2026;
constexpr int model_steps = 40000;
// Live text stays under this, so the area never runs out but gaps keep filling it.
constexpr size_t live_text_limit = 40000;

class CmemStringModel : public CmemStringTest {
protected:
    struct variable {
        zvs* s;
        std::string shadow;
        size_t scope;  // scope depth that owns it
    };
    struct scope {
        int32_t saved_cmem_sp;
        size_t first_variable;
    };

    std::mt19937_64 rng{model_seed};
    std::vector<variable> vars;
    std::vector<scope> scopes;
    std::vector<std::pair<zvs*, std::string>> fixed;  // fixed-length strings inside the block
    int step = 0;

    int64_t pick(int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    size_t live_text() const {
        size_t total = 0;
        for (const auto& v : vars) total += v.shadow.size();
        return total;
    }

    std::string random_bytes() {
        size_t length = chance(8) && live_text() < live_text_limit / 2 ? size_t(pick(500, 4000)) : size_t(pick(0, 40));
        std::string out(length, '\0');
        for (auto& c : out) c = char(pick(0, 255));
        return out;
    }

    // A source string for an assignment, with its bytes: a temporary of either
    // storage, a read-only constant, or another variable.
    struct source {
        zvs* s;
        std::string bytes;
    };
    source any_source() {
        static const char constant[] = "a read-only constant";
        switch (pick(0, 4)) {
            case 0: {
                std::string b = random_bytes();
                return {heap_tmp(b), b};
            }
            case 1: {
                std::string b = random_bytes();
                return {db_tmp(b), b};
            }
            case 2: return {zvs_new_txt(constant), constant};
            case 3: return function_call();
            default: {
                if (vars.empty()) return {zvs_new_txt(constant), constant};
                const variable& v = vars[size_t(pick(0, int64_t(vars.size()) - 1))];
                return {v.s, v.shadow};
            }
        }
    }

    // FUNCTION f$: a local data-block string built in a few statements becomes the
    // result; the other local is freed and the descriptors are given back.
    source function_call() {
        int32_t saved = cmem_sp;
        zvs* result = db_var("");
        zvs* other = db_var("scratch");
        std::string expected;
        for (int64_t i = pick(1, 3); i > 0; i--) {
            uint32_t mark = zvs_tmp_list_nexti();
            std::string more = random_bytes().substr(0, 30);
            zvs_set(result, zvs_add(result, heap_tmp(more)));
            expected += more;
            zvs_tmp_release_to(mark, 0);
        }
        zvs_free(other);
        zvs_maketmp(result);
        cmem_sp = saved;
        return {result, expected};
    }

    void new_variable() {
        std::string b = random_bytes();
        vars.push_back({db_var(b), b, scopes.size()});
    }

    void assign() {
        if (vars.empty()) return new_variable();
        source src = any_source();
        variable& v = vars[size_t(pick(0, int64_t(vars.size()) - 1))];
        zvs_set(v.s, src.s);
        v.shadow = src.bytes;
    }

    void append() {
        if (vars.empty()) return new_variable();
        variable& v = vars[size_t(pick(0, int64_t(vars.size()) - 1))];
        source src = any_source();
        std::string joined = v.shadow + src.bytes;
        zvs_set(v.s, zvs_add(v.s, src.s));
        v.shadow = joined;
    }

    void assign_fixed() {
        auto& [f, shadow] = fixed[size_t(pick(0, int64_t(fixed.size()) - 1))];
        source src = any_source();
        zvs_set(f, src.s);
        shadow = src.bytes.substr(0, size_t(f->length));
        shadow.resize(size_t(f->length), ' ');
    }

    void free_variable() {
        size_t first = scopes.empty() ? 0 : scopes.back().first_variable;
        if (vars.size() <= first) return;
        size_t i = first + size_t(pick(0, int64_t(vars.size() - first) - 1));
        zvs_free(vars[i].s);
        vars.erase(vars.begin() + int64_t(i));
    }

    void enter_scope() { scopes.push_back({cmem_sp, vars.size()}); }

    void leave_scope() {
        if (scopes.empty()) return;
        while (vars.size() > scopes.back().first_variable) {
            zvs_free(vars.back().s);
            vars.pop_back();
        }
        cmem_sp = scopes.back().saved_cmem_sp;
        scopes.pop_back();
    }

    void check() {
        ASSERT_EQ(zvs_cmem_check_invariants(), "") << "step " << step;
        ASSERT_EQ(zvs_check_invariants(), "") << "step " << step;
        ASSERT_EQ(zvs_tmp_list_nexti(), 1u) << "step " << step;
        for (const auto& v : vars) {
            ASSERT_EQ(str(v.s), v.shadow) << "step " << step;
            auto d = peek_descriptor(v.s->data_block_offset);
            ASSERT_EQ(d[0], int32_t(v.shadow.size() & 0xFFFF)) << "step " << step;
            ASSERT_EQ(d[1], text_offset(v.s)) << "step " << step;
            ASSERT_EQ(memcmp(dblock + d[1], v.shadow.data(), v.shadow.size()), 0) << "step " << step;
        }
        for (const auto& [f, shadow] : fixed) {
            ASSERT_EQ(str(f), shadow) << "step " << step;
            auto d = peek_descriptor(f->data_block_offset);
            ASSERT_EQ(d[0], int32_t(shadow.size()));
            ASSERT_EQ(d[1], text_offset(f));
        }
        ASSERT_EQ(str(nothingstring), "");
        ASSERT_EQ(str(singlespace), " ");
    }
};

TEST_F(CmemStringModel, RandomOperationsKeepEveryDescriptorTrue) {
    start(16);
    fixed.push_back({zvs_new_fixed(cmem + 0x510, 12, 0), std::string(12, '\0')});
    fixed.push_back({zvs_new_fixed(cmem + 0x580, 3, 0), std::string(3, '\0')});
    for (int i = 0; i < 8; i++) new_variable();
    int64_t compactions_seen = 0;
    for (step = 0; step < model_steps; step++) {
        int32_t text_end_before = zvs_cmem_sp();
        uint32_t mark = zvs_tmp_list_nexti();
        int64_t op = pick(0, 99);
        bool room = live_text() < live_text_limit;
        if (op < 15 && room && vars.size() < 60) {
            new_variable();
        } else if (op < 47 && room) {
            assign();
        } else if (op < 62 && room) {
            append();
        } else if (op < 69) {
            assign_fixed();
        } else if (op < 80) {
            free_variable();
        } else if (op < 88 && scopes.size() < 4) {
            enter_scope();
        } else if (op < 93) {
            leave_scope();
        } else {
            // A statement that only makes temporaries: released at its end.
            any_source();
            if (chance(50)) any_source();
        }
        zvs_tmp_release_to(mark, 0);
        if (zvs_cmem_sp() < text_end_before) compactions_seen++;
        check();
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(compactions_seen, 10) << "the model should exercise compaction";
}

}  // namespace
