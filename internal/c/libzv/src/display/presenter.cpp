// The display and idle callbacks: pacing, the hand-over of the newest frame, and the
// layers drawn in display order.
#include "display/presenter.h"

#include <cmath>

#include "clock/clock.h"
#include "core/statement_flags.h"
#include "display/display.h"
#include "display/display_frame.h"
#include "display/hardware_replay.h"
#include "display/presenter_environment.h"
#include "display/presenter_internal.h"
#include "display/renderer.h"
#include "draw/rounding.h"
#include "image/hardware_queue.h"
#include "platform/alert.h"

std::atomic<double> max_fps{60.0};
std::atomic<int32_t> requestedKeyboardOverlayImage{0};

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Keeps the display callback from re-entering itself.
bool busy = false;
// The hardware image of the software frame shown, and the order of that frame.
int32_t screen_frame = 0;
int64_t screen_frame_order = 0;
// The 1 x 1 black image the letterbox bars are drawn with.
int32_t letterbox_image = 0;
// Pacing: tick mark and millisecond deficit.
int64_t pace_mark = 0;
double pace_deficit = 0;

// The words besides the frame that decide what a callback draws. A callback whose
// frame, hardware commands and these words are those of the picture on screen would
// draw that picture again, so it returns without drawing.
struct presenter_look {
    int32_t screen, hardware, hardware1, overlay;
    int32_t full_screen, fullscreen_smooth, resize_auto, resize_snapback;
    bool operator==(const presenter_look&) const = default;
};

presenter_look look_now() {
    return {displayorder_screen.load(relaxed),    displayorder_hardware.load(relaxed),
            displayorder_hardware1.load(relaxed), requestedKeyboardOverlayImage.load(relaxed),
            full_screen.load(),                   fullscreen_smooth.load(),
            resize_auto.load(),                   resize_snapback.load()};
}

// What the picture on screen was drawn from (window thread only).
presenter_look shown_look{};
// The picture shows hardware commands of its frame order, which a later order drops.
bool shown_hardware_draws = false;
// The last picture drawn was not swapped in (Pause held the program).
bool drawn_not_swapped = false;
// The window system lost the window's contents (an uncovered window).
bool exposed = false;

struct frame_choice {
    display_frame_record* current;
    display_frame_record* newest;
};

// The newest ready frame above the one shown becomes shown, older ready or shown
// frames free. The producer may take a ready slot back meanwhile: then choose again.
frame_choice take_newest_frame() {
    for (;;) {
        display_frame_record* current = nullptr;
        for (int32_t i = 0; i < display_frame_count; i++)
            if (display_frame_slot(i)->state.load(std::memory_order_acquire) == FRAME_SHOWN)
                current = display_frame_slot(i);
        int64_t floor = current ? current->order.load(relaxed) : 0;
        display_frame_record* newest = nullptr;
        int64_t newest_order = 0;
        for (int32_t i = 0; i < display_frame_count; i++) {
            display_frame_record* slot = display_frame_slot(i);
            if (slot->state.load(std::memory_order_acquire) != FRAME_READY) continue;
            int64_t order = slot->order.load(relaxed);
            if (order > floor && (!newest || order > newest_order)) {
                newest = slot;
                newest_order = order;
            }
        }
        if (!newest) return {current, current};
        if (!display_frame_transition(newest, FRAME_READY, FRAME_SHOWN)) continue;
        newest_order = newest->order.load(relaxed);
        for (int32_t i = 0; i < display_frame_count; i++) {
            display_frame_record* slot = display_frame_slot(i);
            if (slot == newest || slot->order.load(relaxed) >= newest_order) continue;
            if (display_frame_transition(slot, FRAME_READY, FRAME_FREE)) {
                // The producer may have refilled the slot with a newer frame between
                // the order read and the exchange: that frame goes back to ready.
                if (slot->order.load(relaxed) > newest_order) display_frame_transition(slot, FRAME_FREE, FRAME_READY);
            } else {
                display_frame_transition(slot, FRAME_SHOWN, FRAME_FREE);
            }
        }
        return {current, newest};
    }
}

void draw_software_screen(const display_frame_record* frame, int32_t layer) {
    int64_t order = frame->order.load(relaxed);
    // Rebuilt whenever the frame differs from the one the image was made from, also
    // after frames went by while the software layer was not drawn.
    if (screen_frame && screen_frame_order != order) {
        free_hardware_img(screen_frame);
        screen_frame = 0;
    }
    if (!screen_frame) {
        int32_t index = new_hardware_img(frame->w, frame->h, frame->pixels, 0);
        if (!index) {
            gui_alert("Invalid software_screen_hardware_frame!!", "Error", "ok");
            return;
        }
        if (!hardware_img_at(index)) {
            gui_alert("Invalid software_screen_hardware_frame!", "Error", "ok");
            return;
        }
        screen_frame = index;
        screen_frame_order = order;
    }
    // Opaque at the bottom; blended by its alpha over earlier layers.
    hardware_img_put(0, 0, frame->w - 1, frame->h - 1, screen_frame, 0, 0, 0, frame->w - 1, frame->h - 1, layer > 1,
                     environment_2d__screen_smooth.load(relaxed));
    hardware_buffer_flush();
}

void replay_layer(hardware_replay_callback& walk, int64_t frame_order, int32_t layer) {
    hardware_commands_replay(walk, frame_order, layer, renderer_command_executor());
    hardware_buffer_flush();
}

// Black over the window area outside the screen, drawn in screen coordinates.
void draw_letterbox(int32_t screen_width, int32_t screen_height) {
    int32_t kind = environment_2d__letterbox.load(relaxed);
    if (!kind) return;
    if (!letterbox_image || !hardware_img_at(letterbox_image)) {
        static const uint32_t black = 0;
        letterbox_image = new_hardware_img(1, 1, const_cast<uint32_t*>(&black), 0);
        if (!letterbox_image) return;
    }
    if (kind == 1) {
        float x1 = static_cast<float>(environment_2d__screen_x1.load(relaxed));
        float xs = environment_2d__screen_x_scale.load(relaxed);
        float w = static_cast<float>(environment__window_width.load(relaxed));
        int32_t left = truncate_float_to_int32(-x1 / xs - 1.0f);
        int32_t right = truncate_float_to_int32((w - x1 - 1.0f) / xs + 1.0f);
        hardware_img_put(left, 0, -1, screen_height - 1, letterbox_image, 0, 0, 0, 0, 0, 0, 0);
        hardware_img_put(screen_width, 0, right, screen_height - 1, letterbox_image, 0, 0, 0, 0, 0, 0, 0);
    } else {
        float y1 = static_cast<float>(environment_2d__screen_y1.load(relaxed));
        float ys = environment_2d__screen_y_scale.load(relaxed);
        float h = static_cast<float>(environment__window_height.load(relaxed));
        int32_t top = truncate_float_to_int32(-y1 / ys - 1.0f);
        int32_t bottom = truncate_float_to_int32((h - y1 - 1.0f) / ys + 1.0f);
        hardware_img_put(0, top, screen_width - 1, -1, letterbox_image, 0, 0, 0, 0, 0, 0, 0);
        hardware_img_put(0, screen_height, screen_width - 1, bottom, letterbox_image, 0, 0, 0, 0, 0, 0, 0);
    }
    hardware_buffer_flush();
}

void draw_overlay(int32_t screen_width, int32_t screen_height) {
    int32_t handle = requestedKeyboardOverlayImage.load(relaxed);
    if (!handle) return;
    hardware_img_struct* hw = get_hardware_img(handle);
    if (!hw) return;
    hardware_img_put(0, 0, screen_width - 1, screen_height - 1, get_hardware_img_index(handle), 0, 0, 0, hw->w - 1,
                     hw->h - 1, 1, 0);
    hardware_buffer_flush();
}

// Returns whether a hardware command of the frame order was drawn on screen.
bool draw_layers(const display_frame_record* frame, int64_t frame_order) {
    renderer_clear_window();
    // One reading of the order serves the whole callback.
    int32_t screen = displayorder_screen.load(relaxed);
    int32_t hardware = displayorder_hardware.load(relaxed);
    int32_t hardware1 = displayorder_hardware1.load(relaxed);
    hardware_replay_callback walk;
    for (int32_t layer = 1; layer <= 4; layer++) {
        if (screen == layer) draw_software_screen(frame, layer);
        if (hardware == layer) replay_layer(walk, frame_order, HARDWARE_LAYER_MAIN);
        if (hardware1 == layer) replay_layer(walk, frame_order, HARDWARE_LAYER_SECOND);
    }
    // Frees and work aimed at hardware images run even when no hardware layer is shown.
    if (!walk.layers_replayed) replay_layer(walk, frame_order, HARDWARE_LAYER_NONE);
    draw_letterbox(frame->w, frame->h);
    return walk.drew_on_screen;
}

// Step 5: something to show that the window does not show yet. A producer call
// that found the page unchanged still publishes a new order; that alone changes
// the picture only when hardware commands wait for it or the picture on screen
// holds hardware drawing of an older order.
bool something_new(bool new_frame, int64_t frame_order, const presenter_look& look) {
    if (new_frame || exposed || full_screen_set.load() != -1 || os_resize_event.load()) return true;
    if (drawn_not_swapped && !suspend_program.load(relaxed)) return true;
    if (!(look == shown_look)) return true;
    if (last_rendered_hardware_display_frame_order.load(std::memory_order_acquire) == frame_order) return false;
    return shown_hardware_draws || hardware_commands_waiting(frame_order);
}

// The window lost its contents and nothing else changed: the picture on screen,
// hardware drawing included, is the kept one.
bool only_uncovered(bool new_frame, int64_t frame_order, const presenter_look& look) {
    return exposed && shown_hardware_draws && !new_frame && full_screen_set.load() == -1 && !os_resize_event.load() &&
           !drawn_not_swapped && !suspend_program.load(relaxed) && look == shown_look &&
           last_rendered_hardware_display_frame_order.load(std::memory_order_acquire) == frame_order;
}

void present() {
    presenter_expire_resize();
    frame_choice frames = take_newest_frame();
    display_frame_record* newest = frames.newest;
    if (!newest) return;
    // The hardware commands replayed are those of this order, read once.
    int64_t frame_order = last_hardware_display_frame_order.load(std::memory_order_acquire);
    bool new_frame = newest != frames.current;
    // Read before drawing: a change made during the draw brings another callback.
    presenter_look look = look_now();
    if (!something_new(new_frame, frame_order, look)) return;
    if (only_uncovered(new_frame, frame_order, look) &&
        renderer_restore_window(display_x.load(), display_y.load())) {
        exposed = false;
        presenter_window().swap_buffers();
        return;
    }
    exposed = false;

    int32_t fw = newest->w, fh = newest->h;
    environment_2d__screen_width.store(fw, relaxed);
    environment_2d__screen_height.store(fh, relaxed);
    os_resize_event.store(0);
    if (full_screen.load() == 0 && full_screen_set.load() == -1) presenter_follow_frame_size(fw, fh);
    presenter_full_screen_transition(fw, fh);

    int32_t window_width = display_x.load(), window_height = display_y.load();
    environment__window_width.store(window_width, relaxed);
    environment__window_height.store(window_height, relaxed);
    environment_2d_publish(prepare_environment_2d(window_width, window_height, fw, fh, full_screen.load(),
                                                  fullscreen_smooth.load(), resize_auto.load()));

    shown_hardware_draws = draw_layers(newest, frame_order);
    draw_overlay(fw, fh);
    // Hardware drawing cannot be replayed: the picture that holds some is kept.
    if (shown_hardware_draws)
        renderer_keep_window(window_width, window_height);
    else
        renderer_forget_kept_window();
    shown_look = look;
    last_rendered_hardware_display_frame_order.store(frame_order, std::memory_order_release);
    // While Pause holds the program the window keeps its last picture.
    drawn_not_swapped = suspend_program.load(relaxed) != 0;
    if (!drawn_not_swapped) presenter_window().swap_buffers();
}

}  // namespace

int32_t software_screen_hardware_frame() { return screen_frame; }

void presenter_window_exposed() { exposed = true; }

void GLUT_DISPLAY_REQUEST() {
    if (busy) return;
    busy = true;
    present();
    busy = false;
}

void presenter_pace() {
    double fps = max_fps.load(relaxed);
    if (!(fps > 0) || !std::isfinite(fps)) fps = 60.0;
    double period = 1000.0 / fps;
    int64_t now = GetTicks();
    pace_deficit += period - static_cast<double>(now - pace_mark);
    pace_mark = now;
    if (pace_deficit > 0) {
        libzv_sleep_ms(static_cast<int64_t>(pace_deficit));
        now = GetTicks();
        pace_deficit -= static_cast<double>(now - pace_mark);
        pace_mark = now;
    } else if (pace_deficit < -period) {
        // At most one period of backlog is carried.
        pace_deficit += std::ceil((-period - pace_deficit) / period) * period;
    }
}

void GLUT_IDLEFUNC() {
    presenter_pace();
    presenter_window().post_redisplay();
}

void presenter_reset_for_tests() {
    presenter_window_reset();
    max_fps.store(60.0);
    requestedKeyboardOverlayImage.store(0);
    displayorder_screen.store(1);
    displayorder_hardware.store(2);
    displayorder_glrender.store(3);
    displayorder_hardware1.store(4);
    busy = false;
    screen_frame = 0;
    screen_frame_order = 0;
    letterbox_image = 0;
    pace_mark = 0;
    pace_deficit = 0;
    shown_look = {};
    shown_hardware_draws = false;
    drawn_not_swapped = false;
    exposed = false;
    environment_2d_reset();
    presenter_set_window_ops(nullptr);
}
