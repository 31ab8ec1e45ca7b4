// The graphic choosers in a real X server: each runs on a second thread while the
// test finds its window (class "ZvDialog", instance and title) and types into it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "dialog/dialog_layer.h"
#include "dialog/gui.h"
#include "dialog/ndlg.h"
#include "support/child.h"
#include "support/dialog_font.h"
#include "support/scenario.h"
#include "support/x11_capture.h"
#include "x11_close.h"

namespace {

using namespace std::chrono_literals;
using answer = std::optional<std::string>;

answer text_of(const char* t) { return t ? answer(t) : std::nullopt; }

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, p)) out += buffer;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

void keys(const std::vector<std::string>& names) {
    std::vector<std::string> args{"key", "--delay", "30"};
    args.insert(args.end(), names.begin(), names.end());
    xdotool(args);
}

void type(const std::string& text) { xdotool({"type", "--delay", "30", text}); }

// The shown dialog window of that instance (and title, when given), once it has the focus; "" when none came.
std::string wait_for_dialog(const std::string& instance, const std::string& title = "") {
    for (int i = 0; i < 100; i++) {
        std::string ids = output_of("xdotool search --onlyvisible --classname '^" + instance + "$' 2>/dev/null");
        std::string focused = output_of("xdotool getwindowfocus 2>/dev/null");
        for (size_t at = 0; at < ids.size();) {
            size_t end = ids.find('\n', at);
            std::string id = ids.substr(at, end == std::string::npos ? std::string::npos : end - at);
            bool named = title.empty() || output_of("xdotool getwindowname " + id) == title;
            if (named && id == focused && output_of("xprop -id " + id + " WM_CLASS").find("\"ZvDialog\"") !=
                                              std::string::npos)
                return id;
            if (end == std::string::npos) break;
            at = end + 1;
        }
        std::this_thread::sleep_for(50ms);
    }
    return "";
}

bool still_open(const std::string& id) { return !output_of("xdotool getwindowname " + id + " 2>/dev/null").empty(); }

// Closes every dialog still open, so that a failed test does not wait for ever.
void close_dialogs() {
    std::string ids = output_of("xdotool search --class ZvDialog 2>/dev/null");
    for (size_t at = 0; at < ids.size();) {
        size_t end = ids.find('\n', at);
        x11_send_close(std::stoul(ids.substr(at, end == std::string::npos ? std::string::npos : end - at)));
        at = end == std::string::npos ? ids.size() : end + 1;
    }
}

// A chooser asked on a second thread; one left open by a failed test is closed.
template <typename T>
struct asked {
    std::future<T> answer;
    template <typename F>
    explicit asked(F f) : answer(std::async(std::launch::async, f)) {}
    ~asked() {
        while (answer.valid() && answer.wait_for(200ms) != std::future_status::ready) close_dialogs();
    }
    // Still waiting for an answer a while later.
    bool waits() { return answer.wait_for(400ms) == std::future_status::timeout; }
    T get() {
        if (answer.wait_for(10s) != std::future_status::ready) close_dialogs();
        return answer.get();
    }
};
template <typename F>
asked(F) -> asked<std::invoke_result_t<F>>;

class DialogChooser : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        dialog_locale_global_init();
        dialog_reset_for_tests();
        char pattern[] = "/tmp/zvchooser-e2e-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        dir = pattern;
        std::ofstream(dir + "/a") << "a";
        std::ofstream(dir + "/b") << "b";
        mkdir((dir + "/s").c_str(), 0755);
    }
    void TearDown() override { (void)std::system(("rm -rf '" + dir + "'").c_str()); }
};

TEST_F(DialogChooser, OpenTakesAnExistingFileAndStaysForAMissingOne) {
    asked chosen([&] {
        return text_of(ndlg_openFileDialog("Pick", (dir + "/").c_str(), 0, nullptr, nullptr, 0));
    });
    std::string id = wait_for_dialog("filechooser", "Pick");
    ASSERT_FALSE(id.empty());
    type("zz");
    keys({"Return"});
    EXPECT_TRUE(chosen.waits());
    EXPECT_TRUE(still_open(id));
    keys({"BackSpace", "BackSpace"});
    type("a");
    keys({"Return"});
    EXPECT_EQ(chosen.get(), dir + "/a");

    asked cancelled([&] {
        return text_of(ndlg_openFileDialog("Pick", (dir + "/").c_str(), 0, nullptr, nullptr, 0));
    });
    ASSERT_FALSE(wait_for_dialog("filechooser", "Pick").empty());
    keys({"Escape"});
    EXPECT_EQ(cancelled.get(), std::nullopt);
}

TEST_F(DialogChooser, SeveralFilesSelectedInTheList) {
    asked chosen([&] {
        return text_of(ndlg_openFileDialog("Several", (dir + "/").c_str(), 0, nullptr, nullptr, 1));
    });
    ASSERT_FALSE(wait_for_dialog("filechooser", "Several").empty());
    // The list: "..", "s", "a", "b".
    keys({"Tab", "Down", "Down", "space", "Down", "space", "Return"});
    EXPECT_EQ(chosen.get(), dir + "/a|" + dir + "/b");
}

TEST_F(DialogChooser, AFilterShowsOnlyMatchingFilesAndGivesTheDefaultExtension) {
    std::ofstream(dir + "/0.BAS") << "x";
    const char* patterns[] = {"*.bas"};
    asked opened([&] {
        return text_of(ndlg_openFileDialog("Filter", (dir + "/").c_str(), 1, patterns, "BASIC", 0));
    });
    ASSERT_FALSE(wait_for_dialog("filechooser", "Filter").empty());
    // Filtered: "..", "s", "0.BAS" (without the filter "b" would come last).
    keys({"Tab", "End", "Return"});
    EXPECT_EQ(opened.get(), dir + "/0.BAS");

    asked saved([&] {
        return text_of(ndlg_saveFileDialog("Filter", (dir + "/").c_str(), 1, patterns, "BASIC"));
    });
    ASSERT_FALSE(wait_for_dialog("filechooser", "Filter").empty());
    type("x");
    keys({"Return"});
    EXPECT_EQ(saved.get(), dir + "/x.bas");
}

TEST_F(DialogChooser, SaveAsksBeforeReplacingAFile) {
    asked chosen([&] {
        return text_of(ndlg_saveFileDialog("Keep", (dir + "/").c_str(), 0, nullptr, nullptr));
    });
    ASSERT_FALSE(wait_for_dialog("filechooser", "Keep").empty());
    type("a");
    keys({"Return"});
    ASSERT_FALSE(wait_for_dialog("messagebox", "Confirm Save").empty());
    keys({"Return"});  // No, the default
    ASSERT_FALSE(wait_for_dialog("filechooser", "Keep").empty());
    EXPECT_TRUE(chosen.waits());
    keys({"Return"});
    ASSERT_FALSE(wait_for_dialog("messagebox", "Confirm Save").empty());
    keys({"y"});
    EXPECT_EQ(chosen.get(), dir + "/a");
}

TEST_F(DialogChooser, TheFolderChooserAnswersItsField) {
    asked here([&] { return text_of(ndlg_selectFolderDialog("Where", dir.c_str())); });
    ASSERT_FALSE(wait_for_dialog("folderchooser", "Where").empty());
    keys({"Return"});
    EXPECT_EQ(here.get(), dir);

    asked inner([&] { return text_of(ndlg_selectFolderDialog("Where", dir.c_str())); });
    ASSERT_FALSE(wait_for_dialog("folderchooser", "Where").empty());
    keys({"Tab", "Down", "Return", "Tab", "Return"});  // into "s", then OK
    EXPECT_EQ(inner.get(), dir + "/s");

    asked typed([&] { return text_of(ndlg_selectFolderDialog("Where", dir.c_str())); });
    ASSERT_FALSE(wait_for_dialog("folderchooser", "Where").empty());
    type(dir + "/a");  // the field's text is selected: typing replaces it
    keys({"Return"});
    EXPECT_EQ(typed.get(), std::nullopt);  // a file is no folder
}

// Names that are not UTF-8 show whole (through Windows-1252), so two that differ after
// the bad byte look different; picking one answers its bytes.
TEST_F(DialogChooser, NamesThatAreNotUtf8ShowWholeAndAnswerTheirBytes) {
    std::ofstream(dir + "/bad\xE9.txt") << "x";
    std::ofstream(dir + "/bad\xE8.doc") << "x";
    int32_t line = dialog_line_height();
    ASSERT_GT(line, 0);
    // The list: "..", "s", "a", "b", "bad\xE8.doc", "bad\xE9.txt"; its rows start 2 pixels
    // into the list, which starts a line and 16 pixels down; a row is a line and 4 high.
    const int32_t list_y = 10 + line + 6, row = line + 4;
    const struct {
        std::vector<std::string> keys;
        std::string name;
    } picks[] = {{{"Tab", "End", "Return"}, "bad\xE9.txt"}, {{"Tab", "End", "Up", "Return"}, "bad\xE8.doc"}};
    for (const auto& pick : picks) {
        asked chosen([&] {
            return text_of(ndlg_openFileDialog("Bytes", (dir + "/").c_str(), 0, nullptr, nullptr, 0));
        });
        std::string id = wait_for_dialog("filechooser", "Bytes");
        ASSERT_FALSE(id.empty());
        if (&pick == picks) {
            std::this_thread::sleep_for(300ms);
            x11_picture p = x11_capture(std::stoul(id));
            ASSERT_GT(p.height, list_y + 6 * row);
            auto strip = [&](int32_t index) {
                std::vector<uint32_t> pixels;
                for (int32_t y = list_y + 2 + index * row; y < list_y + 2 + (index + 1) * row; y++)
                    for (int32_t x = 12; x < p.width - 12; x++) pixels.push_back(p.at(x, y));
                return pixels;
            };
            EXPECT_NE(strip(4), strip(5));
        }
        keys(pick.keys);
        EXPECT_EQ(chosen.get(), dir + "/" + pick.name);
    }
}

TEST_F(DialogChooser, ColourStartsOnTheDefaultBytesAndAnswersTheTypedColour) {
    struct colour_run {
        std::vector<std::string> typing;
        answer text;
        uint8_t r, g, b;
    };
    const colour_run runs[] = {
        {{}, "#102030", 16, 32, 48},
        {{"#00ff00"}, "#00ff00", 0, 255, 0},
        {{"#00FF0", "Tab"}, "#102030", 16, 32, 48},  // the hex field waits for a whole colour
    };
    for (const auto& run : runs) {
        uint8_t rgb[3] = {0, 0, 0};
        asked chosen([&] {
            const uint8_t start[3] = {16, 32, 48};
            return text_of(ndlg_colorChooser("Tint", nullptr, start, rgb));
        });
        ASSERT_FALSE(wait_for_dialog("colorchooser", "Tint").empty());
        for (const auto& t : run.typing) {
            if (t == "Tab")
                keys({"Tab"});
            else
                type(t);
        }
        keys({"Return"});
        EXPECT_EQ(chosen.get(), run.text);
        EXPECT_EQ(rgb[0], run.r);
        EXPECT_EQ(rgb[1], run.g);
        EXPECT_EQ(rgb[2], run.b);
    }

    // The BASIC function: alpha 255 with the colour, 0 when cancelled.
    asked green([] { return func__guiColorChooserDialog(nullptr, 0xFF102030u, 2); });
    ASSERT_FALSE(wait_for_dialog("colorchooser").empty());
    type("#00ff00");
    keys({"Return"});
    EXPECT_EQ(green.get(), 0xFF00FF00u);
    asked none([] { return func__guiColorChooserDialog(nullptr, 0, 0); });
    ASSERT_FALSE(wait_for_dialog("colorchooser").empty());
    keys({"Escape"});
    EXPECT_EQ(none.get(), 0u);
}

}  // namespace
