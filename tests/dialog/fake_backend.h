// A graphic back end for the dialog tests: records every call and answers from a script.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"

struct fake_call {
    std::string op, title, message, kind, icon;
    bool has_default = false;  // input box: a default text was given (not null)
    std::string default_text;
    int32_t number = 0;        // default button
    uint8_t rgb[3] = {0, 0, 0};
    bool operator==(const fake_call&) const = default;
};

inline fake_call make_call(const char* op, const char* title, const char* message, const char* kind = "",
                           const char* icon = "", int32_t number = 0) {
    fake_call c;
    c.op = op;
    c.title = title;
    c.message = message;
    c.kind = kind;
    c.icon = icon;
    c.number = number;
    return c;
}

struct fake_backend {
    static inline std::vector<fake_call> calls;
    static inline std::deque<int32_t> numbers;          // message box answers (1 when none left)
    static inline std::deque<const char*> texts;        // input and chooser answers (null: cancelled)
    static inline uint8_t colour_answer[3] = {0, 0, 0};
    static inline bool display = true;
    static inline int32_t sleep_ms = 0;
    static inline std::atomic<int32_t> inside{0};
    static inline std::atomic<bool> overlapped{false};
    static inline int32_t beeps = 0;

    static void install() {
        calls.clear();
        numbers.clear();
        texts.clear();
        display = true;
        sleep_ms = 0;
        overlapped = false;
        beeps = 0;
        dialog_backend b{};
        b.available = [] { return display; };
        b.message_box = message_box;
        b.notify_popup = notify_popup;
        b.input_box = input_box;
        b.color_chooser = color_chooser;
        b.open_file = open_file;
        b.save_file = save_file;
        b.select_folder = select_folder;
        b.beep = [] {
            ++beeps;
            return 0;
        };
        dialog_backend_of(dialog_route::graphic) = b;
    }

    // Marks the call as running, and sleeps when the test asks, to catch overlaps.
    struct visit {
        visit() {
            if (inside.fetch_add(1) != 0) overlapped = true;
            if (sleep_ms) std::this_thread::sleep_for(std::chrono::milliseconds(sleep_ms));
        }
        ~visit() { inside.fetch_sub(1); }
    };

    static int32_t message_box(const char* title, const char* message, const char* type, const char* icon,
                               int32_t default_button) {
        visit v;
        calls.push_back(make_call("messagebox", title, message, type, icon, default_button));
        if (numbers.empty()) return 1;
        int32_t a = numbers.front();
        numbers.pop_front();
        return a;
    }
    static int32_t notify_popup(const char* title, const char* message, const char* icon) {
        visit v;
        calls.push_back(make_call("notify", title, message, "", icon));
        return 1;
    }
    static const char* next_text() {
        if (texts.empty()) return nullptr;
        const char* t = texts.front();
        texts.pop_front();
        return t;
    }
    static bool input_box(const char* title, const char* message, const char* default_text, std::string* answer) {
        visit v;
        fake_call c = make_call("inputbox", title, message);
        c.has_default = default_text != nullptr;
        c.default_text = default_text ? default_text : "";
        calls.push_back(c);
        const char* t = next_text();
        if (t) *answer = t;
        return t != nullptr;
    }
    // The file choosers' call: the path in default_text, the patterns joined by ";" in
    // message, the description in kind ("<null>" when absent), allow-several in number.
    static fake_call file_call(const char* op, const char* title, const char* path, int32_t count,
                               const char* const* patterns, const char* description, int32_t several) {
        std::string joined;
        for (int32_t i = 0; i < count; ++i) joined += (i ? ";" : "") + std::string(patterns[i]);
        fake_call c = make_call(op, title, joined.c_str(), description ? description : "<null>", "", several);
        c.has_default = path != nullptr;
        c.default_text = path ? path : "";
        return c;
    }
    static bool answer_text(std::string* answer) {
        const char* t = next_text();
        if (t) *answer = t;
        return t != nullptr;
    }
    static bool open_file(const char* title, const char* path, int32_t count, const char* const* patterns,
                          const char* description, int32_t several, std::string* answer) {
        visit v;
        calls.push_back(file_call("open", title, path, count, patterns, description, several));
        return answer_text(answer);
    }
    static bool save_file(const char* title, const char* path, int32_t count, const char* const* patterns,
                          const char* description, std::string* answer) {
        visit v;
        calls.push_back(file_call("save", title, path, count, patterns, description, 0));
        return answer_text(answer);
    }
    static bool select_folder(const char* title, const char* path, std::string* answer) {
        visit v;
        calls.push_back(file_call("folder", title, path, 0, nullptr, nullptr, 0));
        return answer_text(answer);
    }
    static bool color_chooser(const char* title, const char* default_hex, const uint8_t default_rgb[3],
                              uint8_t result_rgb[3], std::string* answer) {
        visit v;
        fake_call c = make_call("color", title, "", default_hex ? default_hex : "");
        for (int i = 0; i < 3; ++i) c.rgb[i] = default_rgb[i];
        calls.push_back(c);
        const char* t = next_text();
        if (!t) return false;
        for (int i = 0; i < 3; ++i) result_rgb[i] = colour_answer[i];
        *answer = t;
        return true;
    }
};

// Every test starts with a graphic display (":99" that the fake says opens), no remote
// shell, and the fake in place.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("DISPLAY", ":99", 1);
        unsetenv("SSH_CLIENT");
        dialog_reset_for_tests();
        fake_backend::install();
    }
    void TearDown() override { dialog_reset_for_tests(); }
};
