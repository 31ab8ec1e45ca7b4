// The window thread's cost per presented frame of an idle SCREEN 12 program: a real
// window (run under Xvfb, or any X display), the presenter paced at 60 frames a
// second, and a producer thread calling display() every 32 ms as the housekeeping
// loop does. Figures: window-thread and whole-process CPU milliseconds per presented
// frame, beside a plain memcpy of the 1.2 MB frame as the reference.
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

void BM_PresenterIdleScreen12(benchmark::State& state) {
    if (!set_up()) {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    std::atomic<bool> stop{false};
    // The housekeeping loop's rendering step: a producer call every 32 ms.
    std::thread producer([&stop] {
        while (!stop.load()) {
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
    double thread_ms = 0, process_ms = 0;
    int64_t frames = 0;
    for (auto _ : state) {
        int64_t first = swaps.load();
        double thread_start = cpu_ms(CLOCK_THREAD_CPUTIME_ID), process_start = cpu_ms(CLOCK_PROCESS_CPUTIME_ID);
        int64_t end = GetTicks() + 3000;
        while (GetTicks() < end) {
            glutMainLoopEvent();
            GLUT_IDLEFUNC();
        }
        thread_ms += cpu_ms(CLOCK_THREAD_CPUTIME_ID) - thread_start;
        process_ms += cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - process_start;
        frames += swaps.load() - first;
    }
    stop.store(true);
    producer.join();
    if (!frames) {
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

    state.counters["frames_per_s"] = static_cast<double>(frames) / (3.0 * static_cast<double>(state.iterations()));
    state.counters["window_cpu_ms_per_frame"] = thread_ms / static_cast<double>(frames);
    state.counters["process_cpu_ms_per_frame"] = process_ms / static_cast<double>(frames);
    state.counters["memcpy_frame_ms"] = memcpy_ms;
    state.counters["window_frame_per_memcpy"] = thread_ms / static_cast<double>(frames) / memcpy_ms;
}

}  // namespace

BENCHMARK(BM_PresenterIdleScreen12)->Iterations(1)->Unit(benchmark::kMillisecond);
