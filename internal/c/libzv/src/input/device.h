// The generic input-device model: one queue of state records per device, appended by
// the window thread (keyboard, mouse) and taken by the program thread (_DEVICEINPUT).
//
// Each record holds the device's complete state (axes and wheels as floats, buttons
// as bytes) and a global event number in its last 8 bytes. Record 0 is the previous
// state, record 1 the current one, records 2 and up are events not yet taken.
// Every device has a mutex of its own: writers hold it from createDeviceEvent to
// commitDeviceEvent, the program thread while it takes or reads records.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>

enum device_type : int32_t { DEVICE_CONTROLLER = 1, DEVICE_KEYBOARD = 2, DEVICE_MOUSE = 3 };

constexpr int32_t device_max = 1000;
// Records of one device: all allocated at set-up, so an append never allocates or
// moves the buffer under a reader; beyond it the oldest record is dropped.
constexpr int32_t device_record_limit = 1024;

// Devices in use (1 .. device_last); 0 before start-up set them up.
extern std::atomic<int32_t> device_last;
// The device chosen by the last _DEVICEINPUT, -1 when none. Program thread.
extern int32_t device_selected;

struct device_description {
    device_type type;
    const char* name;  // e.g. "[MOUSE][BUTTON][AXIS][WHEEL]"
    int32_t buttons, axes, wheels;
    const char* description;
};

// Adds a device set up with two zeroed records; returns its number, 0 when the table
// is full. Start-up only (before any feeder runs).
int32_t devices_add(const device_description& d);

// Start-up: every record unused, no device, nothing selected.
void devices_global_init();
// Start-up: device 1 the keyboard (512 buttons), device 2 the mouse (3 buttons,
// 2 axes, 3 wheels); the window's key stream and the ON STRIG hooks are connected.
void devices_start();

// The device's lock (1 .. device_last).
std::mutex& device_mutex(int32_t device);

// With device_mutex held. createDeviceEvent returns the index of a new record (a
// copy of the newest, with the next event number) that becomes visible with
// commitDeviceEvent. Indices are 0-based.
int32_t createDeviceEvent(int32_t device);
void commitDeviceEvent(int32_t device);
void setDeviceEventButtonValue(int32_t device, int32_t record, int32_t button, uint8_t value);
void setDeviceEventAxisValue(int32_t device, int32_t record, int32_t axis, float value);
void setDeviceEventWheelValue(int32_t device, int32_t record, int32_t wheel, float value);
uint8_t getDeviceEventButtonValue(int32_t device, int32_t record, int32_t button);
float getDeviceEventAxisValue(int32_t device, int32_t record, int32_t axis);
float getDeviceEventWheelValue(int32_t device, int32_t record, int32_t wheel);
int64_t getDeviceEventNumber(int32_t device, int32_t record);

// Device fields (set once at set-up; queued under the device's mutex).
int32_t device_type_of(int32_t device);
const char* device_name(int32_t device);
const char* device_description_of(int32_t device);
int32_t device_buttons(int32_t device);
int32_t device_axes(int32_t device);
int32_t device_wheels(int32_t device);
int32_t device_queued(int32_t device);  // never below 2; with the mutex held
int32_t device_event_size(int32_t device);

// Controller button STRIG latches (set on a press, cleared when STRIG reports it).
// With the mutex held.
bool device_strig_latch_take(int32_t device, int32_t button);

// One state change appended as a complete record. With only_if_changed the record
// is skipped when the value equals the newest one's. A controller's button press
// also sets its STRIG latch and counts its ON STRIG trap. Any feeding thread.
void device_post_button(int32_t device, int32_t button, uint8_t value, bool only_if_changed);
void device_post_axes(int32_t device, int32_t first_axis, const float* values, int32_t count);
void device_post_wheel(int32_t device, int32_t wheel, float value);

// Takes the oldest pending record of the device: the current becomes the previous
// and the oldest pending the current. False when none is pending. Program thread.
bool device_take_event(int32_t device);
// The device whose oldest pending record has the lowest event number; 0 when none.
int32_t device_with_oldest_event();

// Every device unused and no event numbered yet (tests).
void devices_reset_for_tests();
