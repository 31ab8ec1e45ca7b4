// The window thread of a SCREEN 12 program under a real window (run under Xvfb, or
// any X display), the presenter paced at 60 frames a second and a producer thread
// calling display() every 32 ms as the housekeeping loop does:
// - idle: the page does not change (a program that sleeps): buffer swaps per second
//   and the CPU share of one core (the baseline) of the window thread and the process;
// - changing: one pixel changes before every producer call: window-thread CPU
//   milliseconds per presented frame and their ratio to a memcpy of the 1.2 MB frame
//   timed in the same run (window_frame_per_memcpy).
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <time.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "clock/clock.h"
#include "display/display.h"
#include "display/presenter.h"
#include "display/renderer.h"
#include "glut/glut_queue.h"
#include "image/hardware_queue.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "palette/palette.h"

namespace {

constexpr size_t frame_bytes = 640 * 480 * 4;

std::atomic<int64_t> swaps{0};

double cpu_ms(clockid_t id) {
    timespec ts;
    clock_gettime(id, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The window and an idle SCREEN 12 page, once; false without a display.
bool set_up() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!getenv("DISPLAY")) return false;
    XInitThreads();
    glut_queue_global_init();
    clock_init();
    palette_global_init();
    image_table_global_init();
    hardware_images_global_init();
    display_global_init();

    int argc = 1;
    char name[] = "bench_presenter";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(640, 480);
    glutCreateWindow("bench");
    if (glewInit() != GLEW_OK) return false;
    framebufferobjects_supported.store(glewIsSupported("GL_EXT_framebuffer_object"));
    renderer_window_start();
    static const presenter_window_ops counting{
        [](int32_t w, int32_t h) { glutReshapeWindow(w, h); }, glutPostRedisplay, [] { glutFullScreen(); },
        [] {
            glutSwapBuffers();
            swaps++;
        }};
    presenter_set_window_ops(&counting);
    glutDisplayFunc(GLUT_DISPLAY_REQUEST);
    glutReshapeFunc(GLUT_RESHAPE_FUNC);

    int32_t index = imgnew(640, 480, 12);
    img_struct* im = img_get(index);
    for (size_t i = 0; i < 640 * 480; i++) im->pixels[i] = static_cast<uint8_t>((i / 16) & 15);
    set_display_page(index);
    ready = 1;
    return true;
}

struct window_run {
    double seconds = 0, thread_ms = 0, process_ms = 0;
    int64_t frames = 0;
};

// Runs the window loop for the benchmark's iterations (3 s each) with a producer
// thread; change_page alters the page before every producer call.
window_run run_window(benchmark::State& state, bool change_page) {
    window_run run;
    std::atomic<bool> stop{false};
    img_struct* page = display_page();
    std::thread producer([&stop, page, change_page] {
        while (!stop.load()) {
            if (change_page) page->pixels[640 * 479] ^= 1;
            display();
            libzv_sleep_ms(32);
        }
    });
    // Settle: the first frame, the texture, the window size.
    int64_t settle = GetTicks() + 500;
    while (GetTicks() < settle) {
        glutMainLoopEvent();
        GLUT_IDLEFUNC();
    }
    for (auto _ : state) {
        int64_t first = swaps.load();
        double thread_start = cpu_ms(CLOCK_THREAD_CPUTIME_ID), process_start = cpu_ms(CLOCK_PROCESS_CPUTIME_ID);
        int64_t end = GetTicks() + 3000;
        while (GetTicks() < end) {
            glutMainLoopEvent();
            GLUT_IDLEFUNC();
        }
        run.seconds += 3;
        run.thread_ms += cpu_ms(CLOCK_THREAD_CPUTIME_ID) - thread_start;
        run.process_ms += cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - process_start;
        run.frames += swaps.load() - first;
    }
    stop.store(true);
    producer.join();
    return run;
}

void BM_PresenterIdleScreen12(benchmark::State& state) {
    if (!set_up()) {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    window_run run = run_window(state, false);
    state.counters["swaps_per_s"] = static_cast<double>(run.frames) / run.seconds;
    state.counters["window_cpu_share_of_a_core"] = run.thread_ms / (run.seconds * 1000);
    state.counters["process_cpu_share_of_a_core"] = run.process_ms / (run.seconds * 1000);
}

void BM_PresenterChangingScreen12(benchmark::State& state) {
    if (!set_up()) {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    window_run run = run_window(state, true);
    if (!run.frames) {
        state.SkipWithError("no frame was presented");
        return;
    }

    // The reference: one memcpy of the frame, timed here.
    std::vector<uint32_t> from(frame_bytes / 4, 0xFF336699), to(frame_bytes / 4);
    double copy_start = cpu_ms(CLOCK_THREAD_CPUTIME_ID);
    for (int i = 0; i < 200; i++) {
        memcpy(to.data(), from.data(), frame_bytes);
        benchmark::DoNotOptimize(to.data());
    }
    double memcpy_ms = (cpu_ms(CLOCK_THREAD_CPUTIME_ID) - copy_start) / 200;

    double frames = static_cast<double>(run.frames);
    state.counters["frames_per_s"] = frames / run.seconds;
    state.counters["window_cpu_ms_per_frame"] = run.thread_ms / frames;
    state.counters["process_cpu_ms_per_frame"] = run.process_ms / frames;
    state.counters["memcpy_frame_ms"] = memcpy_ms;
    state.counters["window_frame_per_memcpy"] = run.thread_ms / frames / memcpy_ms;
}

}  // namespace

BENCHMARK(BM_PresenterIdleScreen12)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresenterChangingScreen12)->Iterations(1)->Unit(benchmark::kMillisecond);
