// The string functions and statements against tables of cases, edge cases included.
#include <climits>
#include <vector>

#include "string_fixture.h"

namespace {

class StringFunctions : public StringTest {};

TEST_F(StringFunctions, MidFunction) {
    struct row {
        const char* s;
        int32_t start, length, passed;
        const char* expected;
    } rows[] = {
        {"abcdef", 0, 3, 1, "ab"},          {"abcdef", -1, 3, 1, "a"},       {"abcdef", 7, 0, 0, ""},
        {"abcdef", 3, 0, 1, ""},            {"abcdef", 2, INT_MAX, 1, "bcdef"}, {"abcdef", 3, 2, 1, "cd"},
        {"abcdef", 5, 0, 0, "ef"},          {"abcdef", INT_MIN, INT_MAX, 1, ""}, {"abcdef", INT_MAX, 5, 1, ""},
        {"abcdef", -3, 10, 1, "abcdef"},    {"abcdef", 6, -1, 1, ""},        {"", 1, 1, 1, ""},
        {"abcdef", INT_MIN, 0, 0, "abcdef"},
    };
    for (const row& r : rows) {
        zvs* v = var(r.s);
        EXPECT_EQ(str(func_mid(v, r.start, r.length, r.passed)), r.expected)
            << r.s << " " << r.start << " " << r.length << " " << r.passed;
        EXPECT_EQ(str(func_mid(tmp(r.s), r.start, r.length, r.passed)), r.expected);
    }
}

TEST_F(StringFunctions, MidStatement) {
    struct row {
        int32_t start, length, passed;
        const char* src;
        const char* expected;
    } rows[] = {
        {5, 0, 0, "XYZ", "abcdXY"}, {0, 0, 0, "XYZ", "YZcdef"}, {2, 1, 1, "XYZ", "aXcdef"},
        {7, 0, 0, "XYZ", "abcdef"}, {-5, 0, 0, "XYZ", "abcdef"}, {1, 0, 0, "", "abcdef"},
        {2, -1, 1, "XYZ", "abcdef"}, {INT_MIN, INT_MAX, 1, "XYZ", "abcdef"}, {INT_MAX, 1, 1, "XYZ", "abcdef"},
        {1, INT_MAX, 1, "0123456789", "012345"},
    };
    for (const row& r : rows) {
        zvs* d = var("abcdef");
        sub_mid(d, r.start, r.length, tmp(r.src), r.passed);
        EXPECT_EQ(str(d), r.expected) << r.start << " " << r.length << " " << r.src;
    }
}

TEST_F(StringFunctions, MidStatementOntoItselfCopiesAsIfFromACopy) {
    zvs* d = var("abcdef");
    sub_mid(d, 2, 0, d, 0);
    EXPECT_EQ(str(d), "aabcde");
    zvs* e = var("abcdef");
    sub_mid(e, 1, 0, e, 0);
    EXPECT_EQ(str(e), "abcdef");
    zvs* empty = var("");
    sub_mid(empty, 1, 0, lit("X"), 0);
    EXPECT_EQ(empty->length, 0);
}

TEST_F(StringFunctions, Instr) {
    struct row {
        int32_t start, passed;
        const char* s;
        const char* find;
        int32_t expected;
    } rows[] = {
        {0, 0, "abc", "", 1},          {0, 1, "abc", "", 0},        {4, 1, "abc", "", 0},
        {0, 0, "", "", 0},             {2, 1, "abcabc", "bc", 2},   {3, 1, "abcabc", "bc", 5},
        {-7, 1, "abcabc", "bc", 2},    {3, 1, "abc", "", 3},        {6, 1, "abcabc", "bc", 0},
        {1, 1, "aab", "ab", 2},        {1, 1, "abc", "abcd", 0},    {INT_MAX, 1, "abc", "c", 0},
        {0, 0, "ab\0cd", "cd", 0},     {0, 0, "x\xff" "y", "\xff", 2},
    };
    for (const row& r : rows)
        EXPECT_EQ(func_instr(r.start, lit(r.s), lit(r.find), r.passed), r.expected)
            << r.start << " " << r.s << " " << r.find;
    // Bytes after a zero byte count too.
    zvs* s = zvs_new_txt_len("ab\0cd", 5);
    EXPECT_EQ(func_instr(0, s, lit("cd"), 0), 4);
}

TEST_F(StringFunctions, InstrRev) {
    struct row {
        int32_t start, passed;
        const char* s;
        const char* find;
        int32_t expected;
    } rows[] = {
        {0, 0, "abcabc", "bc", 5},   {4, 1, "abcabc", "bc", 2},  {0, 0, "abc", "abc", 1},
        {0, 0, "abc", "", 3},        {0, 0, "aaaa", "aa", 3},    {1, 1, "abc", "", 0},
        {2, 1, "abc", "", 1},        {0, 1, "abcabc", "bc", 5},  {-1, 1, "abcabc", "bc", 5},
        {99, 1, "abcabc", "bc", 5},  {6, 1, "abcabc", "bc", 5},  {1, 1, "abcabc", "bc", 0},
        {0, 0, "", "", 0},           {0, 0, "ab", "abc", 0},     {INT_MAX, 1, "abab", "ab", 3},
    };
    for (const row& r : rows)
        EXPECT_EQ(func__instrrev(r.start, lit(r.s), lit(r.find), r.passed), r.expected)
            << r.start << " " << r.s << " " << r.find;
}

TEST_F(StringFunctions, LeftAndRight) {
    struct row {
        int32_t n;
        const char* left;
        const char* right;
    } rows[] = {{-1, "", ""}, {0, "", ""}, {2, "ab", "ef"}, {6, "abcdef", "abcdef"}, {1000, "abcdef", "abcdef"},
                {INT_MIN, "", ""}, {INT_MAX, "abcdef", "abcdef"}};
    for (const row& r : rows) {
        EXPECT_EQ(str(zvs_left(var("abcdef"), r.n)), r.left) << r.n;
        EXPECT_EQ(str(zvs_right(var("abcdef"), r.n)), r.right) << r.n;
        EXPECT_EQ(str(zvs_left(tmp("abcdef"), r.n)), r.left) << r.n;
        EXPECT_EQ(str(zvs_right(tmp("abcdef"), r.n)), r.right) << r.n;
    }
}

TEST_F(StringFunctions, Comparisons) {
    struct row {
        const char* a;
        const char* b;
        int32_t order;  // -1, 0, 1
    } rows[] = {{"", "a", -1}, {"a", "ab", -1}, {"B", "a", -1}, {"\xc8", "a", 1}, {"abc", "abc", 0},
                {"", "", 0},   {"abd", "abc", 1}, {"_", "A", 1}, {"a\x80", "a\x7f", 1}};
    for (const row& r : rows) {
        zvs* a = lit(r.a);
        zvs* b = lit(r.b);
        EXPECT_EQ(func__str_compare(a, b), r.order) << r.a << " " << r.b;
        EXPECT_EQ(zvs_equal(a, b), r.order == 0 ? -1 : 0);
        EXPECT_EQ(zvs_notequal(a, b), r.order != 0 ? -1 : 0);
        EXPECT_EQ(zvs_lessthan(a, b), r.order < 0 ? -1 : 0);
        EXPECT_EQ(zvs_greaterthan(a, b), r.order > 0 ? -1 : 0);
        EXPECT_EQ(zvs_lessorequal(a, b), r.order <= 0 ? -1 : 0);
        EXPECT_EQ(zvs_greaterorequal(a, b), r.order >= 0 ? -1 : 0);
    }
    struct nocase {
        const char* a;
        const char* b;
        int32_t order;
    } folded[] = {{"b", "A", 1}, {"ABC", "abc", 0}, {"_", "A", -1}, {"[", "a", -1}, {"Z", "a", 1}, {"", "A", -1},
                  {"abc", "ABCD", -1}};
    for (const nocase& r : folded) EXPECT_EQ(func__str_nc_compare(lit(r.a), lit(r.b)), r.order) << r.a << " " << r.b;
    // Equal length, same bytes after a zero byte decide.
    EXPECT_EQ(zvs_equal(zvs_new_txt_len("a\0b", 3), zvs_new_txt_len("a\0c", 3)), 0);
}

TEST_F(StringFunctions, AscAndChr) {
    EXPECT_EQ(zvs_asc(lit("A")), 65);
    EXPECT_EQ(zvs_asc(lit("\xff")), 255);
    EXPECT_EQ(zvs_asc(lit("abc"), 3u), 99);
    struct bad {
        const char* s;
        uint32_t position;  // 0: the form without a position
    } bads[] = {{"", 1}, {"abc", 4}, {"", 0}, {"abc", uint32_t(-1)}};
    for (const bad& b : bads) {
        error_reset_for_tests();
        EXPECT_EQ(b.position ? zvs_asc(lit(b.s), b.position) : zvs_asc(lit(b.s)), 0);
        EXPECT_EQ(new_error.load(), 5) << b.s << " " << b.position;
    }
    for (int32_t code : {256, -1, INT_MIN}) {
        error_reset_for_tests();
        zvs* r = func_chr(code);
        EXPECT_EQ(r->length, 0);
        EXPECT_EQ(new_error.load(), 5);
    }
    error_reset_for_tests();
    EXPECT_EQ(str(func_chr(0)), std::string(1, '\0'));
    EXPECT_EQ(str(func_chr(255)), "\xff");
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(StringFunctions, SpaceAndString) {
    EXPECT_EQ(str(func_string(3, 321)), "AAA");
    EXPECT_EQ(str(func_string(2, -1)), "\xff\xff");
    EXPECT_EQ(str(func_string(0, 65)), "");
    EXPECT_EQ(str(func_string(INT_MIN, 65)), "");
    EXPECT_EQ(str(func_space(4)), "    ");
    EXPECT_EQ(str(func_space(-4)), "");
    EXPECT_EQ(func_space(1)->temporary, 1);
}

TEST_F(StringFunctions, LsetAndRset) {
    struct row {
        const char* src;
        const char* lset;
        const char* rset;
    } rows[] = {{"abc", "abc  ", "  abc"}, {"abcdefg", "abcde", "abcde"}, {"ab", "ab   ", "   ab"},
                {"", "     ", "     "}, {"abcde", "abcde", "abcde"}};
    for (const row& r : rows) {
        char l[5], rr[5];
        zvs* fl = zvs_new_fixed(l, 5, 0);
        zvs* fr = zvs_new_fixed(rr, 5, 0);
        sub_lset(fl, lit(r.src));
        sub_rset(fr, lit(r.src));
        EXPECT_EQ(str(fl), r.lset) << r.src;
        EXPECT_EQ(str(fr), r.rset) << r.src;
    }
}

TEST_F(StringFunctions, LsetOfAFieldStringReachesTheRecordOnce) {
    static std::vector<std::string> copied;
    copied.clear();
    zvs_set_field_hooks(nullptr, [](zvs* s) { copied.push_back(str(s)); });
    char bytes[4];
    zvs* f = zvs_new_fixed(bytes, 4, 0);
    int field = 0;
    f->field_link = &field;
    sub_lset(f, lit("ab"));
    sub_rset(f, lit("cd"));
    EXPECT_EQ(copied, (std::vector<std::string>{"ab  ", "  cd"}));
    f->field_link = nullptr;
}

TEST_F(StringFunctions, Trims) {
    using namespace std::string_literals;
    struct row {
        std::string s, ltrim, rtrim, trim;
    } rows[] = {{"  a b  ", "a b  ", "  a b", "a b"}, {"    ", "", "", ""}, {"", "", "", ""},
                {"\ta ", "\ta ", "\ta", "\ta"},        {"x", "x", "x", "x"},
                {" \0 "s, "\0 "s, " \0"s, "\0"s}};
    for (const row& r : rows) {
        EXPECT_EQ(str(zvs_ltrim(var(r.s))), r.ltrim) << r.s;
        EXPECT_EQ(str(zvs_rtrim(var(r.s))), r.rtrim) << r.s;
        EXPECT_EQ(str(zvs__trim(var(r.s))), r.trim) << r.s;
        EXPECT_EQ(str(zvs_ltrim(tmp(r.s))), r.ltrim) << r.s;
        EXPECT_EQ(str(zvs_rtrim(tmp(r.s))), r.rtrim) << r.s;
        EXPECT_EQ(str(zvs__trim(tmp(r.s))), r.trim) << r.s;
    }
}

TEST_F(StringFunctions, CaseMappingTouchesAsciiLettersOnly) {
    std::string all;
    for (int c = 0; c < 256; c++) all += char(c);
    std::string upper = all, lower = all;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    EXPECT_EQ(str(zvs_ucase(var(all))), upper);
    EXPECT_EQ(str(zvs_lcase(var(all))), lower);
    EXPECT_EQ(str(zvs_ucase(tmp(all))), upper);
    EXPECT_EQ(str(zvs_lcase(zvs_new_txt_len(all.data(), 256))), lower);
}

TEST_F(StringFunctions, PendingErrorMakesFunctionsAndStatementsInert) {
    zvs* v = var("abc");
    char bytes[3] = {'x', 'y', 'z'};
    zvs* f = zvs_new_fixed(bytes, 3, 0);
    zvs* t = tmp("t");
    error(7);
    EXPECT_EQ(zvs_left(t, 0)->length, 0);
    EXPECT_EQ(str(t), "t");  // left to the statement-end release
    EXPECT_EQ(zvs_tmp_slot(t->temp_slot), t);
    EXPECT_EQ(zvs_ucase(v)->length, 0);
    EXPECT_EQ(func_chr(999)->length, 0);
    EXPECT_EQ(zvs_asc(lit("")), 0);
    EXPECT_EQ(zvs_equal(v, v), 0);
    EXPECT_EQ(func_instr(0, v, lit("b"), 0), 0);
    sub_lset(f, lit("a"));
    sub_rset(f, lit("a"));
    sub_mid(v, 1, 0, lit("Q"), 0);
    EXPECT_EQ(str(f), "xyz");
    EXPECT_EQ(str(v), "abc");
    EXPECT_EQ(new_error.load(), 7);
    zvs_tmp_release_to(1, 0);
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 2);
}

}  // namespace
