// ON KEY and ON STRIG trap tables: the records that the keyboard, the device layer,
// the KEY statements and the trap statements share, and how events are counted.
// The trap statements, their dispatch and the timers are compiled with each program.
#pragma once
#include <atomic>
#include <cstdint>

struct zvs;

// Active state of every trap.
enum trap_active : uint8_t {
    TRAP_OFF = 0,      // events are not counted
    TRAP_ON = 1,       // events are counted and handled
    TRAP_STOPPED = 2,  // one event is remembered, handled once the trap is on again
};

// The window thread counts key events while the program thread sets traps up and
// consumes the counts: every field another thread reads is atomic.
struct onkey_struct {
    std::atomic<int32_t> id{0};            // handler id; 0 = no handler
    std::atomic<int64_t> pass{0};          // value passed to the handler
    std::atomic<uint8_t> active{0};        // trap_active
    std::atomic<uint8_t> count{0};         // pending events, at most 255
    std::atomic<int32_t> keycode{0};       // key code that triggers the slot
    std::atomic<int32_t> keycode_alt{0};   // second key code (keypad form of the arrows)
    std::atomic<uint8_t> scancode{0};      // scan code of a user-defined key
    std::atomic<uint8_t> flags{0};         // shift-state flags of a user-defined key
    std::atomic<zvs*> text{nullptr};       // soft-key text of KEY n
};

struct onstrig_struct {
    std::atomic<int32_t> id{0};
    std::atomic<int64_t> pass{0};
    std::atomic<uint8_t> active{0};
    std::atomic<uint8_t> count{0};
};

constexpr int32_t onkey_slots = 32;      // slot 0 is not used by ON KEY
constexpr int32_t onstrig_slots = 65536;  // (controller - 1) * 256 + (button - 1)

onkey_struct& onkey(int32_t slot);      // 0 .. 31
onstrig_struct& onstrig(int32_t slot);  // 0 .. 65535

// Guards against re-entering a KEY or STRIG handler from its own boundaries.
extern std::atomic<int32_t> onkey_inprogress;
extern std::atomic<int32_t> onstrig_inprogress;
// Set to end a SLEEP early: by every key press and after a timer handler.
extern std::atomic<int32_t> sleep_break;

// Start-up: zeroed tables.
void onstrig_global_init();
void onkey_global_init();
// Start-up: the key codes of slots 1 to 14, 30 and 31 (F1..F10, the arrows with
// their keypad forms, F11, F12).
void onkey_default_keys();

// Triggers a slot: on, its count rises by one (saturating at 255, never wrapping to
// 0); stopped, it remembers one event. The count is published before the boundary
// flag is raised. Any thread.
void onkey_trigger(int32_t slot);
void onstrig_trigger(int32_t slot);

// Event counters of the key and strig traps (the timer's lives with the timer
// table): the main module's prologue lowers each by one when it is not zero.
extern std::atomic<int32_t> key_event_occurred;
extern std::atomic<int32_t> strig_event_occurred;
// Lowers an event counter by one unless it is 0; atomic.
void trap_event_counter_lower(std::atomic<int32_t>& counter);

// Count helpers of the trap statements: atomic, never below 0 or above 255.
void trap_count_raise(std::atomic<uint8_t>& count);
// One pending event taken: true when there was one.
bool trap_count_take(std::atomic<uint8_t>& count);

// What ON STRIG needs of the device layer; until it registers, no device exists.
struct trap_device_hooks {
    int32_t (*device_last)();       // devices set up so far
    void (*enumerate_devices)();    // _DEVICES
    int32_t (*controller_count)();  // devices of the controller kind
};
void traps_set_device_hooks(const trap_device_hooks* hooks);  // nullptr: none
const trap_device_hooks& traps_device_hooks();

// RUN without a file: no slot has a handler, is active or has events pending.
void onkey_reset_handlers();

// Clean tables and hooks (tests).
void traps_reset_for_tests();
