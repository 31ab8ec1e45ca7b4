// PRINT, the comma, CLS and SCREEN() on the console image of a console program, and
// what a terminal of each locale receives.
#include <gtest/gtest.h>

#include <unistd.h>

#include <optional>

#include "input/key_functions.h"
#include "palette/palette_statements.h"
#include "platform/pty_fixture.h"
#include "support/scoped_env.h"
#include "text/text_fixture.h"

namespace {

using ConsolePrint = TextTest;

TEST_F(ConsolePrint, TextGoesOutUnchangedEveryByteIncluded) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE* out = fdopen(fds[1], "w");
    console_terminal_use(STDIN_FILENO, out);
    console_page();
    print_line(std::string("a\x07\0b", 4));
    char buffer[16];
    ASSERT_EQ(read(fds[0], buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), std::string("a\x07\0b\n", 5));
    // Nothing is held back for a later line end.
    item("prompt? ");
    ASSERT_EQ(read(fds[0], buffer, sizeof buffer), 8);
    console_terminal_reset_for_tests();
    fclose(out);
    close(fds[0]);
}

TEST_F(ConsolePrint, TheCommaStopsAtEveryTenthColumnAndWrapsNearTheEnd) {
    pseudo_terminal pty;
    console_page();
    item("a");
    tab();
    item("b");
    EXPECT_EQ(pty.output(), "a" + std::string(8, ' ') + "b");
    EXPECT_EQ(func_pos(0), 11);
    tab();
    EXPECT_EQ(func_pos(0), 20);
    zvg_sub_locate(0, 71, 0, 0, 0, 2);
    pty.output();
    tab();
    EXPECT_EQ(pty.output(), "\n");
    EXPECT_EQ(func_pos(0), 1);
}

TEST_F(ConsolePrint, ClsClearsTheTerminalAndHomes) {
    pseudo_terminal pty;
    console_page();
    print_line("some text");
    pty.output();
    sub_cls(0, 0, 0);
    EXPECT_EQ(pty.output(), "\x1b[2J\x1b[H\x1b[1;1H");
    EXPECT_EQ(func_csrlin(), 1);
    EXPECT_EQ(func_screen(1, 1, 0, 0), 32);
}

TEST_F(ConsolePrint, ScreenReadsTheShadowCellsWithTheColourAttribute) {
    pseudo_terminal pty(40, 10);
    console_page();
    zvg_sub_color(14, 1, 0, 3);
    print_line("Hi");
    EXPECT_EQ(func_screen(1, 1, 0, 0), 'H');
    EXPECT_EQ(func_screen(1, 2, 0, 0), 'i');
    EXPECT_EQ(func_screen(1, 2, 1, 1), 0x1E);
    EXPECT_EQ(func_screen(1, 3, 1, 1), 7);
    // No range check: outside the terminal it reads 0, without an error.
    EXPECT_EQ(func_screen(11, 1, 0, 0), 0);
    EXPECT_EQ(func_screen(0, 0, 1, 1), 0);
    EXPECT_EQ(take_error(), 0);
}

// The locale variables of one row; nullptr removes a variable.
struct locale_env {
    const char* lc_all;
    const char* lc_ctype;
    const char* lang;
};
constexpr locale_env c_utf8{nullptr, nullptr, "C.UTF-8"};
struct scoped_locale {
    explicit scoped_locale(locale_env e)
        : lc_all("LC_ALL", e.lc_all), lc_ctype("LC_CTYPE", e.lc_ctype), lang("LANG", e.lang) {}
    scoped_env lc_all, lc_ctype, lang;
};

// Every code 128-255 once, and what a UTF-8 terminal shows for them.
std::string high_codes() {
    std::string s;
    for (int c = 128; c < 256; c++) s += static_cast<char>(c);
    return s;
}
const char* const high_shown =
    "ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
    "└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00a0";

TEST_F(ConsolePrint, AUtf8TerminalShowsCodePage437AndPassesUtf8) {
    const std::string box = "A\xC9\xCD\xBB\x82\xDB|";
    const std::string mixed = "\xC3\xA9\x82";  // UTF-8 é, then code 130: not UTF-8 as a whole
    struct row {
        const char* name;
        locale_env env;
        std::string printed;
        std::string received;
        int32_t pos;
    };
    const row rows[] = {
        {"box, C.UTF-8", c_utf8, box, "A╔═╗é█|", 8},
        {"codes 128-255", c_utf8, high_codes(), high_shown, 129},
        {"UTF-8 text", c_utf8, "B café €|", "B café €|", 10},
        {"UTF-8 and code 130 mixed", c_utf8, mixed, "├⌐é", 4},
        {"controls act, ASCII as it is", c_utf8, "x\xB0\t\xB1", "x░\t▒", 10},
        {"a double-width character counts one cell", c_utf8, "漢|", "漢|", 3},
        {"LC_ALL over LANG", {"en_US.UTF-8", nullptr, "de_DE.ISO-8859-1"}, box, "A╔═╗é█|", 8},
        {"LC_CTYPE over LANG", {nullptr, "C.utf8", "de_DE.ISO-8859-1"}, box, "A╔═╗é█|", 8},
        {"LANG=C", {nullptr, nullptr, "C"}, box, "A╔═╗é█|", 8},
        {"no locale variable", {nullptr, nullptr, nullptr}, box, "A╔═╗é█|", 8},
        {"LC_ALL Latin-1 over a UTF-8 LANG", {"de_DE.ISO-8859-1", nullptr, "C.UTF-8"}, box, box, 8},
        {"Latin-1: UTF-8 text counts bytes", {nullptr, nullptr, "fr_FR.ISO-8859-1"}, "B café €|", "B café €|", 13},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        scoped_locale locale(r.env);
        pseudo_terminal pty(200, 25);
        console_page();
        item(r.printed);
        EXPECT_EQ(pty.output(), r.received);
        EXPECT_EQ(func_pos(0), r.pos);
    }
}

TEST_F(ConsolePrint, MapUnicodeChangesWhatTheTerminalShowsAndReadsBack) {
    scoped_locale locale(c_utf8);
    pseudo_terminal pty;
    console_page();
    sub__mapunicode(0x20AC, 219);  // code 219 becomes the euro sign
    sub__mapunicode(0x0A, 220);    // a control still takes its cell
    item("\xDB\xDC");
    EXPECT_EQ(pty.output(), "€?");
    print_line("|€");
    EXPECT_EQ(func_screen(1, 4, 0, 0), 219);
    codepage437_reset_for_tests();
}

TEST_F(ConsolePrint, ScreenGivesTheCodeOfEachCharacterShown) {
    scoped_locale locale(c_utf8);
    pseudo_terminal pty(6, 5);
    console_page();
    item("B café €x");  // wraps after six characters
    const int32_t first_row[] = {'B', ' ', 'c', 'a', 'f', 130}, second_row[] = {' ', '?', 'x'};
    for (int32_t c = 1; c <= 6; c++) EXPECT_EQ(func_screen(1, c, 0, 0), first_row[c - 1]) << c;
    EXPECT_EQ(func_csrlin(), 2);
    for (int32_t c = 1; c <= 3; c++) EXPECT_EQ(func_screen(2, c, 0, 0), second_row[c - 1]) << c;
}

TEST_F(ConsolePrint, APipeGetsTheProgramsBytesWhateverTheLocale) {
    scoped_locale locale(c_utf8);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE* out = fdopen(fds[1], "w");
    console_terminal_use(STDIN_FILENO, out);
    console_page();
    const std::string bytes = "A\xC9\xCD\xBB\x82\xDB| caf\xC3\xA9";
    item(bytes);
    char buffer[64];
    ASSERT_EQ(read(fds[0], buffer, sizeof buffer), static_cast<ssize_t>(bytes.size()));
    EXPECT_EQ(std::string(buffer, bytes.size()), bytes);
    EXPECT_EQ(func_pos(0), static_cast<int32_t>(bytes.size()) + 1);  // one cell a byte
    console_terminal_reset_for_tests();
    fclose(out);
    close(fds[0]);
}

}  // namespace
