// The input-device table and its record queues (set-up, append, take).
#include "input/device.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/traps.h"

std::atomic<int32_t> device_last{0};
int32_t device_selected = -1;

namespace {

struct device_struct {
    int32_t used;
    int32_t type;
    char name[64];
    int32_t connected;
    int32_t lastbutton, lastaxis, lastwheel;
    int32_t capacity;
    int32_t queued;  // records in use, never below 2
    int32_t head;    // physical slot of record 0: the queue is a ring
    uint8_t* events;
    int32_t event_size;
    uint8_t strig_latch[256];
    const char* description;
    std::mutex lock;
};

// Index 0 unused. No destructor runs at exit: the mutex's is trivial.
device_struct devices[device_max + 1];
std::atomic<int64_t> device_event_index{0};

device_struct& dev(int32_t device) { return devices[device]; }

uint8_t* record_at(device_struct& d, int32_t record) {
    int64_t slot = (int64_t(d.head) + record) % d.capacity;
    return d.events + slot * d.event_size;
}

int32_t button_offset(const device_struct& d) { return 4 * (d.lastaxis + d.lastwheel); }

void set_up(device_struct& d) {
    d.event_size = (4 * d.lastaxis + 4 * d.lastwheel + d.lastbutton + 8 + 7) / 8 * 8;
    d.capacity = device_record_limit;
    delete[] d.events;
    d.events = new uint8_t[size_t(d.capacity) * size_t(d.event_size)]();
    d.head = 0;
    d.queued = 2;
    d.connected = 1;
    d.used = 1;
}

void clear(device_struct& d) {
    delete[] d.events;
    d.events = nullptr;
    d.used = d.type = d.connected = 0;
    d.name[0] = 0;
    d.lastbutton = d.lastaxis = d.lastwheel = 0;
    d.capacity = d.queued = d.head = d.event_size = 0;
    std::memset(d.strig_latch, 0, sizeof d.strig_latch);
    d.description = nullptr;
}

// Position of a device among the controllers (0-based), -1 for other kinds.
int32_t controller_index(int32_t device) {
    if (dev(device).type != DEVICE_CONTROLLER) return -1;
    int32_t index = 0;
    for (int32_t i = 1; i < device; ++i)
        if (dev(i).type == DEVICE_CONTROLLER) ++index;
    return index;
}

}  // namespace

int32_t devices_add(const device_description& desc) {
    int32_t n = device_last.load() + 1;
    if (n > device_max) return 0;
    device_struct& d = dev(n);
    std::lock_guard<std::mutex> hold(d.lock);
    clear(d);
    d.type = desc.type;
    std::snprintf(d.name, sizeof d.name, "%s", desc.name);
    d.lastbutton = std::clamp(desc.buttons, 0, 65535);
    d.lastaxis = std::clamp(desc.axes, 0, 65535);
    d.lastwheel = std::clamp(desc.wheels, 0, 65535);
    d.description = desc.description;
    set_up(d);
    device_last.store(n);
    return n;
}

void devices_global_init() {
    for (int32_t i = 0; i <= device_max; ++i) clear(dev(i));
    device_last.store(0);
    device_selected = -1;
    device_event_index.store(0);
}

std::mutex& device_mutex(int32_t device) { return dev(device).lock; }

int32_t createDeviceEvent(int32_t device) {
    device_struct& d = dev(device);
    if (d.queued == d.capacity) {
        // Full: the oldest record goes.
        d.head = (d.head + 1) % d.capacity;
        --d.queued;
    }
    int32_t index = d.queued;
    uint8_t* fresh = record_at(d, index);
    std::memcpy(fresh, record_at(d, index - 1), size_t(d.event_size));
    int64_t number = device_event_index.fetch_add(1);
    std::memcpy(fresh + d.event_size - 8, &number, 8);
    return index;
}

void commitDeviceEvent(int32_t device) { ++dev(device).queued; }

void setDeviceEventButtonValue(int32_t device, int32_t record, int32_t button, uint8_t value) {
    device_struct& d = dev(device);
    record_at(d, record)[button_offset(d) + button] = value;
}

void setDeviceEventAxisValue(int32_t device, int32_t record, int32_t axis, float value) {
    std::memcpy(record_at(dev(device), record) + 4 * axis, &value, 4);
}

void setDeviceEventWheelValue(int32_t device, int32_t record, int32_t wheel, float value) {
    device_struct& d = dev(device);
    std::memcpy(record_at(d, record) + 4 * (d.lastaxis + wheel), &value, 4);
}

uint8_t getDeviceEventButtonValue(int32_t device, int32_t record, int32_t button) {
    device_struct& d = dev(device);
    return record_at(d, record)[button_offset(d) + button];
}

float getDeviceEventAxisValue(int32_t device, int32_t record, int32_t axis) {
    float v;
    std::memcpy(&v, record_at(dev(device), record) + 4 * axis, 4);
    return v;
}

float getDeviceEventWheelValue(int32_t device, int32_t record, int32_t wheel) {
    device_struct& d = dev(device);
    float v;
    std::memcpy(&v, record_at(d, record) + 4 * (d.lastaxis + wheel), 4);
    return v;
}

int64_t getDeviceEventNumber(int32_t device, int32_t record) {
    device_struct& d = dev(device);
    int64_t v;
    std::memcpy(&v, record_at(d, record) + d.event_size - 8, 8);
    return v;
}

int32_t device_type_of(int32_t device) { return dev(device).type; }
const char* device_name(int32_t device) { return dev(device).name; }
const char* device_description_of(int32_t device) { return dev(device).description; }
int32_t device_buttons(int32_t device) { return dev(device).lastbutton; }
int32_t device_axes(int32_t device) { return dev(device).lastaxis; }
int32_t device_wheels(int32_t device) { return dev(device).lastwheel; }
int32_t device_queued(int32_t device) { return dev(device).queued; }
int32_t device_event_size(int32_t device) { return dev(device).event_size; }

bool device_strig_latch_take(int32_t device, int32_t button) {
    uint8_t& latch = dev(device).strig_latch[button];
    if (!latch) return false;
    latch = 0;
    return true;
}

void device_post_button(int32_t device, int32_t button, uint8_t value, bool only_if_changed) {
    device_struct& d = dev(device);
    if (button < 0 || button >= d.lastbutton) return;
    int32_t trap_slot = -1;
    {
        std::lock_guard<std::mutex> hold(d.lock);
        if (only_if_changed && getDeviceEventButtonValue(device, d.queued - 1, button) == value) return;
        int32_t record = createDeviceEvent(device);
        setDeviceEventButtonValue(device, record, button, value);
        commitDeviceEvent(device);
        if (value && d.type == DEVICE_CONTROLLER && button < 256) {
            d.strig_latch[button] = 1;
            int32_t c = controller_index(device);
            if (c < 256) trap_slot = c * 256 + button;
        }
    }
    if (trap_slot >= 0) onstrig_trigger(trap_slot);
}

void device_post_axes(int32_t device, int32_t first_axis, const float* values, int32_t count) {
    device_struct& d = dev(device);
    if (first_axis < 0 || first_axis + count > d.lastaxis) return;
    std::lock_guard<std::mutex> hold(d.lock);
    int32_t record = createDeviceEvent(device);
    for (int32_t i = 0; i < count; ++i) setDeviceEventAxisValue(device, record, first_axis + i, values[i]);
    commitDeviceEvent(device);
}

void device_post_wheel(int32_t device, int32_t wheel, float value) {
    device_struct& d = dev(device);
    if (wheel < 0 || wheel >= d.lastwheel) return;
    std::lock_guard<std::mutex> hold(d.lock);
    int32_t record = createDeviceEvent(device);
    setDeviceEventWheelValue(device, record, wheel, value);
    commitDeviceEvent(device);
}

bool device_take_event(int32_t device) {
    device_struct& d = dev(device);
    std::lock_guard<std::mutex> hold(d.lock);
    if (d.queued <= 2) return false;
    d.head = (d.head + 1) % d.capacity;
    --d.queued;
    return true;
}

int32_t device_with_oldest_event() {
    int32_t found = 0;
    int64_t lowest = 0;
    int32_t last = device_last.load();
    for (int32_t i = 1; i <= last; ++i) {
        device_struct& d = dev(i);
        std::lock_guard<std::mutex> hold(d.lock);
        if (d.queued <= 2) continue;
        int64_t number = getDeviceEventNumber(i, 2);
        if (!found || number < lowest) {
            found = i;
            lowest = number;
        }
    }
    return found;
}

void devices_reset_for_tests() {
    traps_set_device_hooks(nullptr);
    devices_global_init();
}
