// Window statements against a fake windowing library, and the windowing-layer hooks.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/runtime_flags.h"
#include "display/presenter.h"
#include "display/presenter_environment.h"
#include "error/error.h"
#include "glut/glut_backend.h"
#include "glut/glut_queue.h"
#include "glut/glut_setup.h"
#include "glut/window_hooks.h"
#include "input/keyboard_glut.h"
#include "string/zvs.h"
#include "window/file_drop.h"
#include "window/fps.h"
#include "window/fullscreen.h"
#include "window/resize.h"
#include "window/screen_position.h"
#include "window/screen_show.h"
#include "window/title.h"
#include "window/window_words.h"

namespace {

struct fake_window {
    static inline std::mutex lock;
    static inline std::vector<std::string> calls;
    static inline std::atomic<int> screen_width_misses{0};

    static void record(std::string call) {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back(std::move(call));
    }
    static int32_t get(int32_t id) {
        switch (id) {
        case 100: return 50;   // window x
        case 101: return 60;   // window y
        case 102: return 640;  // window width
        case 103: return 400;  // window height
        case 200: return screen_width_misses.fetch_sub(1) > 0 ? -1 : 1024;
        case 201: return 768;
        // The frame's extents as freeglut gives them on X11: the left one (the
        // border), and the whole top one (a title bar of 20 over the border).
        case 506: return 4;
        case 507: return 24;
        default: return 0;
        }
    }
    static inline const glut_backend backend{
        [](int32_t) {},
        [](int32_t, int32_t) {},
        get,
        [] { record("iconify"); },
        [](int32_t x, int32_t y) { record("position " + std::to_string(x) + "," + std::to_string(y)); },
        [] { record("show"); },
        [] { record("hide"); },
        [](const char* title) { record(std::string("title ") + title); },
    };
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        zvs_global_init();
        glut_queue_global_init();
        glut_set_backend(&fake_window::backend);
        libzv_glut_set_up_for_tests(false);
        fake_window::calls.clear();
        fake_window::screen_width_misses = 0;
        runtime_flags_reset_for_tests();
        window_words_reset_for_tests();
        presenter_reset_for_tests();
        window_hooks_reset_for_tests();
        file_drop_reset_for_tests();
        title_reset_for_tests();
        keyboard_glut_reset_for_tests();
        clear_error();
    }
    void TearDown() override {
        stop_window_thread();
        libzv_glut_set_up_for_tests(false);
        glut_set_backend(nullptr);
    }

    // A window thread that runs the queue, as the idle callback does.
    void start_window_thread() {
        libzv_glut_set_up_for_tests(true);
        running = true;
        window_thread = std::thread([this] {
            while (running.load()) {
                libzv_process_glut_queue();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    void stop_window_thread() {
        running = false;
        if (window_thread.joinable()) window_thread.join();
    }
    static std::vector<std::string> calls() {
        libzv_process_glut_queue();
        std::lock_guard<std::mutex> hold(fake_window::lock);
        return fake_window::calls;
    }
    static std::string str(zvs* s) { return std::string(reinterpret_cast<char*>(s->text), size_t(s->length)); }
    static zvs* text(const char* t) { return zvs_new_txt(t); }

    std::atomic<bool> running{false};
    std::thread window_thread;
};

TEST_F(WindowTest, TitleBeforeTheWindowIsKeptForItsCreation) {
    EXPECT_EQ(str(func__title()), "");
    sub__title(text("first"));
    sub__title(text("abc"));
    EXPECT_STREQ(window_title_text(), "abc");
    EXPECT_EQ(str(func__title()), "abc");
    libzv_glut_set_up_for_tests(true);
    EXPECT_TRUE(calls().empty());  // nothing was queued before the window
    sub__title(text("shown"));
    EXPECT_EQ(calls(), (std::vector<std::string>{"title shown"}));
    error(5);
    sub__title(text("ignored"));
    EXPECT_STREQ(window_title_text(), "shown");
}

TEST_F(WindowTest, ScreenMoveNeedsAWindowAndAKnownMode) {
    sub__screenmove(10, 20, 2);
    EXPECT_EQ(new_error.load(), 5);
    clear_error();
    libzv_glut_set_up_for_tests(true);
    for (int32_t mode : {0, 3, 7}) {
        sub__screenmove(10, 20, mode);
        EXPECT_EQ(new_error.exchange(0), 5) << "mode " << mode;
    }
    full_screen = 1;
    sub__screenmove(10, 20, 2);
    full_screen = 0;
    sub__screenmove(10, 20, 2);
    EXPECT_EQ(calls(), (std::vector<std::string>{"position 10,20"}));
}

// X carries the window's position in 16 signed bits: a place beyond them is asked
// as the nearest one they hold, never wrapped onto the desktop.
TEST_F(WindowTest, ScreenMoveKeepsThePositionInSixteenSignedBits) {
    libzv_glut_set_up_for_tests(true);
    const struct {
        int32_t x, y;
        const char* asked;
    } cases[] = {
        {40000, -40000, "position 32767,-32768"},
        {-40000, 40000, "position -32768,32767"},
        {65636, 100, "position 32767,100"},
        {32767, -32768, "position 32767,-32768"},
        {-5, 700, "position -5,700"},
    };
    for (const auto& c : cases) {
        fake_window::calls.clear();
        sub__screenmove(c.x, c.y, 2);
        EXPECT_EQ(calls(), std::vector<std::string>{c.asked}) << c.x << "," << c.y;
    }
}

TEST_F(WindowTest, ScreenMoveMiddleCentresOnTheDesktopAfterTheWidthIsKnown) {
    fake_window::screen_width_misses = 3;
    start_window_thread();
    sub__screenmove(0, 0, 1);
    stop_window_thread();
    EXPECT_EQ(calls(), (std::vector<std::string>{"position 192,184"}));
}

// x less the left extent, y less the top extent: the border is not taken off twice.
TEST_F(WindowTest, ScreenPositionIsTheOuterCorner) {
    EXPECT_EQ(func__screenx(), 0);
    EXPECT_EQ(new_error.exchange(0), 5);
    libzv_glut_set_up_for_tests(true);
    libzv_process_glut_queue();  // caches the metrics
    EXPECT_EQ(func__screenx(), 46);
    EXPECT_EQ(func__screeny(), 36);
}

TEST_F(WindowTest, IconShowAndHidePostRequests) {
    sub_screenicon();
    EXPECT_EQ(new_error.exchange(0), 5);
    libzv_glut_set_up_for_tests(true);
    sub_screenicon();
    sub__screenhide();
    sub__screenhide();  // already hidden: nothing more
    EXPECT_EQ(func__screenhide(), -1);
    sub__screenshow();
    EXPECT_EQ(func__screenhide(), 0);
    EXPECT_EQ(calls(), (std::vector<std::string>{"iconify", "hide", "show"}));
    EXPECT_EQ(func_windowexists(), 1);
}

TEST_F(WindowTest, HandleAndFocusOnlyWithAWindow) {
    EXPECT_EQ(ORVO_Window_Handle(0x1234567), 0x1234567);
    EXPECT_EQ(window_handle, 0x1234567);
    EXPECT_EQ(generic_window_handle, 0x1234567);
    EXPECT_EQ(func__handle(), 0);
    EXPECT_EQ(func__hasfocus(), 0);
    libzv_glut_set_up_for_tests(true);
    EXPECT_EQ(func__handle(), 0x1234567);
    EXPECT_EQ(func__hasfocus(), -1);
    window_focus_changed(false);
    EXPECT_EQ(func__hasfocus(), 0);
    EXPECT_EQ(ORVO_Resizable(), 0);
}

TEST_F(WindowTest, FpsIsLimitedTo200AndMustBeAtLeast1) {
    sub__fps(500, 2);
    EXPECT_EQ(max_fps.load(), 200);
    sub__fps(30, 2);
    EXPECT_EQ(max_fps.load(), 30);
    sub__fps(0, 1);  // _AUTO
    EXPECT_EQ(max_fps.load(), 30);
    EXPECT_EQ(auto_fps.load(), 1);
    for (auto [value, mode] : {std::pair{0.5, 2}, {30.0, 3}, {30.0, 0}}) {
        sub__fps(value, mode);
        EXPECT_EQ(new_error.exchange(0), 5);
    }
    EXPECT_EQ(max_fps.load(), 30);
}

TEST_F(WindowTest, ResizeEventsAreOnlySeenWhileResizingIsOn) {
    resize_event = -1;
    resize_event_x = 800;
    resize_event_y = 600;
    EXPECT_EQ(func__resize(), 0);
    sub__resize(1, 2);
    EXPECT_EQ(resize_auto.load(), 2);
    EXPECT_EQ(func__resize(), -1);
    EXPECT_EQ(func__resize(), 0);
    EXPECT_EQ(func__resizewidth(), 800);
    EXPECT_EQ(func__resizeheight(), 600);
    sub__resize(2, 0);
    resize_event = -1;
    EXPECT_EQ(func__resize(), 0);
    EXPECT_EQ(func__scaledwidth(), 640);
    EXPECT_EQ(func__scaledheight(), 400);
}

TEST_F(WindowTest, FullScreenRequestsByMode) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 1}, {2, 1}, {3, 2}, {1, -1}, {4, -1}, {5, -1}};
    for (auto [mode, request] : cases) {
        full_screen_set = -1;
        sub__fullscreen(mode, 1);
        EXPECT_EQ(full_screen_set.load(), request) << "mode " << mode;
    }
    EXPECT_EQ(func__fullscreensmooth(), -1);
    sub__fullscreen(3, 0);
    EXPECT_EQ(func__fullscreen(), 2);
    EXPECT_EQ(func__fullscreensmooth(), 0);
    full_screen = 2;
    full_screen_set = -1;
    EXPECT_EQ(func__fullscreen(), 2);
}

TEST_F(WindowTest, AllowFullScreenCodes) {
    const int32_t mode_in[] = {0, 1, 2, 3, 4, 5}, mode_out[] = {0, 1, 2, -1, 0, -1};
    const int32_t smooth_in[] = {0, 1, 2, 3, 4}, smooth_out[] = {0, 1, -1, 0, -1};
    for (int i = 0; i < 6; ++i) {
        sub__allowfullscreen(mode_in[i], 0);
        EXPECT_EQ(fullscreen_allowedmode.load(), mode_out[i]) << "mode " << mode_in[i];
    }
    for (int i = 0; i < 5; ++i) {
        sub__allowfullscreen(0, smooth_in[i]);
        EXPECT_EQ(fullscreen_allowedsmooth.load(), smooth_out[i]) << "smooth " << smooth_in[i];
    }
}

TEST_F(WindowTest, CustomEventsCloseDropAndReportUnknownTypes) {
    EXPECT_EQ(orvo_custom_event(1, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(exit_value.load(), 1);
    exit_value = 2;
    window_destroyed();
    EXPECT_EQ(exit_value.load(), 3);
    EXPECT_EQ(orvo_custom_event(9, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr), -1);

    static std::atomic<int32_t> moved{0};
    window_set_relative_motion_sink([](int32_t dx, int32_t dy) { moved = dx * 100 + dy; });
    EXPECT_EQ(orvo_custom_event(3, 3, 4, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(moved.load(), 304);

    auto* drop = new drop_list{{"/tmp/a"}};
    EXPECT_EQ(orvo_custom_event(4, 0, 0, 0, 0, 0, 0, 0, 0, drop, nullptr), 0);
    EXPECT_EQ(func__totaldroppedfiles(), 1);
}

TEST_F(WindowTest, NativeKeysReachTheDeviceOnlyWithTheFocus) {
    static std::vector<std::pair<int32_t, bool>> seen;
    seen.clear();
    window_set_device_key_sink([](int32_t code, bool down) { seen.emplace_back(code, down); });
    window_native_key(30, true, native_key_kind::other);
    window_native_key(30, false, native_key_kind::other);
    keyboard_set_focus(false);
    window_native_key(31, true, native_key_kind::other);
    EXPECT_EQ(seen, (std::vector<std::pair<int32_t, bool>>{{30, true}, {30, false}}));
}

std::vector<std::string> names(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

TEST_F(WindowTest, ThreeDroppedFilesReadFourTimes) {
    file_drop_receive(new drop_list{names({"/a", "/b", "/c"})});
    EXPECT_EQ(func__totaldroppedfiles(), 3);
    EXPECT_EQ(str(func__droppedfile(0, 0)), "/a");
    EXPECT_EQ(str(func__droppedfile(0, 0)), "/b");
    EXPECT_EQ(str(func__droppedfile(0, 0)), "/c");
    EXPECT_EQ(func__totaldroppedfiles(), 0);
    EXPECT_EQ(str(func__droppedfile(0, 0)), "");
}

TEST_F(WindowTest, NewDropStartsAtItsFirstName) {
    file_drop_receive(new drop_list{names({"/a", "/b", "/c"})});
    EXPECT_EQ(str(func__droppedfile(0, 0)), "/a");
    file_drop_receive(new drop_list{names({"/x", "/y"})});
    EXPECT_EQ(str(func__droppedfile(0, 0)), "/x");
    sub__finishdrop();
    EXPECT_EQ(func__totaldroppedfiles(), 0);
    file_drop_receive(new drop_list{names({"/p", "/q"})});
    EXPECT_EQ(str(func__droppedfile(0, 0)), "/p");
}

TEST_F(WindowTest, DroppedFileByNumber) {
    file_drop_receive(new drop_list{names({"/a", "/b"})});
    EXPECT_EQ(str(func__droppedfile(2, 1)), "/b");
    EXPECT_EQ(func__totaldroppedfiles(), 2);  // reading by number never finishes the drop
    EXPECT_EQ(str(func__droppedfile(0, 0)), "");  // after the last name: finished
    EXPECT_EQ(func__totaldroppedfiles(), 0);
    file_drop_receive(new drop_list{names({"/a", "/b"})});
    EXPECT_EQ(str(func__droppedfile(3, 1)), "");
    EXPECT_EQ(func__totaldroppedfiles(), 2);
    EXPECT_EQ(str(func__droppedfile(0, 0)), "/a");
    EXPECT_EQ(str(func__droppedfile(-2147483647 - 1, 1)), "");
}

TEST_F(WindowTest, DroppedNameTooLongToFetchFinishesTheDrop) {
    file_drop_receive(new drop_list{{std::string(dropped_name_max + 1, 'x'), "/b"}});
    EXPECT_EQ(str(func__droppedfile(0, 0)), "");
    EXPECT_EQ(func__totaldroppedfiles(), 0);
}

TEST_F(WindowTest, AcceptFileDropNeedsTheWindow) {
    sub__filedrop(1);
    EXPECT_EQ(func__filedrop(), 0);
    ORVO_Window_Handle(77);
    sub__filedrop(0);
    EXPECT_EQ(func__filedrop(), -1);
    sub__filedrop(2);
    EXPECT_EQ(func__filedrop(), 0);
}

}  // namespace

namespace {

TEST(UriList, LocalFileUrisArePercentDecodedAndTheRestSkipped) {
    std::string list =
        "# a comment\r\n"
        "file:///tmp/a%20b.txt\r\n"
        "file://localhost/home/x%C3%BC\r\n"
        "file://otherhost/tmp/remote\r\n"
        "http://example.org/page\r\n"
        "file:///tmp/100%\r\n"
        "file:///tmp/nul%00byte\r\n"
        "\r\n"
        "file:///last/without/line/end";
    EXPECT_EQ(file_paths_from_uri_list(list),
              (std::vector<std::string>{"/tmp/a b.txt", "/home/x\xC3\xBC", "/tmp/100%", "/last/without/line/end"}));
    EXPECT_TRUE(file_paths_from_uri_list("").empty());
}

}  // namespace
