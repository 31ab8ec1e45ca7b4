// _ENCODEURL$ and _DECODEURL$: what stays, what is escaped, and the '%' edge cases.
#include <string>

#include "memory/cmem_string_fixture.h"
#include "memory/static_arena.h"
#include "url_coding.h"

namespace {

class UrlCoding : public CmemStringTest {
protected:
    void SetUp() override {
        CmemStringTest::SetUp();
        mem_static_global_init();
    }
    // Called as translated code calls it: the argument a temporary, the result released
    // with the statement's temporaries.
    static std::string call(zvs* (*function)(zvs*), const std::string& text) {
        uint32_t mark = zvs_tmp_list_nexti();
        std::string out = str(function(heap_tmp(text)));
        zvs_tmp_release_to(mark, 0);
        return out;
    }
};

TEST_F(UrlCoding, EncodeKeepsPathAndQuerySeparatorsOnly) {
    const struct {
        std::string text, encoded;
    } cases[] = {
        {"http://h/a b?x=1&y=2#f", "http://h/a%20b?x=1&y=2%23f"},
        {"a=b", "a%3Db"},
        {"a&b", "a%26b"},
        {"p?a=1?", "p?a=1%3F"},
        {"p?a=1=2&&b", "p?a=1%3D2&%26b"},
        {"AZaz09-._~", "AZaz09-._~"},
        {"\xC3\xBC", "%C3%BC"},
        {std::string("\0\n", 2), "%00%0A"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(call(FUNC__ENCODEURL, c.text), c.encoded) << c.text;
}

TEST_F(UrlCoding, DecodeReadsTwoHexCharactersAfterEachPercent) {
    const struct {
        std::string text, decoded;
    } cases[] = {
        {"%41%42", "AB"},
        {"%4", std::string("\x04", 1)},
        {"abc%", std::string("abc\0", 4)},
        {"a%20b%c3%BC", "a b\xC3\xBC"},
        {"100%25", "100%"},
        {"%1G!", std::string("\x01!", 2)},   // VAL("&H1G") stops at the G
        {"%G1", std::string("\0", 1)},        // VAL("&HG1") is 0
        {"%1FF", "\x1F" "F"},                 // only two characters are read
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(call(FUNC__DECODEURL, c.text), c.decoded) << c.text;
}

TEST_F(UrlCoding, DecodeUndoesEncode) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    std::string url = "http://h/p?k=v&k2=" + all + "#x";
    EXPECT_EQ(call(FUNC__DECODEURL, call(FUNC__ENCODEURL, url)), url);
}

TEST_F(UrlCoding, PendingErrorGivesAnEmptyResult) {
    error(53);
    EXPECT_EQ(call(FUNC__ENCODEURL, "a b"), "");
    EXPECT_EQ(call(FUNC__DECODEURL, "%41"), "");
    EXPECT_EQ(new_error.load(), 53);
    error_reset_for_tests();
}

}  // namespace
