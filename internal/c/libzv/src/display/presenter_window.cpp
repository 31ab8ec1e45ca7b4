// The window follows the frame: snap-back, auto-resize keeping the frame's aspect,
// full-screen transitions and the reshape callback.
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>

#include "clock/clock.h"
#include "display/presenter_internal.h"
#include "display/renderer.h"

std::atomic<int32_t> display_x{640};
std::atomic<int32_t> display_y{400};
std::atomic<int32_t> display_x_prev{640};
std::atomic<int32_t> display_y_prev{400};

std::atomic<int32_t> resize_snapback{1};
std::atomic<int32_t> resize_snapback_x{640};
std::atomic<int32_t> resize_snapback_y{400};
std::atomic<int32_t> resize_auto{0};
std::atomic<float> resize_auto_ideal_aspect{1.6f};
std::atomic<float> resize_auto_accept_aspect{1.6f};
std::atomic<int32_t> resize_pending{1};
std::atomic<int32_t> os_resize_event{0};
std::atomic<int32_t> resize_event{0};
std::atomic<int32_t> resize_event_x{0};
std::atomic<int32_t> resize_event_y{0};

std::atomic<int32_t> full_screen{0};
std::atomic<int32_t> full_screen_set{-1};
std::atomic<int32_t> fullscreen_smooth{0};

namespace {

// Window thread only.
int32_t geometry_requests = 0;

void glut_reshape(int32_t width, int32_t height) {
    glutReshapeWindow(width, height);
    geometry_requests++;
}
void glut_full_screen() {
    glutFullScreen();
    geometry_requests++;
}

constexpr presenter_window_ops glut_ops{glut_reshape, glutPostRedisplay, glut_full_screen, glutSwapBuffers};
std::atomic<const presenter_window_ops*> ops{&glut_ops};

// When the last window size was asked for (milliseconds).
int64_t pending_since = 0;
// Leaving full screen: freeglut restores the size from before full screen and drops
// the size asked for, so the frame size is asked for once more after that reshape.
bool reshape_after_leaving = false;

void request_window_size(int32_t width, int32_t height) {
    // X carries a window's size in 16 unsigned bits: a larger frame gets the largest
    // window, and the comparison below sees the size that is really asked for.
    width = std::clamp(width, 1, 65535);
    height = std::clamp(height, 1, 65535);
    // A request for the size the window has brings no reshape report, so it must
    // not leave a resize pending.
    if (width != display_x.load() || height != display_y.load()) {
        resize_pending.store(1);
        pending_since = GetTicks();
    }
    presenter_window().reshape_window(width, height);
    presenter_window().post_redisplay();
}

// A side that follows the frame's aspect, in the window's range (NaN: 1).
int32_t truncate_size(float v) { return v >= 1.0f ? (v < 65535.0f ? static_cast<int32_t>(v) : 65535) : 1; }

}  // namespace

int32_t presenter_window_geometry_requests() { return geometry_requests; }

const presenter_window_ops& presenter_window() { return *ops.load(std::memory_order_acquire); }

void presenter_set_window_ops(const presenter_window_ops* o) { ops.store(o ? o : &glut_ops, std::memory_order_release); }

void presenter_follow_frame_size(int32_t fw, int32_t fh) {
    bool changed = fw != resize_snapback_x.load() || fh != resize_snapback_y.load();
    float ideal = static_cast<float>(fw) / static_cast<float>(fh);
    resize_auto_ideal_aspect.store(ideal);
    resize_snapback_x.store(fw);
    resize_snapback_y.store(fh);
    int32_t dx = display_x.load(), dy = display_y.load();

    if (resize_auto.load() && dx > 0 && dy > 0) {
        float aspect = static_cast<float>(dx) / static_cast<float>(dy);
        if (aspect != resize_auto_accept_aspect.load() && aspect != ideal) {
            int32_t px = display_x_prev.load(), py = display_y_prev.load();
            bool keep_height;
            if (px == dx && py != dy)
                keep_height = true;
            else if (px != dx && py != dy)
                keep_height = std::abs(int64_t{dy} - py) >= std::abs(int64_t{dx} - px);
            else
                keep_height = false;
            int32_t w = dx, h = dy;
            if (keep_height)
                w = truncate_size(static_cast<float>(h) * ideal);
            else
                h = truncate_size(static_cast<float>(w) / ideal);
            resize_auto_accept_aspect.store(static_cast<float>(w) / static_cast<float>(h));
            request_window_size(w, h);
            return;
        }
    }
    if ((dx != fw || dy != fh) && (resize_snapback.load() || changed)) request_window_size(fw, fh);
}

void presenter_full_screen_transition(int32_t fw, int32_t fh) {
    if (resize_pending.load()) return;
    if (reshape_after_leaving) {
        reshape_after_leaving = false;
        if (full_screen.load() == 0 && (display_x.load() != fw || display_y.load() != fh)) {
            request_window_size(fw, fh);
            return;
        }
    }
    int32_t request = full_screen_set.load();
    if (request == -1) return;
    if (request == 0) {
        if (full_screen.load() != 0) {
            request_window_size(fw, fh);
            reshape_after_leaving = true;
        }
        full_screen.store(0);
    } else if (request == 1 || request == 2) {
        if (full_screen.load() == 0) presenter_window().full_screen();
        full_screen.store(request);
    }
    // A request made meanwhile stays for the next callback.
    full_screen_set.compare_exchange_strong(request, -1);
}

void presenter_expire_resize() {
    if (resize_pending.load() && GetTicks() - pending_since > 1000) resize_pending.store(0);
}

void presenter_window_reset() {
    display_x = 640, display_y = 400, display_x_prev = 640, display_y_prev = 400;
    resize_snapback = 1, resize_snapback_x = 640, resize_snapback_y = 400, resize_auto = 0;
    resize_auto_ideal_aspect = 1.6f, resize_auto_accept_aspect = 1.6f;
    resize_pending = 1, os_resize_event = 0, resize_event = 0, resize_event_x = 0, resize_event_y = 0;
    full_screen = 0, full_screen_set = -1, fullscreen_smooth = 0;
    pending_since = 0;
    reshape_after_leaving = false;
}

void GLUT_RESHAPE_FUNC(int width, int height) {
    resize_event_x.store(width);
    resize_event_y.store(height);
    resize_event.store(-1);
    display_x_prev.store(display_x.load());
    display_y_prev.store(display_y.load());
    display_x.store(width);
    display_y.store(height);
    resize_pending.store(0);
    os_resize_event.store(1);
    // The next view call rebuilds the projection for the new size.
    set_view(0);
}
