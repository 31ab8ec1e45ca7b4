// ON KEY and ON STRIG trap tables and the counting of their events.
#include "core/traps.h"

#include "core/runtime_flags.h"

namespace {

constinit onkey_struct onkey_table[onkey_slots];
constinit onstrig_struct onstrig_table[onstrig_slots];

int32_t no_devices() { return 0; }
void no_enumeration() {}
const trap_device_hooks no_device_hooks{no_devices, no_enumeration, no_devices};
std::atomic<const trap_device_hooks*> device_hooks{&no_device_hooks};

void clear_onkey(onkey_struct& k) {
    k.id.store(0);
    k.pass.store(0);
    k.active.store(TRAP_OFF);
    k.count.store(0);
    k.keycode.store(0);
    k.keycode_alt.store(0);
    k.scancode.store(0);
    k.flags.store(0);
    k.text.store(nullptr);
}

template <class Slot>
void trigger(Slot& s) {
    uint8_t active = s.active.load();
    if (active == TRAP_ON) {
        trap_count_raise(s.count);
    } else if (active == TRAP_STOPPED) {
        s.count.store(1);
    } else {
        return;
    }
    zvevent_raise();
}

}  // namespace

std::atomic<int32_t> onkey_inprogress{0};
std::atomic<int32_t> onstrig_inprogress{0};
std::atomic<int32_t> sleep_break{0};
std::atomic<int32_t> key_event_occurred{0};
std::atomic<int32_t> strig_event_occurred{0};

onkey_struct& onkey(int32_t slot) { return onkey_table[slot]; }
onstrig_struct& onstrig(int32_t slot) { return onstrig_table[slot]; }

void onstrig_global_init() {
    for (auto& s : onstrig_table) {
        s.id.store(0);
        s.pass.store(0);
        s.active.store(TRAP_OFF);
        s.count.store(0);
    }
}

void onkey_global_init() {
    for (auto& k : onkey_table) clear_onkey(k);
}

void onkey_default_keys() {
    for (int32_t n = 1; n <= 10; ++n) onkey_table[n].keycode.store(0x3B00 + (n - 1) * 0x100);
    // The arrows, and their keypad forms as the alternate codes.
    const int32_t arrows[4][2] = {{0x4800, 100264}, {0x4B00, 100260}, {0x4D00, 100262}, {0x5000, 100258}};
    for (int32_t i = 0; i < 4; ++i) {
        onkey_table[11 + i].keycode.store(arrows[i][0]);
        onkey_table[11 + i].keycode_alt.store(arrows[i][1]);
    }
    onkey_table[30].keycode.store(0x8500);
    onkey_table[31].keycode.store(0x8600);
}

void trap_event_counter_lower(std::atomic<int32_t>& counter) {
    int32_t c = counter.load();
    while (c != 0 && !counter.compare_exchange_weak(c, int32_t(uint32_t(c) - 1u))) {
    }
}

void trap_count_raise(std::atomic<uint8_t>& count) {
    // A held key repeating while the program is busy must not wrap 255 to 0.
    uint8_t c = count.load();
    while (c < 255 && !count.compare_exchange_weak(c, uint8_t(c + 1))) {
    }
}

bool trap_count_take(std::atomic<uint8_t>& count) {
    uint8_t c = count.load();
    while (c > 0) {
        if (count.compare_exchange_weak(c, uint8_t(c - 1))) return true;
    }
    return false;
}

void onkey_trigger(int32_t slot) {
    if (slot >= 0 && slot < onkey_slots) trigger(onkey_table[slot]);
}

void onstrig_trigger(int32_t slot) {
    if (slot >= 0 && slot < onstrig_slots) trigger(onstrig_table[slot]);
}

void traps_set_device_hooks(const trap_device_hooks* hooks) { device_hooks.store(hooks ? hooks : &no_device_hooks); }
const trap_device_hooks& traps_device_hooks() { return *device_hooks.load(); }

void onkey_reset_handlers() {
    for (int32_t n = 1; n < onkey_slots; ++n) {
        onkey_struct& k = onkey_table[n];
        k.id.store(0);
        k.active.store(TRAP_OFF);
        k.count.store(0);
    }
    onkey_inprogress.store(0);
}

void traps_reset_for_tests() {
    onkey_global_init();
    onstrig_global_init();
    onkey_inprogress.store(0);
    onstrig_inprogress.store(0);
    sleep_break.store(0);
    key_event_occurred.store(0);
    strig_event_occurred.store(0);
    traps_set_device_hooks(nullptr);
}
