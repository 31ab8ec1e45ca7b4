// The graphic dialogs on a real X server: message box keys and close request, the
// input box's typed text, masking and Escape, the notification popup, the bell, and
// the focus going back to the program's window.
#include <gtest/gtest.h>
// After gtest, whose names Xlib's macros would hit.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"
#include "dialog/x11_backend.h"
#include "dialog/x11_dialog.h"
#include "support/child.h"
#include "support/dialog_font.h"
#include "support/scenario.h"
#include "support/x11_capture.h"
#include "support/x11_probe.h"

namespace {

std::string run_output(const std::vector<std::string>& args) {
    std::string command;
    for (const std::string& a : args) command += "'" + a + "' ";
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, p)) out += buffer;
        pclose(p);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// The window's WM_CLASS as "instance.class". Asked of xprop: this process's own Xlib
// calls stay on the dialog's thread while a dialog opens.
std::string window_class_of(unsigned long window) {
    std::string line = run_output({"xprop", "-id", std::to_string(window), "WM_CLASS"});
    size_t a = line.find('"'), b = line.find('"', a + 1), c = line.find('"', b + 1), d = line.find('"', c + 1);
    if (d == std::string::npos) return "";
    return line.substr(a + 1, b - a - 1) + "." + line.substr(c + 1, d - c - 1);
}

// The dialog's window, found by its title and then checked for its class; 0 when none
// appeared.
unsigned long find_dialog(const char* window_class, const std::string& title) {
    // Look again until both match: xdotool gives up on a search that meets a window
    // being destroyed (another popup going away), and a title may come before a class.
    int64_t deadline = monotonic_ms() + 10000;
    while (monotonic_ms() < deadline) {
        std::string ids = run_output({"timeout", "5", "xdotool", "search", "--sync", "--name", "^" + title + "$"});
        for (size_t at = 0; at < ids.size();) {
            size_t end = ids.find('\n', at);
            unsigned long id = std::stoul(ids.substr(at, end - at));
            std::string cls = window_class_of(id);
            if (cls.size() > strlen(window_class) && cls.substr(cls.size() - strlen(window_class)) == window_class)
                return id;
            at = end == std::string::npos ? ids.size() : end + 1;
        }
        usleep(100000);
    }
    return 0;
}

// Closes every dialog still open, so that a failed test does not wait for ever.
void close_dialogs() {
    std::string ids = run_output({"xdotool", "search", "--class", "ZvDialog"});
    for (size_t at = 0; at < ids.size();) {
        size_t end = ids.find('\n', at);
        x11_send_close(std::stoul(ids.substr(at, end - at)));
        at = end == std::string::npos ? ids.size() : end + 1;
    }
}

// A dialog asked on a second thread.
template <typename T>
struct asked {
    std::future<T> answer;
    template <typename F>
    explicit asked(F f) : answer(std::async(std::launch::async, f)) {}
    ~asked() {
        while (answer.valid() && answer.wait_for(std::chrono::milliseconds(200)) != std::future_status::ready)
            close_dialogs();
    }
    bool ready() { return answer.wait_for(std::chrono::seconds(5)) == std::future_status::ready; }
    T get() { return answer.get(); }
};

// The focus window; 0 for none or PointerRoot.
unsigned long focused_window() {
    std::string id = run_output({"sh", "-c", "xdotool getwindowfocus 2>/dev/null"});
    return id.empty() ? 0 : std::stoul(id);
}

// Waits until the window has the keyboard focus.
bool wait_for_focus(unsigned long window, int timeout_ms = 3000) {
    int64_t deadline = monotonic_ms() + timeout_ms;
    while (monotonic_ms() < deadline) {
        if (focused_window() == window) return true;
        usleep(20000);
    }
    return false;
}

size_t count_windows(const char* window_class) {
    std::string ids = run_output({"xdotool", "search", "--onlyvisible", "--class", window_class});
    if (ids.empty()) return 0;
    return 1 + size_t(std::count(ids.begin(), ids.end(), '\n'));
}

class DialogWindow : public ::testing::Test {
protected:
    void SetUp() override {
        // As in main: the dialogs and this test use Xlib from two threads.
        XInitThreads();
        dialog_locale_global_init();
        dialog_reset_for_tests();
    }
};

struct message_case {
    const char* type;
    int32_t default_button;
    std::vector<std::string> keys;  // xdotool key arguments; empty: the close request
    int32_t answer;
};

TEST_F(DialogWindow, MessageBoxAnswersKeysAndTheCloseRequest) {
    const message_case cases[] = {
        {"yesnocancel", 0, {"Return"}, 0}, {"yesnocancel", 0, {"y"}, 1},       {"yesnocancel", 0, {"n"}, 2},
        {"yesnocancel", 0, {}, 0},         {"yesnocancel", 1, {"Tab", "Return"}, 2},
        {"ok", 1, {"Escape"}, 1},          {"okcancel", 0, {"Escape"}, 0},     {"yesno", 1, {"space"}, 1},
    };
    int n = 0;
    for (const message_case& c : cases) {
        std::string title = "T" + std::to_string(++n);
        SCOPED_TRACE(title + " " + c.type);
        asked<int32_t> answer([&] { return ndlg_messageBox(title.c_str(), "m", c.type, "question", c.default_button); });
        unsigned long box = find_dialog("ZvDialog", title);
        ASSERT_NE(box, 0u);
        ASSERT_TRUE(wait_for_focus(box));
        if (c.keys.empty())
            ASSERT_TRUE(x11_send_close(box));
        else
            for (const std::string& key : c.keys) xdotool({"key", key});
        ASSERT_TRUE(answer.ready());
        EXPECT_EQ(answer.get(), c.answer);
    }
}

TEST_F(DialogWindow, MessageBoxInstanceAndTitleInUtf8) {
    asked<int32_t> answer([] { return ndlg_messageBox("Caf\xE9", "m", "ok", "info", 1); });
    unsigned long box = find_dialog("ZvDialog", "Caf\xC3\xA9");
    ASSERT_NE(box, 0u);
    EXPECT_EQ(window_class_of(box), "messagebox.ZvDialog");
    ASSERT_TRUE(wait_for_focus(box));
    xdotool({"key", "Return"});
    ASSERT_TRUE(answer.ready());
    EXPECT_EQ(answer.get(), 1);
}

TEST_F(DialogWindow, InputBoxAnswersTypedUtf8AndEscapeAnswersEmpty) {
    asked<std::string> typed([] { return std::string(ndlg_inputBox("Name", "Your name?", "")); });
    unsigned long box = find_dialog("ZvDialog", "Name");
    ASSERT_NE(box, 0u);
    ASSERT_TRUE(wait_for_focus(box));
    xdotool({"type", "--delay", "30", "h\xC3\xA9llo\xE2\x82\xAC"});
    xdotool({"key", "Return"});
    ASSERT_TRUE(typed.ready());
    EXPECT_EQ(typed.get(), "h\xC3\xA9llo\xE2\x82\xAC");

    asked<std::string> cancelled([] { return std::string(ndlg_inputBox("Again", "m", "start")); });
    box = find_dialog("ZvDialog", "Again");
    ASSERT_NE(box, 0u);
    ASSERT_TRUE(wait_for_focus(box));
    xdotool({"type", "abc"});
    xdotool({"key", "Escape"});
    ASSERT_TRUE(cancelled.ready());
    EXPECT_EQ(cancelled.get(), "");
}

TEST_F(DialogWindow, MaskedInputShowsTheSameStarsWhateverIsTyped) {
    asked<std::string> typed([] { return std::string(ndlg_inputBox("Secret", "m", nullptr)); });
    unsigned long box = find_dialog("ZvDialog", "Secret");
    ASSERT_NE(box, 0u);
    ASSERT_TRUE(wait_for_focus(box));
    xdotool({"type", "abc"});
    usleep(300000);
    x11_picture first = x11_capture(box);
    xdotool({"key", "BackSpace", "BackSpace", "BackSpace"});
    xdotool({"type", "xyz"});
    usleep(300000);
    x11_picture second = x11_capture(box);
    xdotool({"key", "Return"});
    ASSERT_TRUE(typed.ready());
    EXPECT_EQ(typed.get(), "xyz");
    ASSERT_GT(first.width, 0);
    EXPECT_EQ(first.pixels, second.pixels);
}

// Key sequences against the answer. Steps are xdotool key names (several split at
// spaces), "type:" and its text, or "wait": the dialog must still be unanswered. The input box starts on
// "abc", the colour chooser on &H102030 (its focus order: Hex, Red, Green, Blue, OK,
// Cancel); colour answers are the wrapper's, as eight hex digits.
struct key_case {
    bool colour;
    std::vector<std::string> steps;
    std::string answer;
};

TEST_F(DialogWindow, EnterPressesTheFocusedControlAndBadColourFieldsHoldTheAnswer) {
    const key_case cases[] = {
        {false, {"Return"}, "abc"},                         // the field
        {false, {"Tab", "Return"}, "abc"},                  // OK
        {false, {"Tab", "Tab", "Return"}, ""},              // Cancel
        {false, {"shift+Tab", "Return"}, ""},               // Cancel, backwards from the field
        {false, {"Tab", "Tab", "space"}, ""},
        {false, {"Tab", "Tab", "Tab", "type:d", "Return"}, "abcd"},  // round to the field again
        {false, {"Escape"}, ""},
        {true, {"Return"}, "FF102030"},                     // Hex
        {true, {"Tab", "Return"}, "FF102030"},              // Red
        {true, {"Tab", "Tab", "Return"}, "FF102030"},       // Green
        {true, {"Tab", "Tab", "Tab", "Return"}, "FF102030"},  // Blue
        {true, {"Tab", "Tab", "Tab", "Tab", "Return"}, "FF102030"},  // OK
        {true, {"Tab", "Tab", "Tab", "Tab", "Tab", "Return"}, "00000000"},  // Cancel
        {true, {"Tab", "BackSpace", "BackSpace", "type:300", "Return", "wait", "BackSpace", "BackSpace",
                "BackSpace", "type:200", "Return"}, "FFC82030"},  // out of range, then mended
        {true, {"Tab", "BackSpace", "BackSpace", "Return", "wait", "type:7", "Return"}, "FF072030"},  // empty
        {true, {"Tab", "Tab", "BackSpace", "BackSpace", "type:x", "Return", "wait", "type:9", "Return"},
         "FF100930"},  // a letter does not go in; the field stays empty
        {true, {"Tab", "Tab", "Tab", "BackSpace BackSpace", "type:1000", "Tab", "Return"},
         "FF102064"},  // a fourth digit does not go in
        {true, {"type:#12345", "Return", "wait", "Tab", "BackSpace BackSpace", "Return", "wait", "shift+Tab",
                "BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace", "type:#654321", "Return"},
         "FF654321"},  // a bad hex field, then a bad red one
        {true, {"Tab", "BackSpace", "BackSpace", "type:300", "Tab", "Tab", "Tab", "Return"}, "FF1E2030"},
        // leaving a field that holds no byte puts back the last one it held (30), as the hex field does
    };
    int n = 0;
    for (const key_case& c : cases) {
        std::string title = "K" + std::to_string(++n);
        SCOPED_TRACE(title);
        asked<std::string> answer([&] {
            if (!c.colour) return std::string(ndlg_inputBox(title.c_str(), "Type something:", "abc"));
            const uint8_t start[3] = {0x10, 0x20, 0x30};
            uint8_t rgb[3] = {0, 0, 0};
            uint32_t value = ndlg_colorChooser(title.c_str(), nullptr, start, rgb)
                                 ? 0xFF000000u | uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2]
                                 : 0;
            char text[9];
            snprintf(text, sizeof text, "%08X", value);
            return std::string(text);
        });
        unsigned long box = find_dialog("ZvDialog", title);
        ASSERT_NE(box, 0u);
        ASSERT_TRUE(wait_for_focus(box));
        for (const std::string& step : c.steps) {
            if (step == "wait") {
                ASSERT_EQ(answer.answer.wait_for(std::chrono::milliseconds(400)), std::future_status::timeout);
            } else if (step.rfind("type:", 0) == 0) {
                xdotool({"type", "--delay", "30", step.substr(5)});
            } else {
                std::vector<std::string> args{"key", "--delay", "30"};
                for (size_t at = 0; at <= step.size();) {
                    size_t end = std::min(step.find(' ', at), step.size());
                    args.push_back(step.substr(at, end - at));
                    at = end + 1;
                }
                xdotool(args);
            }
        }
        ASSERT_TRUE(answer.ready());
        EXPECT_EQ(answer.get(), c.answer);
    }
}

// Xft measures in 16 bits; wider texts are measured in pieces.
TEST_F(DialogWindow, TextWiderThan32767PixelsIsMeasuredAndWrapped) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    dx_window* w = dx_open("inputbox", "Measure", 100, 100);
    ASSERT_NE(w, nullptr);
    int32_t one = dx_text_width(w, "W");
    ASSERT_GT(one, 0);
    std::string word(3000, 'W');
    EXPECT_EQ(dx_text_width(w, word), 3000 * one);
    EXPECT_GT(dx_text_width(w, word), 32767);
    // A character across the end of a piece.
    EXPECT_EQ(dx_text_width(w, std::string(127, 'W') + "\xC3\xA9" + word),
              dx_text_width(w, "\xC3\xA9") + 3127 * one);
    std::vector<std::string> lines = dx_wrap(w, word, 420);
    size_t characters = 0;
    for (const std::string& line : lines) {
        EXPECT_LE(dx_text_width(w, line), 420);
        EXPECT_GT(line.size(), 0u);
        characters += line.size();
    }
    EXPECT_EQ(characters, 3000u);
    size_t per_line = size_t(420 / one);
    EXPECT_EQ(lines.size(), (3000 + per_line - 1) / per_line);
    dx_close(w);
}

// A message of one 3,000-character word: the box is wide, and every line of its text
// area has ink.
TEST_F(DialogWindow, AVeryWideWordIsBrokenAcrossTheLinesOfAMessageBox) {
    int32_t line = dialog_line_height();
    ASSERT_GT(line, 0);
    std::string word(3000, 'W');
    asked<int32_t> answer([&] { return ndlg_messageBox("Wide", word.c_str(), "ok", "info", 1); });
    unsigned long box = find_dialog("ZvDialog", "Wide");
    ASSERT_NE(box, 0u);
    ASSERT_TRUE(wait_for_focus(box));
    usleep(300000);
    x11_picture p = x11_capture(box);
    xdotool({"key", "Return"});
    ASSERT_TRUE(answer.ready());
    EXPECT_EQ(answer.get(), 1);
    ASSERT_GT(p.width, 0);
    EXPECT_GT(p.width, 400);
    // The text starts right of the 32-pixel icon, 14 pixels down; the buttons' band
    // (14 + button + 14 pixels, the button a line and 10 high) closes the box.
    const int32_t text_x = 14 + 32 + 14, text_y = 14, fixed = 3 * 14 + line + 10;
    int32_t lines = (p.height - fixed) / line;
    EXPECT_GT(lines, 20);
    for (int32_t i = 0; i < lines; i++) {
        bool ink = false;
        for (int32_t y = text_y + i * line; y < text_y + (i + 1) * line && !ink; y++)
            for (int32_t x = text_x; x < p.width && !ink; x++) ink = (p.at(x, y) & 0xFF) < 0x80;
        EXPECT_TRUE(ink) << "line " << i;
    }
}

// X carries window sizes in 16 bits: a prompt of more lines than that many pixels hold
// is cut at the screen's height, so the box and its field stay on the screen.
TEST_F(DialogWindow, AnInputBoxPromptTallerThanSixteenBitsIsCutToTheScreen) {
    int32_t line = dialog_line_height();
    ASSERT_GT(line, 0);
    std::string prompt;
    for (int32_t i = 0; i < (65536 + 4000) / line + 1; i++) prompt += "x\n";
    asked<std::string> typed([&] { return std::string(ndlg_inputBox("Tall", prompt.c_str(), "")); });
    unsigned long box = find_dialog("ZvDialog", "Tall");
    ASSERT_NE(box, 0u);
    ASSERT_TRUE(wait_for_focus(box));
    int32_t width = 0, height = 0;
    int x = -1, y = -1;
    ASSERT_TRUE(x11_window_size(box, &width, &height));
    ASSERT_TRUE(x11_window_position(box, &x, &y));
    xdotool({"type", "--delay", "30", "ok"});
    xdotool({"key", "Return"});
    ASSERT_TRUE(typed.ready());
    EXPECT_EQ(typed.get(), "ok");
    EXPECT_GT(height, 600);
    EXPECT_GE(y, 0);
    EXPECT_LE(y + height, 768);
}

TEST_F(DialogWindow, NotificationReturnsAtOnceShowsOneUnfocusedPopupAndGoesAway) {
    x11_notify_set_duration_for_tests(10000);
    int64_t start = monotonic_ms();
    EXPECT_EQ(ndlg_notifyPopup("Done", "All files saved", "info"), 1);
    EXPECT_LT(monotonic_ms() - start, 100);
    unsigned long before = focused_window();
    unsigned long popup = find_dialog("ZvNotify", "Done");
    ASSERT_NE(popup, 0u);
    EXPECT_LT(monotonic_ms() - start, 1000);
    EXPECT_EQ(focused_window(), before);

    EXPECT_EQ(ndlg_notifyPopup("Second", "m", "warning"), 1);
    ASSERT_NE(find_dialog("ZvNotify", "Second"), 0u);
    usleep(200000);
    EXPECT_EQ(count_windows("ZvNotify"), 1u);

    x11_notify_set_duration_for_tests(200);
    EXPECT_EQ(ndlg_notifyPopup("Short", "m", "error"), 1);
    usleep(800000);
    EXPECT_EQ(count_windows("ZvNotify"), 0u);
}

TEST_F(DialogWindow, BeepRingsAt900HzFor500MsAndRestoresTheBell) {
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    int opcode, event_base, error_base, major = XkbMajorVersion, minor = XkbMinorVersion;
    ASSERT_TRUE(XkbQueryExtension(d, &opcode, &event_base, &error_base, &major, &minor));
    XkbSelectEvents(d, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XKeyboardState before;
    XGetKeyboardControl(d, &before);
    XSync(d, False);

    int64_t start = monotonic_ms();
    ndlg_beep();
    EXPECT_GE(monotonic_ms() - start, 500);

    bool rang = false;
    for (int i = 0; i < 100 && !rang; ++i) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != event_base) continue;
            auto* xkb = reinterpret_cast<XkbEvent*>(&e);
            if (xkb->any.xkb_type != XkbBellNotify) continue;
            EXPECT_EQ(xkb->bell.pitch, 900);
            EXPECT_EQ(xkb->bell.duration, 500);
            rang = true;
        }
        if (!rang) usleep(10000);
    }
    EXPECT_TRUE(rang);
    XKeyboardState after;
    XGetKeyboardControl(d, &after);
    EXPECT_EQ(after.bell_pitch, before.bell_pitch);
    EXPECT_EQ(after.bell_duration, before.bell_duration);
    XCloseDisplay(d);
}

// The program "owner" with its window shown and focused, its standard input and
// output in pipes.
class DialogOwner : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(pipe(input), 0);
        ASSERT_EQ(pipe(output), 0);
        signal(SIGPIPE, SIG_IGN);
        program.pid = fork();
        if (program.pid == 0) {
            dup2(input[0], 0);
            dup2(output[1], 1);
            close(input[1]);
            close(output[0]);
            execl(ZV_E2E_DIALOG_OWNER, ZV_E2E_DIALOG_OWNER, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(input[0]);
        close(output[1]);
        owner = x11_wait_for_window("owner", 10000);
        ASSERT_NE(owner.id, 0u);
        xdotool({"windowfocus", "--sync", std::to_string(owner.id)});
    }
    void TearDown() override {
        close(input[1]);
        close(output[0]);
        if (owner.id) x11_send_close(owner.id);
        child_wait(program, 3000);
    }
    // Asks the question, answers it with the key and returns the printed answer.
    std::string ask(const char* line, const std::string& title, const char* key) {
        if (write(input[1], line, strlen(line)) != ssize_t(strlen(line))) return "no question";
        unsigned long box = find_dialog("ZvDialog", title);
        if (!box || !wait_for_focus(box)) return "no box";
        xdotool({"key", key});
        char answer[8] = {};
        return read(output[0], answer, sizeof answer - 1) > 0 ? answer : "no answer";
    }

    int input[2] = {-1, -1}, output[2] = {-1, -1};
    child_process program;
    x11_window_info owner{};
};

TEST_F(DialogOwner, TheBoxOfAProgramGivesTheFocusBackToItsWindow) {
    EXPECT_EQ(ask("box\n", "T1", "n"), "2\n");
    EXPECT_TRUE(wait_for_focus(owner.id));
}

TEST_F(DialogOwner, TheRuntimesAlertIsARealBoxAnsweredByItsLetters) {
    EXPECT_EQ(ask("alert\n", "Unhandled Error", "y"), "1\n");
}

}  // namespace
