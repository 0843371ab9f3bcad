// Start-up benchmark, run under an X server (Xvfb): starts the program again and again from a
// program folder and measures, for each start, the time from fork to the map of the splash window;
// then, for the last start, the resident memory with the roster shown and the processor time used
// while the roster sits idle.
//
//   startupBench PROGRAM_FOLDER [RUNS]      (DISPLAY must be set)
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

pid_t launch(const std::string& folder) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        execl("./velotecla", "velotecla", static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Waits for the next top-level window to be mapped; false after timeoutMs.
bool waitForMap(Display* dpy, int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return false;
}

long rssKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

double cpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(all.substr(all.rfind(')') + 2));
    std::string f;
    long utime = 0;
    long stime = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i) {
        if (i == 14)
            utime = std::atol(f.c_str());
        if (i == 15)
            stime = std::atol(f.c_str());
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void stop(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startupBench PROGRAM_FOLDER [RUNS]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 20;
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "startupBench: no X display\n");
        return 2;
    }
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, True);

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        XSync(dpy, True);
        const auto t0 = Clock::now();
        const pid_t pid = launch(folder);
        if (!waitForMap(dpy, 10000)) {
            std::fprintf(stderr, "startupBench: no window within 10 s\n");
            stop(pid);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        if (i + 1 < runs) {
            stop(pid);
            continue;
        }
        // The last run goes on to the roster (after the 3 s splash) and then idles.
        std::this_thread::sleep_for(std::chrono::milliseconds(4500));
        const long rss = rssKb(pid);
        const double before = cpuSeconds(pid);
        const int idleSeconds = 10;
        std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
        const double used = cpuSeconds(pid) - before;
        stop(pid);
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        std::printf("starts: %d\n", runs);
        std::printf("process start to splash mapped: median %.1f ms, min %.1f ms, max %.1f ms, first %.1f ms\n",
                    sorted[sorted.size() / 2], sorted.front(), sorted.back(), times.front());
        std::printf("resident memory with the roster shown: %.1f MB\n", static_cast<double>(rss) / 1024.0);
        std::printf("processor use while idle: %.2f%% of one core over %d s\n", 100.0 * used / idleSeconds,
                    idleSeconds);
    }
    XCloseDisplay(dpy);
    return 0;
}
