// The input devices: the keyboard and mouse queues as the window feeds them, the
// _DEVICE... functions that take and read them, and STICK / STRIG.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/traps.h"
#include "error/error.h"
#include "glut/window_hooks.h"
#include "input/device.h"
#include "input/device_feeders.h"
#include "input/device_functions.h"
#include "input/keyboard_glut.h"
#include "input/mouse_ring.h"
#include "input/stick_strig.h"
#include "string/zvs.h"

namespace {

constexpr int32_t GIVEN = 1, OMITTED = 0;

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        zvs_global_init();
        traps_reset_for_tests();
        window_hooks_reset_for_tests();
        keyboard_glut_reset_for_tests();
        mouse_reset_for_tests();
        devices_reset_for_tests();
        devices_start();
        keyboard_set_focus(true);
        clear_error();
    }

    // A native key event as the X layer reports it.
    static void native(int32_t evdev, bool down) { window_native_key(evdev, down, native_key_kind::other); }

    static std::string text(zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), size_t(s->length)); }

    // Every _DEVICEINPUT result until it answers 0.
    static std::vector<int32_t> take_all() {
        std::vector<int32_t> out;
        for (int32_t d = func__deviceinput(0, OMITTED); d; d = func__deviceinput(0, OMITTED)) out.push_back(d);
        return out;
    }

    static int32_t take_error() {
        int32_t e = new_error.load();
        clear_error();
        return e;
    }
};

TEST_F(DeviceTest, StartUpMakesKeyboardAndMouse) {
    EXPECT_EQ(func__devices(), 2);
    EXPECT_EQ(text(func__device(1, GIVEN)), "[KEYBOARD][BUTTON]");
    EXPECT_EQ(text(func__device(2, GIVEN)), "[MOUSE][BUTTON][AXIS][WHEEL]");
    EXPECT_EQ(func__lastbutton(1, GIVEN), 512);
    EXPECT_EQ(func__lastaxis(1, GIVEN), 0);
    EXPECT_EQ(func__lastbutton(2, GIVEN), 3);
    EXPECT_EQ(func__lastaxis(2, GIVEN), 2);
    EXPECT_EQ(func__lastwheel(2, GIVEN), 3);
    // Records of 4 x axes + 4 x wheels + buttons + the 8-byte event number, in 8s.
    EXPECT_EQ(device_event_size(1), 520);
    EXPECT_EQ(device_event_size(2), 32);
    EXPECT_EQ(traps_device_hooks().device_last(), 2);
    EXPECT_EQ(traps_device_hooks().controller_count(), 0);
}

TEST_F(DeviceTest, KeyPressAndReleaseAreTwoEventsAndRepeatsAddNone) {
    native(30, true);  // A
    native(30, true);  // auto-repeat: same value, no record
    native(30, false);
    EXPECT_EQ(func__deviceinput(1, GIVEN), -1);
    EXPECT_EQ(func__button(31, GIVEN), -1);
    EXPECT_EQ(func__buttonchange(31, GIVEN), -1);
    EXPECT_EQ(func__buttonchange(30, GIVEN), 0);
    EXPECT_EQ(func__deviceinput(1, GIVEN), -1);
    EXPECT_EQ(func__button(31, GIVEN), 0);
    EXPECT_EQ(func__buttonchange(31, GIVEN), 1);
    EXPECT_EQ(func__deviceinput(1, GIVEN), 0);
    // Nothing pending still selects the device.
    EXPECT_EQ(device_selected, 1);
    EXPECT_EQ(func__buttonchange(31, GIVEN), 1);
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(DeviceTest, KeysWithoutTheFocusAreNotRecorded) {
    keyboard_set_focus(false);
    native(30, true);
    EXPECT_EQ(func__deviceinput(1, GIVEN), 0);
}

TEST_F(DeviceTest, EventsOfDifferentDevicesComeInTheOrderTheyHappened) {
    GLUT_MOTION_FUNC(5, 5);
    native(30, true);
    GLUT_MouseButton_Down(1, 5, 5);
    EXPECT_EQ(take_all(), (std::vector<int32_t>{2, 1, 2}));
    EXPECT_EQ(func__deviceinput(0, OMITTED), 0);
    EXPECT_EQ(device_selected, -1);
}

TEST_F(DeviceTest, MouseButtonsAxesAndWheel) {
    GLUT_MouseButton_Down(3, 0, 0);
    ASSERT_EQ(func__deviceinput(2, GIVEN), -1);
    EXPECT_EQ(func__button(3, GIVEN), -1);
    EXPECT_EQ(func__button(0, OMITTED), 0);
    GLUT_MouseButton_Up(3, 0, 0);
    ASSERT_EQ(func__deviceinput(2, GIVEN), -1);
    EXPECT_EQ(func__buttonchange(3, GIVEN), 1);

    // The wheel clicks: -1 (up), then back to 0; buttons 4 and 5 add no button.
    GLUT_MOUSEWHEEL_FUNC(0, 1, 0, 0);
    ASSERT_EQ(func__deviceinput(2, GIVEN), -1);
    EXPECT_EQ(func__wheel(3, GIVEN), -1.0f);
    EXPECT_EQ(func__wheel(0, OMITTED), 0.0f);
    ASSERT_EQ(func__deviceinput(2, GIVEN), -1);
    EXPECT_EQ(func__wheel(3, GIVEN), 0.0f);
    EXPECT_EQ(func__deviceinput(2, GIVEN), 0);
    GLUT_MOUSEWHEEL_FUNC(0, -1, 0, 0);
    ASSERT_EQ(func__deviceinput(2, GIVEN), -1);
    EXPECT_EQ(func__wheel(3, GIVEN), 1.0f);
}

TEST_F(DeviceTest, MouseAxesSpanTheFrameFromMinusOneToOne) {
    struct {
        int32_t x, y, width, height;
        float ax, ay;
    } cases[] = {
        {0, 0, 641, 401, -1.0f, -1.0f},
        {640, 400, 641, 401, 1.0f, 1.0f},
        {320, 100, 641, 401, 0.0f, -0.5f},
        {-5, 999, 641, 401, -1.0f, 1.0f},  // clamped to the frame
        {3, 3, 0, 1, -1.0f, -1.0f},        // before the first frame: finite
    };
    for (const auto& c : cases) {
        device_mouse_motion(c.x, c.y, c.width, c.height);
        ASSERT_EQ(func__deviceinput(2, GIVEN), -1);
        EXPECT_EQ(func__axis(1, GIVEN), c.ax) << c.x;
        EXPECT_EQ(func__axis(2, GIVEN), c.ay) << c.y;
    }
}

TEST_F(DeviceTest, FullQueueKeepsTheNewestRecords) {
    for (int32_t i = 0; i < 1030; ++i) native(30, i % 2 == 0);
    {
        std::lock_guard<std::mutex> hold(device_mutex(1));
        EXPECT_EQ(device_queued(1), device_record_limit);
        // Records 0 .. 1023 hold events 6 .. 1029 in order.
        for (int32_t r = 0; r < device_record_limit; ++r) ASSERT_EQ(getDeviceEventNumber(1, r), r + 6);
        EXPECT_EQ(getDeviceEventButtonValue(1, device_record_limit - 1, 30), 0);  // 1029th: a release
    }
    int32_t taken = 0;
    while (func__deviceinput(1, GIVEN)) ++taken;
    EXPECT_EQ(taken, device_record_limit - 2);
    EXPECT_EQ(func__button(31, GIVEN), 0);
    native(30, true);
    std::lock_guard<std::mutex> hold(device_mutex(1));
    EXPECT_EQ(getDeviceEventNumber(1, 2), 1030);
}

TEST_F(DeviceTest, EvdevCodesBecomePcScancodes) {
    struct {
        int32_t evdev;
        bool ctrl;
        int32_t button;
    } cases[] = {
        {1, false, 1},         {30, false, 30},       {88, false, 88},       {69, false, 0x145},
        {96, false, 0x11C},    {97, false, 0x11D},    {98, false, 0x135},    {99, false, 0x137},
        {100, false, 0x138},   {102, false, 0x147},   {103, false, 0x148},   {104, false, 0x149},
        {105, false, 0x14B},   {106, false, 0x14D},   {107, false, 0x14F},   {108, false, 0x150},
        {109, false, 0x151},   {110, false, 0x152},   {111, false, 0x153},   {119, false, 0x45},
        {119, true, 0x146},    {125, false, 0x15B},   {126, false, 0x15C},   {127, false, 0x15D},
        {0, false, -1},        {89, false, -1},       {101, false, -1},      {112, false, -1},
        {128, false, -1},      {-8, false, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(device_keyboard_button(c.evdev, c.ctrl), c.button) << c.evdev;
}

TEST_F(DeviceTest, PauseWithCtrlIsBreakAndReleasesEvenAfterCtrl) {
    native(29, true);    // left Ctrl
    native(119, true);   // Break
    native(29, false);   // Ctrl let go first
    native(119, false);  // releases Break
    while (func__deviceinput(1, GIVEN)) {
    }
    EXPECT_EQ(func__button(0x146 + 1, GIVEN), 0);
    EXPECT_EQ(func__button(0x45 + 1, GIVEN), 0);
    EXPECT_EQ(func__button(29 + 1, GIVEN), 0);
}

TEST_F(DeviceTest, FocusInBringsShiftKeysUpToDate) {
    static bool right_down, left_down;
    auto reader = [](bool right) { return right ? right_down : left_down; };
    right_down = true;
    left_down = false;
    device_keyboard_focus_in(reader);
    device_keyboard_focus_in(reader);  // no change: nothing more
    ASSERT_EQ(func__deviceinput(1, GIVEN), -1);
    EXPECT_EQ(func__button(55, GIVEN), -1);
    EXPECT_EQ(func__button(43, GIVEN), 0);
    EXPECT_EQ(func__deviceinput(1, GIVEN), 0);
    right_down = false;
    left_down = true;
    device_keyboard_focus_in(reader);
    EXPECT_EQ(func__deviceinput(1, GIVEN), -1);
    EXPECT_EQ(func__deviceinput(1, GIVEN), -1);
    EXPECT_EQ(func__button(55, GIVEN), 0);
    EXPECT_EQ(func__button(43, GIVEN), -1);
}

TEST_F(DeviceTest, ArgumentErrors) {
    EXPECT_EQ(text(func__device(0, OMITTED)), "");  // nothing selected yet
    EXPECT_EQ(take_error(), 5);
    struct {
        const char* what;
        int32_t (*call)();
    } cases[] = {
        {"_BUTTON before any _DEVICEINPUT", [] { return func__button(1, GIVEN); }},
        {"_AXIS before any _DEVICEINPUT", [] { return int32_t(func__axis(0, OMITTED)); }},
        {"_LASTBUTTON of no device", [] { return func__lastbutton(0, OMITTED); }},
        {"_DEVICEINPUT(3)", [] { return func__deviceinput(3, GIVEN); }},
        {"_DEVICEINPUT(0)", [] { return func__deviceinput(0, GIVEN); }},
        {"_LASTAXIS(3)", [] { return func__lastaxis(3, GIVEN); }},
        {"_LASTWHEEL(0)", [] { return func__lastwheel(0, GIVEN); }},
        {"_BUTTON(513) on the keyboard", [] { func__deviceinput(1, GIVEN); return func__button(513, GIVEN); }},
        {"_BUTTON(0) on the keyboard", [] { func__deviceinput(1, GIVEN); return func__button(0, GIVEN); }},
        {"_BUTTONCHANGE(4) on the mouse", [] { func__deviceinput(2, GIVEN); return func__buttonchange(4, GIVEN); }},
        {"_AXIS(1) on the keyboard", [] { func__deviceinput(1, GIVEN); return int32_t(func__axis(1, GIVEN)); }},
        {"_WHEEL(4) on the mouse", [] { func__deviceinput(2, GIVEN); return int32_t(func__wheel(4, GIVEN)); }},
        {"STICK(-1)", [] { return func_stick(-1, 0, OMITTED); }},
        {"STICK(65536)", [] { return func_stick(65536, 0, OMITTED); }},
        {"STICK(0, 0)", [] { return func_stick(0, 0, GIVEN); }},
        {"STRIG(-1)", [] { return func_strig(-1, 0, OMITTED); }},
        {"STRIG(0, 65536)", [] { return func_strig(0, 65536, GIVEN); }},
    };
    for (const auto& c : cases) {
        clear_error();
        EXPECT_EQ(c.call(), 0) << c.what;
        EXPECT_EQ(take_error(), 5) << c.what;
    }
    EXPECT_EQ(text(func__device(3, GIVEN)), "");
    EXPECT_EQ(take_error(), 5);
}

TEST_F(DeviceTest, WithoutControllersStickIsCentredAndStrigReleased) {
    EXPECT_EQ(func_stick(0, 0, OMITTED), 128);
    EXPECT_EQ(func_stick(3, 2, GIVEN), 128);
    EXPECT_EQ(func_strig(0, 0, OMITTED), 0);
    EXPECT_EQ(func_strig(1, 0, OMITTED), 0);
    EXPECT_EQ(func_strig(0, 2, GIVEN), 0);
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(DeviceTest, PendingErrorMakesEveryFunctionAnswerZero) {
    native(30, true);
    error(7);
    EXPECT_EQ(func__devices(), 0);
    EXPECT_EQ(func__deviceinput(1, GIVEN), 0);
    EXPECT_EQ(device_selected, -1);
    EXPECT_EQ(new_error.load(), 7);
}

// A controller is part of the model even though no back end creates one here.
class ControllerTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        pad = devices_add({DEVICE_CONTROLLER, "[CONTROLLER][BUTTON][AXIS]", 4, 4, 0, "Pad"});
        ASSERT_EQ(pad, 3);
    }
    int32_t pad = 0;
};

TEST_F(ControllerTest, StickScalesAxesOfTheNewestRecord) {
    EXPECT_EQ(traps_device_hooks().controller_count(), 1);
    struct {
        float value;
        int32_t stick;
    } cases[] = {
        {-1.0f, 1},  {1.0f, 254},  {0.0f, 127},   {0.01f, 127}, {-0.0099f, 127},
        {-0.01f, 126}, {0.5f, 191}, {-0.5f, 63}, {0.02f, 130},
    };
    for (const auto& c : cases) {
        const float axes[4] = {c.value, 0.0f, 0.0f, c.value};
        device_post_axes(pad, 0, axes, 4);
        EXPECT_EQ(func_stick(0, 0, OMITTED), c.stick) << c.value;      // axis 1
        EXPECT_EQ(func_stick(1, 1, GIVEN), 127) << c.value;            // axis 2
        EXPECT_EQ(func_stick(1, 2, GIVEN), c.stick) << c.value;  // axis 4
    }
    EXPECT_EQ(func_stick(0, 3, GIVEN), 128);  // axis 5 does not exist
    EXPECT_EQ(func_stick(2, 0, OMITTED), 128);  // second controller does not exist
}

TEST_F(ControllerTest, StrigLatchesPressesAndCountsTraps) {
    onstrig(1).active.store(TRAP_ON);  // controller 1, button 2
    device_post_button(pad, 1, 1, true);
    device_post_button(pad, 1, 0, true);
    EXPECT_EQ(onstrig(1).count.load(), 1);
    EXPECT_EQ(func_strig(5, 0, OMITTED), 0);   // button 2 held now: released
    EXPECT_EQ(func_strig(4, 0, OMITTED), -1);  // pressed since last asked
    EXPECT_EQ(func_strig(4, 0, OMITTED), 0);   // reported once
    device_post_button(pad, 0, 1, true);
    EXPECT_EQ(func_strig(1, 0, OMITTED), -1);  // button 1 held
    EXPECT_EQ(func_strig(0, 1, GIVEN), -1);
    EXPECT_EQ(func_strig(2, 0, OMITTED), 0);   // controller 2
}

}  // namespace
