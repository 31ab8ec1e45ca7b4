// The dialog layer apart from any window: conversions, the route choice, queries,
// settings, the cuts of texts and answers, and the text helpers.
#include <gtest/gtest.h>

#include <string>

#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"
#include "fake_backend.h"

namespace {

std::u16string wide(const char16_t* s) { return s ? std::u16string(s) : u"<null>"; }
std::string narrow(const char* s) { return s ? std::string(s) : "<null>"; }

TEST(DialogText, Utf8ToUtf16IsStrictAndRoundTrips) {
    struct row {
        const char* utf8;
        std::u16string utf16;
    };
    for (const row& r : {row{"\xC3\xA9", u"\u00E9"}, row{"\xF0\x9F\x98\x80", u"\xD83D\xDE00"}, row{"abc", u"abc"},
                         // Overlong, surrogate, beyond U+10FFFF, cut short: strict failures.
                         row{"\xC0\x80", u""}, row{"\xED\xA0\x80", u""}, row{"\xF4\x90\x80\x80", u""},
                         row{"\xE2\x82", u""}}) {
        EXPECT_EQ(wide(ndlg_utf8to16(r.utf8)), r.utf16) << r.utf8;
        if (!r.utf16.empty()) {
            EXPECT_EQ(narrow(ndlg_utf16to8(r.utf16.c_str())), r.utf8);
        }
    }
    const char16_t lone[] = {0xD800, 0};
    EXPECT_EQ(narrow(ndlg_utf16to8(lone)), "");
    EXPECT_EQ(ndlg_utf8to16(nullptr), nullptr);
    EXPECT_EQ(ndlg_mbcsTo16(nullptr), nullptr);
    EXPECT_EQ(ndlg_utf16to8(nullptr), nullptr);
    EXPECT_EQ(ndlg_utf16toMbcs(nullptr), nullptr);
    EXPECT_EQ(ndlg_utf8toMbcs(nullptr), nullptr);
    EXPECT_EQ(ndlg_mbcsTo8(nullptr), nullptr);
}

TEST(DialogText, Windows1252BothWays) {
    EXPECT_EQ(narrow(ndlg_utf16toMbcs(u"\u20AC")), "\x80");
    EXPECT_EQ(narrow(ndlg_utf16toMbcs(u"\u4E00")), "?");
    EXPECT_EQ(narrow(ndlg_utf8toMbcs("\xE2\x82\xAC\xC3\xA9")), "\x80\xE9");
    EXPECT_EQ(wide(ndlg_mbcsTo16("\x80\x81\x9F")), u"\u20AC\u0081\u0178");
    EXPECT_EQ(narrow(ndlg_mbcsTo8("\xE9")), "\xC3\xA9");
}

TEST(DialogText, EachConversionKeepsItsOwnBuffer) {
    char16_t* a = ndlg_utf8to16("one");
    char* b = ndlg_utf16to8(u"two");
    EXPECT_EQ(wide(a), u"one");
    EXPECT_EQ(narrow(b), "two");
}

TEST(DialogText, ReplaceSubStrCutsAtTheDestinationAndAppends) {
    char dest[16];
    tfd_replaceSubStr("a\nb\nc", "\n", "\\n", dest, sizeof dest);
    EXPECT_STREQ(dest, "a\\nb\\nc");
    tfd_replaceSubStr("abab", "b", nullptr, dest, sizeof dest);
    EXPECT_STREQ(dest, "aa");
    tfd_replaceSubStr("same", "", "x", dest, sizeof dest);
    EXPECT_STREQ(dest, "same");
    tfd_replaceSubStrConCat("xyz", "y", "--", dest, sizeof dest);
    EXPECT_STREQ(dest, "samex--z");
    tfd_replaceSubStr("aaaaaaaaaaaaaaaaaaaaaaaa", "a", "bb", dest, sizeof dest);
    EXPECT_EQ(std::string(dest), std::string(15, 'b'));
    EXPECT_TRUE(tfd_quoteDetected("it's"));
    EXPECT_TRUE(tfd_quoteDetected("\"q\""));
    EXPECT_FALSE(tfd_quoteDetected("plain"));
    EXPECT_FALSE(tfd_quoteDetected(nullptr));
}

TEST(DialogRoute, RuleOverEnvironmentSettingsTerminalAndDisplay) {
    struct row {
        bool ssh, display_set, force, assume, terminal, opens;
        dialog_route route;
    };
    static bool terminal, opens;
    const row rows[] = {
        {false, true, false, false, false, true, dialog_route::graphic},   // DISPLAY ":99"
        {true, false, false, false, false, true, dialog_route::basic},     // remote shell, no display
        {true, false, false, true, false, true, dialog_route::basic},      // ... also assuming a display
        {true, true, false, false, false, true, dialog_route::graphic},    // remote shell with a display
        {false, true, true, false, true, true, dialog_route::basic},       // forceConsole with a terminal
        {false, true, true, false, false, true, dialog_route::graphic},    // forceConsole without one
        {false, true, false, false, false, false, dialog_route::basic},    // a dead display server
        {false, false, false, false, true, true, dialog_route::basic},     // no DISPLAY at all
    };
    for (const row& r : rows) {
        terminal = r.terminal;
        opens = r.opens;
        dialog_route_inputs in{r.force, r.assume, r.ssh, r.display_set, [] { return terminal; },
                               [] { return false; }, [] { return opens; }};
        EXPECT_EQ(dialog_route_rule(in), r.route) << r.ssh << r.display_set << r.force << r.assume << r.terminal
                                                  << r.opens;
    }
    // The curses program serves the console route when it is there.
    dialog_route_inputs curses{true, false, false, true, [] { return false; }, [] { return true; },
                               [] { return true; }};
    EXPECT_EQ(dialog_route_rule(curses), dialog_route::curses);
}

using DialogQuery = DialogTest;

TEST_F(DialogQuery, QueryShowsNothingAndNamesTheRoute) {
    EXPECT_EQ(ndlg_messageBox("ndlg_query", "m", "ok", "info", 1), 1);
    EXPECT_STREQ(ndlg_getGlobalChar("ndlg_response"), "windows");
    const char* text = ndlg_inputBox("ndlg_query", "m", "d");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(ndlg_notifyPopup("ndlg_query", "m", "info"), 1);
    EXPECT_EQ(ndlg_messageBoxW(u"ndlg_query", u"m", u"ok", u"info", 1), 1);
    EXPECT_STREQ(ndlg_getGlobalChar("ndlg_response"), "windows_wchar");
    EXPECT_TRUE(fake_backend::calls.empty());

    // Over a remote shell without a display: the basic console route.
    unsetenv("DISPLAY");
    setenv("SSH_CLIENT", "1", 1);
    dialog_global_init();
    fake_backend::install();
    EXPECT_EQ(ndlg_messageBox("ndlg_query", "m", "ok", "info", 1), 0);
    EXPECT_STREQ(ndlg_getGlobalChar("ndlg_response"), "basicinput");
    EXPECT_EQ(ndlg_inputBox("ndlg_query", "m", "d"), nullptr);
    EXPECT_TRUE(fake_backend::calls.empty());
}

TEST_F(DialogQuery, ADisplayThatDoesNotOpenAsksOnTheConsole) {
    fake_backend::display = false;
    EXPECT_EQ(ndlg_messageBox("ndlg_query", "m", "ok", "info", 1), 0);
    EXPECT_STREQ(ndlg_getGlobalChar("ndlg_response"), "basicinput");
}

TEST_F(DialogQuery, SettingsByName) {
    for (const char* bad : {static_cast<const char*>(nullptr), "", "x"}) {
        EXPECT_EQ(ndlg_getGlobalInt(bad), -1);
        EXPECT_EQ(ndlg_setGlobalInt(bad, 5), -1);
    }
    EXPECT_EQ(ndlg_getGlobalInt("ndlg_winUtf8"), 1);
    EXPECT_EQ(ndlg_getGlobalInt("ndlg_silent"), 1);
    EXPECT_EQ(ndlg_getGlobalInt("ndlg_forceConsole"), 0);
    EXPECT_EQ(ndlg_setGlobalInt("ndlg_forceConsole", 1), 1);
    EXPECT_EQ(ndlg_getGlobalInt("ndlg_forceConsole"), 1);
    EXPECT_STREQ(ndlg_getGlobalChar("ndlg_version"), "3.8.9");
    EXPECT_NE(ndlg_getGlobalChar("ndlg_needs"), nullptr);
    EXPECT_EQ(ndlg_getGlobalChar("x"), nullptr);
    EXPECT_EQ(ndlg_getGlobalChar(nullptr), nullptr);
}

using DialogTexts = DialogTest;

TEST_F(DialogTexts, TitlesOfInvalidUtf8AreReadAsWindows1252) {
    struct row {
        const char* title;
        const char* shown;
    };
    for (const row& r : {row{"\xE9", "\xC3\xA9"}, row{"\x80", "\xE2\x82\xAC"}, row{"\x81", "\xC2\x81"},
                         row{"caf\xC3\xA9", "caf\xC3\xA9"}}) {
        ndlg_messageBox(r.title, "m", "ok", "info", 1);
        EXPECT_EQ(fake_backend::calls.back().title, r.shown) << r.title;
    }
    ndlg_setGlobalInt("ndlg_winUtf8", 0);
    ndlg_messageBox("caf\xC3\xA9", "m", "ok", "info", 1);
    EXPECT_EQ(fake_backend::calls.back().title, "caf\xC3\x83\xC2\xA9");
}

TEST_F(DialogTexts, LongTextsAreCutOnCharacterBoundaries) {
    std::string e_acute = "\xC3\xA9", title;
    for (int i = 0; i < 600; ++i) title += e_acute;
    std::string message(5000, 'm');
    ndlg_messageBox(title.c_str(), message.c_str(), "ok", "info", 1);
    EXPECT_EQ(fake_backend::calls.back().title.size(), 511u * 2);
    EXPECT_EQ(fake_backend::calls.back().message, message);  // messages have no limit

    std::string emoji;
    for (int i = 0; i < 600; ++i) emoji += "\xF0\x9F\x98\x80";
    ndlg_inputBox(emoji.c_str(), "m", emoji.c_str());
    EXPECT_EQ(fake_backend::calls.back().title.size(), 255u * 4);          // 510 units of 511
    EXPECT_EQ(fake_backend::calls.back().default_text.size(), 511u * 4);   // 1,022 units of 1,023

    ndlg_notifyPopup(title.c_str(), emoji.c_str(), "warning-and-more");
    EXPECT_EQ(fake_backend::calls.back().title.size(), 63u * 2);
    EXPECT_EQ(fake_backend::calls.back().message.size(), 127u * 4);
    EXPECT_EQ(fake_backend::calls.back().icon, "warning-and-mor");
}

TEST_F(DialogTexts, InputAnswersAreCutAt1023BytesOnACharacterBoundary) {
    std::string typed;
    for (int i = 0; i < 600; ++i) typed += "\xC3\xA9";
    fake_backend::texts = {typed.c_str()};
    std::string answer = ndlg_inputBox("T", "m", "");
    EXPECT_EQ(answer.size(), 1022u);
    EXPECT_EQ(answer, typed.substr(0, 1022));

    // Cancelled on the graphic route: "", never null.
    fake_backend::texts = {nullptr};
    const char* cancelled = ndlg_inputBox("T", "m", "");
    ASSERT_NE(cancelled, nullptr);
    EXPECT_STREQ(cancelled, "");

    // With UTF-8 off the answer comes back in Windows-1252.
    ndlg_setGlobalInt("ndlg_winUtf8", 0);
    fake_backend::texts = {"h\xC3\xA9llo\xE2\x82\xAC"};
    EXPECT_STREQ(ndlg_inputBox("T", "m", ""), "h\xE9llo\x80");
}

TEST_F(DialogTexts, NullDefaultAsksForAMaskedEntry) {
    fake_backend::texts = {"pw", "x"};
    EXPECT_STREQ(ndlg_inputBox("T", "m", nullptr), "pw");
    EXPECT_FALSE(fake_backend::calls.back().has_default);
    EXPECT_STREQ(ndlg_inputBox("T", "m", "start"), "x");
    EXPECT_TRUE(fake_backend::calls.back().has_default);
    EXPECT_EQ(fake_backend::calls.back().default_text, "start");
}

TEST_F(DialogTexts, TheUtf16TwinsTakeTheGraphicRoute) {
    fake_backend::numbers = {2};
    EXPECT_EQ(ndlg_messageBoxW(u"T\u00E9", u"m", u"yesnocancel", u"question", 0), 2);
    EXPECT_EQ(fake_backend::calls.back(),
              make_call("messagebox", "T\xC3\xA9", "m", "yesnocancel", "question", 0));
    fake_backend::texts = {"\xE2\x82\xAC"};
    EXPECT_EQ(wide(ndlg_inputBoxW(u"T", u"m", nullptr)), u"\u20AC");
    EXPECT_FALSE(fake_backend::calls.back().has_default);
    fake_backend::display = false;
    EXPECT_EQ(ndlg_messageBoxW(u"T", u"m", u"ok", u"info", 1), 0);
    EXPECT_EQ(ndlg_inputBoxW(u"T", u"m", u""), nullptr);
}

TEST_F(DialogTexts, WithoutAConsoleBackEndTheConsoleRouteAnswersAsCancelled) {
    fake_backend::display = false;
    EXPECT_EQ(ndlg_messageBox("T", "m", "ok", "info", 1), 1);
    EXPECT_EQ(ndlg_messageBox("T", "m", "yesno", "info", 1), 0);
    EXPECT_EQ(ndlg_inputBox("T", "m", "d"), nullptr);
    EXPECT_TRUE(fake_backend::calls.empty());
}

}  // namespace
