// The demo as a user runs it, started afresh for each iteration: the time from start
// to its window being mapped and to its first frame on screen (the light cyan
// counter), and the CPU it uses while it sleeps between redraws. Needs an X display
// (run under xvfb-run); prints nothing measured without one. Figures are medians
// over the iterations:
// - cpu_share_of_a_core: CPU time per second of sleep over one core fully busy
//   (the baseline; goal below 0.05);
// - first_frame_ms (goal below 150) and first_frame_per_window_map, its ratio to
//   the time the window was mapped in the same run (the earliest a frame can show).
// ZV_DEMO_PATH names another build of the demo to measure.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

double now_ms() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// CPU time (user + system) of a process in milliseconds.
double process_cpu_ms(pid_t pid) {
    std::string path = "/proc/" + std::to_string(pid) + "/stat";
    FILE* f = fopen(path.c_str(), "r");
    if (!f) return 0;
    char buffer[1024];
    size_t n = fread(buffer, 1, sizeof buffer - 1, f);
    fclose(f);
    buffer[n] = 0;
    // Fields 14 and 15 (utime, stime) follow the command name in parentheses.
    const char* p = strrchr(buffer, ')');
    unsigned long utime = 0, stime = 0;
    if (!p || sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2) return 0;
    return double(utime + stime) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// The demo's window once it is mapped (a viewable top-level window at least 640
// wide), or None.
Window demo_window(Display* display) {
    Window root_return, parent, found = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root_return, &parent, &children, &count)) return None;
    for (unsigned int i = 0; i < count && found == None; i++) {
        XWindowAttributes a;
        if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable && a.width >= 640)
            found = children[i];
    }
    if (children) XFree(children);
    return found;
}

// The window shows the light cyan frame counter.
bool first_frame_shown(Display* display, Window window) {
    XImage* image = XGetImage(display, window, 8, 16, 120, 16, AllPlanes, ZPixmap);
    if (!image) return false;
    bool shown = false;
    for (int y = 0; y < 16 && !shown; y++)
        for (int x = 0; x < 120 && !shown; x++) shown = (XGetPixel(image, x, y) & 0xFFFFFF) == 0x55FFFF;
    XDestroyImage(image);
    return shown;
}

int ignore_x_error(Display*, XErrorEvent*) { return 0; }

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void BM_DemoStartAndIdle(benchmark::State& state) {
    Display* display = getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!display) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    // A window may go away between the query and the capture.
    XSetErrorHandler(ignore_x_error);
    const char* other = getenv("ZV_DEMO_PATH");
    std::string path = other && *other ? other : ZV_DEMO;
    std::vector<double> mapped, first_frame, idle_share;
    for (auto _ : state) {
        std::vector<char> program(path.begin(), path.end());
        program.push_back(0);
        char* argv[] = {program.data(), nullptr};
        pid_t pid;
        double start = now_ms();
        if (posix_spawn(&pid, program.data(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the demo");
            break;
        }
        Window window = None;
        double map_ms = 0;
        for (;;) {
            double t = now_ms() - start;
            if (t > 10000) break;
            if (window == None && (window = demo_window(display)) != None) map_ms = t;
            if (window != None && first_frame_shown(display, window)) {
                mapped.push_back(map_ms);
                first_frame.push_back(t);
                break;
            }
            usleep(1000);
        }
        // Between redraws: the demo redraws once a second and sleeps in between.
        usleep(500000);
        double cpu_before = process_cpu_ms(pid), t_before = now_ms();
        usleep(3000000);
        idle_share.push_back((process_cpu_ms(pid) - cpu_before) / (now_ms() - t_before));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    XCloseDisplay(display);
    if (first_frame.empty()) {
        state.SkipWithError("no frame was seen");
        return;
    }
    state.counters["window_mapped_ms"] = median(mapped);
    state.counters["first_frame_ms"] = median(first_frame);
    state.counters["first_frame_per_window_map"] = median(first_frame) / median(mapped);
    state.counters["cpu_share_of_a_core"] = median(idle_share);
}

BENCHMARK(BM_DemoStartAndIdle)->Iterations(7)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
