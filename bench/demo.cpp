// The demo as a user runs it, started afresh for each iteration: the time from start
// to its window being mapped and to its first frame on screen (the light cyan
// counter), and the CPU it uses while it sleeps between redraws. Needs an X display
// (run under xvfb-run); prints nothing measured without one. Figures are medians
// over the iterations:
// - cpu_share_of_a_core: CPU time per second of sleep over one core fully busy
//   (the baseline; goal at most 0.035), and the same per thread, the threads told
//   apart by name: cpu_share_window (the main thread, which keeps the program's
//   name), _program, _timer (goal below 0.001 with no timer on), _housekeeping,
//   _renderer (Mesa's llvmpipe threads) and _other;
// - window_writes_per_second: the window thread's write calls, nearly all of them
//   requests to the X server (a handful a second for the one redraw);
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

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <map>
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

std::string read_file(const std::string& path) {
    FILE* f = fopen(path.c_str(), "r");
    if (!f) return {};
    char buffer[1024];
    size_t n = fread(buffer, 1, sizeof buffer - 1, f);
    fclose(f);
    return std::string(buffer, n);
}

// What one thread has used so far: CPU time in nanoseconds (schedstat, exact) and
// write calls.
struct thread_use {
    std::string group;
    double cpu_ns = 0;
    double writes = 0;
};

// The group a thread's CPU is counted in.
std::string group_of(pid_t pid, pid_t tid, std::string name) {
    if (tid == pid) return "window";
    while (!name.empty() && name.back() == '\n') name.pop_back();
    if (name == "program" || name == "timer" || name == "housekeeping") return name;
    if (name.rfind("llvmpipe", 0) == 0) return "renderer";
    return "other";
}

std::map<pid_t, thread_use> threads_of(pid_t pid) {
    std::map<pid_t, thread_use> threads;
    std::string folder = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = opendir(folder.c_str());
    if (!d) return threads;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
        pid_t tid = pid_t(atoi(e->d_name));
        std::string base = folder + "/" + e->d_name;
        thread_use use;
        use.group = group_of(pid, tid, read_file(base + "/comm"));
        use.cpu_ns = atof(read_file(base + "/schedstat").c_str());
        std::string io = read_file(base + "/io");
        size_t at = io.find("syscw:");
        if (at != std::string::npos) use.writes = atof(io.c_str() + at + 6);
        threads[tid] = use;
    }
    closedir(d);
    return threads;
}

// Each group's share of a core, and the window thread's writes a second, between two
// readings ms apart. A thread that ended meanwhile is not counted.
std::map<std::string, double> shares_between(const std::map<pid_t, thread_use>& before,
                                             const std::map<pid_t, thread_use>& after, double ms) {
    std::map<std::string, double> shares{{"window", 0},       {"program", 0},  {"timer", 0},
                                         {"housekeeping", 0}, {"renderer", 0}, {"other", 0}};
    double total = 0, writes = 0;
    for (const auto& [tid, use] : after) {
        auto was = before.find(tid);
        double cpu = use.cpu_ns - (was == before.end() ? 0 : was->second.cpu_ns);
        shares[use.group] += cpu / (ms * 1e6);
        total += cpu / (ms * 1e6);
        if (use.group == "window") writes = use.writes - (was == before.end() ? 0 : was->second.writes);
    }
    shares["all"] = total;
    shares["window_writes_per_second"] = writes * 1000.0 / ms;
    return shares;
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
    std::vector<double> mapped, first_frame;
    std::map<std::string, std::vector<double>> idle;
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
        auto before = threads_of(pid);
        double t_before = now_ms();
        usleep(5000000);
        auto after = threads_of(pid);
        for (const auto& [name, value] : shares_between(before, after, now_ms() - t_before))
            idle[name].push_back(value);
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
    state.counters["cpu_share_of_a_core"] = median(idle["all"]);
    for (const char* group : {"window", "program", "timer", "housekeeping", "renderer", "other"})
        state.counters[std::string("cpu_share_") + group] = median(idle[group]);
    state.counters["window_writes_per_second"] = median(idle["window_writes_per_second"]);
}

BENCHMARK(BM_DemoStartAndIdle)->Iterations(7)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
