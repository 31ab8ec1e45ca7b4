// INKEY$, _KEYHIT, _KEYDOWN, _KEYCLEAR and _MAPUNICODE.
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include "font/glyphs.h"
#include "input/key_functions.h"
#include "input/keyboard_fixture.h"

namespace {

std::string inkey() {
    zvs* s = zvs_inkey();
    return std::string(reinterpret_cast<char*>(s->text), size_t(s->length));
}

TEST_F(KeyboardTest, F1PressedAndReleasedThroughTheFunctions) {
    press(key::f1);
    EXPECT_EQ(func__keydown(0x3B00), -1);
    release(key::f1);
    EXPECT_EQ(func__keydown(0x3B00), 0);
    EXPECT_EQ(inkey(), std::string("\0;", 2));
    EXPECT_EQ(inkey(), "");
    EXPECT_EQ(func__keyhit(), 15104);
    EXPECT_EQ(func__keyhit(), -15104);
    EXPECT_EQ(func__keyhit(), 0);
}

TEST_F(KeyboardTest, FunctionsAnswerNothingWhileAnErrorIsPending) {
    tap('a');
    error(53);
    EXPECT_EQ(inkey(), "");
    EXPECT_EQ(func__keyhit(), 0);
    clear_error();
    EXPECT_EQ(inkey(), "a");
    EXPECT_EQ(func__keyhit(), 'a');
}

// Standard input becomes a pseudo-terminal holding unread input.
struct pty_stdin {
    int master = -1, saved = -1;
    pty_stdin() {
        int slave = -1;
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return;
        saved = dup(STDIN_FILENO);
        dup2(slave, STDIN_FILENO);
        close(slave);
        (void)!write(master, "abc\n", 4);
        usleep(20000);
    }
    ~pty_stdin() {
        if (saved >= 0) dup2(saved, STDIN_FILENO), close(saved);
        if (master >= 0) close(master);
    }
    static bool pending() {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        return poll(&p, 1, 0) == 1;
    }
};

TEST_F(KeyboardTest, KeyclearEmptiesTheBuffersItIsAskedFor) {
    struct clear_case {
        int32_t n, passed;
        bool bios_empty, keyhit_empty, port60h_empty;
    };
    const clear_case cases[] = {
        {1, 1, true, false, false},
        {2, 1, false, true, false},
        {3, 1, false, false, true},
        {0, 0, true, true, true},
    };
    for (const clear_case& c : cases) {
        keyboard_reset_for_tests();
        tap('a');
        sub__keyclear(c.n, c.passed);
        EXPECT_EQ(byte_at(0x41A) == byte_at(0x41C), c.bios_empty) << "n " << c.n;
        EXPECT_EQ(keyhit_take().code == 0, c.keyhit_empty) << "n " << c.n;
        EXPECT_EQ(port60h_events() == 0, c.port60h_empty) << "n " << c.n;
    }
    EXPECT_EQ(byte_at(0x41A), 0x1E);
    EXPECT_EQ(byte_at(0x41C), 0x1E);
}

TEST_F(KeyboardTest, KeyclearOutOfRangeIsError5AndStillDiscardsTerminalInput) {
    pty_stdin terminal;
    ASSERT_TRUE(pty_stdin::pending());
    tap('a');
    sub__keyclear(4, 1);
    EXPECT_EQ(new_error.load(), 5);
    EXPECT_FALSE(pty_stdin::pending());
    EXPECT_EQ(inkey(), "");  // error pending
    clear_error();
    EXPECT_EQ(inkey(), "a");
}

TEST_F(KeyboardTest, MapUnicodeChangesTheTableThatKeysAreMappedThrough) {
    // The table is the process's own: later tests expect code page 437 as it ships.
    struct restore_table {
        int32_t saved196 = func__mapunicode(196), saved200 = func__mapunicode(200);
        ~restore_table() {
            sub__mapunicode(saved196, 196);
            sub__mapunicode(saved200, 200);
        }
    } restore;
    sub__mapunicode(9472, 196);
    EXPECT_EQ(func__mapunicode(196), 9472);
    keydown_unicode(0x4E2D);
    sub__mapunicode(0x4E2D, 200);
    keydown_unicode(0x4E2D);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{key::unicode_base + 0x4E2D, 200}));
    sub__mapunicode(65536, 1);
    EXPECT_EQ(new_error.exchange(0), 5);
    sub__mapunicode(65, 256);
    EXPECT_EQ(new_error.exchange(0), 5);
    EXPECT_EQ(func__mapunicode(-1), 0);
    EXPECT_EQ(new_error.exchange(0), 5);
    EXPECT_EQ(func__mapunicode(1), 0x263A);
}

}  // namespace
