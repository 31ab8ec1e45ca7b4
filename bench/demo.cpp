// The demo as a user runs it: the time from start to its first frame on screen, and
// the CPU it uses per second while it sleeps between redraws. Needs an X display
// (run under xvfb-run); prints nothing measured without one. Reference: one core
// fully busy is 1000 ms of CPU per second.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

// The demo's window, once it is mapped and shows its light cyan counter.
bool first_frame_shown(Display* display) {
    Window root_return, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    bool shown = false;
    if (!XQueryTree(display, DefaultRootWindow(display), &root_return, &parent, &children, &count)) return false;
    for (unsigned int i = 0; i < count && !shown; i++) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable || a.width < 640) continue;
        XImage* image = XGetImage(display, children[i], 8, 16, 120, 16, AllPlanes, ZPixmap);
        if (!image) continue;
        for (int y = 0; y < 16 && !shown; y++)
            for (int x = 0; x < 120 && !shown; x++) shown = (XGetPixel(image, x, y) & 0xFFFFFF) == 0x55FFFF;
        XDestroyImage(image);
    }
    if (children) XFree(children);
    return shown;
}

void BM_DemoStartAndIdle(benchmark::State& state) {
    Display* display = getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!display) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    double first_frame = 0, idle_cpu = 0;
    for (auto _ : state) {
        char program[] = ZV_DEMO;
        char* argv[] = {program, nullptr};
        pid_t pid;
        double start = now_ms();
        if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the demo");
            break;
        }
        while (!first_frame_shown(display) && now_ms() - start < 10000) usleep(2000);
        first_frame = now_ms() - start;
        // Between redraws: one second of SLEEP per pass.
        usleep(500000);
        double cpu_before = process_cpu_ms(pid), t_before = now_ms();
        usleep(3000000);
        idle_cpu = (process_cpu_ms(pid) - cpu_before) / ((now_ms() - t_before) / 1000.0);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    XCloseDisplay(display);
    state.counters["first_frame_ms"] = first_frame;
    state.counters["cpu_ms_per_s"] = idle_cpu;
    state.counters["cpu_share_of_a_core"] = idle_cpu / 1000.0;
}

BENCHMARK(BM_DemoStartAndIdle)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
