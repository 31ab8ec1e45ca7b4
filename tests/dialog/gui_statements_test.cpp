// The _GUI statements and functions, BEEP and gui_alert over the fake back end.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "dialog/gui.h"
#include "error/error.h"
#include "fake_backend.h"
#include "gui_fixture.h"
#include "platform/alert.h"
#include "string/zvs.h"

namespace {

class GuiTest : public GuiFixture {};

TEST_F(GuiTest, MessageBoxArgumentsAndTheirStandIns) {
    struct row {
        int32_t (*call)();
        fake_call expected;
    };
    const row rows[] = {
        {[] { return func__guiMessageBox(s("T"), s("M"), nullptr, nullptr, 0, 1 | 2); },
         make_call("messagebox", "T", "M", "ok", "info", 1)},
        {[] { return func__guiMessageBox(s("T"), s("M"), s("YesNoCancel"), s("WARNING"), 0, 1 | 2 | 4 | 8 | 16); },
         make_call("messagebox", "T", "M", "yesnocancel", "warning", 0)},
        {[] { return func__guiMessageBox(nullptr, nullptr, nullptr, nullptr, 0, 0); },
         make_call("messagebox", "", "", "ok", "info", 1)},
        {[] {
             sub__guiMessageBox(s("T"), s("M"), s("Error"), 1 | 2 | 4);
             return 0;
         },
         make_call("messagebox", "T", "M", "ok", "error", 1)},
        {[] {
             sub__guiMessageBox(s("T"), s("M"), nullptr, 1 | 2);
             return 0;
         },
         make_call("messagebox", "T", "M", "ok", "info", 1)},
        {[] {
             sub__guiNotifyPopup(nullptr, nullptr, nullptr, 0);
             return 0;
         },
         make_call("notify", "", "", "", "info")},
        {[] {
             sub__guiNotifyPopup(s("a"), s("b"), s("Warning"), 1 | 2 | 4);
             return 0;
         },
         make_call("notify", "a", "b", "", "warning")},
    };
    for (const row& r : rows) {
        fake_backend::calls.clear();
        r.call();
        ASSERT_EQ(fake_backend::calls.size(), 1u);
        EXPECT_EQ(fake_backend::calls[0], r.expected) << r.expected.title << r.expected.kind << r.expected.icon;
    }
}

TEST_F(GuiTest, MessageBoxAnswersPassThrough) {
    fake_backend::numbers = {1, 2, 0};
    for (int32_t expected : {1, 2, 0})
        EXPECT_EQ(func__guiMessageBox(s("T"), s("M"), s("yesnocancel"), nullptr, 0, 1 | 2 | 4), expected);
}

TEST_F(GuiTest, InputBoxDefaultTextAndAnswers) {
    fake_backend::texts = {"x", nullptr, "abc"};
    EXPECT_EQ(text(func__guiInputBox(s("T"), s("M"), nullptr, 1 | 2)), "x");
    // Absent: a plain field that starts empty.
    EXPECT_TRUE(fake_backend::calls.back().has_default);
    EXPECT_EQ(fake_backend::calls.back().default_text, "");
    // Given but empty: a masked field; a cancelled box answers "".
    EXPECT_EQ(text(func__guiInputBox(s("T"), s("M"), s(""), 1 | 2 | 4)), "");
    EXPECT_FALSE(fake_backend::calls.back().has_default);
    EXPECT_EQ(text(func__guiInputBox(s("T"), s("M"), s("abc"), 1 | 2 | 4)), "abc");
    EXPECT_EQ(fake_backend::calls.back().default_text, "abc");
}

TEST_F(GuiTest, StringsEndAtAZeroByte) {
    func__guiInputBox(s(std::string("a\0b", 3)), s("M"), nullptr, 1 | 2);
    EXPECT_EQ(fake_backend::calls.back().title, "a");
}

TEST_F(GuiTest, APendingErrorShowsNothing) {
    error(5);
    EXPECT_EQ(text(func__guiInputBox(s("T"), s("M"), nullptr, 3)), "");
    EXPECT_EQ(func__guiMessageBox(s("T"), s("M"), nullptr, nullptr, 0, 3), 0);
    sub__guiMessageBox(s("T"), s("M"), nullptr, 3);
    sub__guiNotifyPopup(s("T"), s("M"), nullptr, 3);
    sub_beep();
    EXPECT_TRUE(fake_backend::calls.empty());
    EXPECT_EQ(fake_backend::beeps, 0);
    // gui_alert is called while an error is pending, and still shows.
    EXPECT_EQ(gui_alert("text", "title", "yesno"), 1);
    EXPECT_EQ(fake_backend::calls.size(), 1u);
}

TEST_F(GuiTest, BeepRingsOnce) {
    sub_beep();
    EXPECT_EQ(fake_backend::beeps, 1);
}

TEST_F(GuiTest, InputBoxesFromTwoThreadsNeverOverlap) {
    fake_backend::sleep_ms = 50;
    fake_backend::texts = {"a", "b"};
    // The layer serialises its calls by itself.
    std::thread one([] { ndlg_inputBox("T", "M", ""); }), two([] { ndlg_inputBox("T", "M", ""); });
    one.join();
    two.join();
    EXPECT_FALSE(fake_backend::overlapped.load());
    EXPECT_EQ(fake_backend::calls.size(), 2u);

    // As the wrappers do, the lock is held from the call until the answer is copied
    // (BASIC strings themselves belong to the program thread): each gets its own answer.
    fake_backend::texts = {"first", "second"};
    std::string a, b;
    auto ask = [](std::string* out) {
        std::lock_guard<std::recursive_mutex> hold(dialog_lock());
        *out = ndlg_inputBox("T", "M", "");
    };
    std::thread three(ask, &a), four(ask, &b);
    three.join();
    four.join();
    EXPECT_FALSE(fake_backend::overlapped.load());
    EXPECT_TRUE((a == "first" && b == "second") || (a == "second" && b == "first")) << a << " " << b;
}

TEST_F(GuiTest, AlertWithAFormatIsCutAtItsBuffer) {
    EXPECT_TRUE(gui_alert("abcde%395s", "x"));
    ASSERT_EQ(fake_backend::calls.size(), 1u);
    const fake_call& c = fake_backend::calls[0];
    EXPECT_EQ(c.title, "Alert");
    EXPECT_EQ(c.kind, "ok");
    EXPECT_EQ(c.icon, "error");
    EXPECT_EQ(c.number, 1);
    EXPECT_EQ(c.message.size(), 274u);
    EXPECT_EQ(c.message.substr(0, 5), "abcde");

    std::string accents = "a";
    for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";
    EXPECT_TRUE(gui_alert("%s", accents.c_str()));
    EXPECT_EQ(fake_backend::calls.back().message, accents.substr(0, 257));

    size_t before = fake_backend::calls.size();
    EXPECT_FALSE(gui_alert(static_cast<const char*>(nullptr)));
    EXPECT_EQ(fake_backend::calls.size(), before);
}

TEST_F(GuiTest, AlertWithThreeStringsAnswersTheBox) {
    fake_backend::numbers = {1, 0};
    EXPECT_EQ(gui_alert("Continue?", "Unhandled Error", "yesno"), 1);
    EXPECT_EQ(fake_backend::calls.back(), make_call("messagebox", "Unhandled Error", "Continue?", "yesno", "error", 1));
    EXPECT_EQ(gui_alert("Continue?", "Unhandled Error", "yesno"), 0);
}

TEST_F(GuiTest, AlertWithNoWayToShowABoxWritesToStandardError) {
    fake_backend::display = false;  // the basic route, which this process never set up
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(gui_alert("Out of memory", "Critical Error", "ok"), 1);
    EXPECT_TRUE(gui_alert("n=%d", 7));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Critical Error: Out of memory\nAlert: n=7\n");
    EXPECT_TRUE(fake_backend::calls.empty());
}

TEST_F(GuiTest, AlertSeamTakesTheBoxesAndGivesThemBack) {
    static std::string seen;
    gui_alert_set_backend([](const char* message, const char* title, const char* kind) {
        seen = std::string(title) + "|" + message + "|" + kind;
        return 0;
    });
    EXPECT_EQ(gui_alert("m", "t", "yesno"), 0);
    EXPECT_TRUE(gui_alert("n=%d", 5));
    EXPECT_EQ(seen, "Alert|n=5|ok");
    EXPECT_TRUE(fake_backend::calls.empty());
    gui_alert_set_backend(nullptr);
    gui_alert("m", "t", "ok");
    EXPECT_EQ(fake_backend::calls.size(), 1u);
}

}  // namespace
