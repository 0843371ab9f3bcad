// Start-up benchmark, run under an X server (Xvfb): starts the program again and again from a
// program folder and measures, for each start, the time from fork to the map of the splash window
// and to its picture being on screen; then, unless --starts-only is given, for
// the last start the resident memory with the roster shown and the processor time used while the
// roster sits idle.
//
//   startupBench PROGRAM_FOLDER [RUNS] [--starts-only] [--program FILE]   (DISPLAY must be set)
//
// FILE is the executable inside the folder, "velotecla" unless given.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

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

pid_t launch(const std::string& folder, const std::string& program) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        const std::string path = "./" + program;
        execl(path.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Waits for the next top-level window to be mapped; 0 after timeoutMs.
Window waitForMap(Display* dpy, int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify)
                return ev.xmap.window;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return 0;
}

// The pixel at the centre of a window.
unsigned long centrePixel(Display* dpy, Window window) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, window, &a))
        return 0;
    XImage* image = XGetImage(dpy, window, a.width / 2, a.height / 2, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

// Waits until the splash's picture is on screen: the window is mapped with its black background and
// the picture is drawn over it later, so at each drawing into the window its centre is looked at
// until it is no longer black. False after timeoutMs.
bool waitForPicture(Display* dpy, int damageEvent, Window window, int timeoutMs) {
    const Damage damage = XDamageCreate(dpy, window, XDamageReportNonEmpty);
    XSync(dpy, False);
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    bool drawn = centrePixel(dpy, window) != 0;
    while (!drawn && Clock::now() < end) {
        bool damaged = false;
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == damageEvent + XDamageNotify)
                damaged = true;
        }
        if (damaged) {
            XDamageSubtract(dpy, damage, None, None);
            drawn = centrePixel(dpy, window) != 0;
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
    XDamageDestroy(dpy, damage);
    XSync(dpy, False);
    return drawn;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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
        std::fprintf(stderr, "usage: startupBench PROGRAM_FOLDER [RUNS] [--starts-only] [--program FILE]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = std::max(1, argc > 2 ? std::atoi(argv[2]) : 20);
    bool startsOnly = false;
    std::string program = "velotecla";
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--starts-only")
            startsOnly = true;
        else if (arg == "--program" && i + 1 < argc)
            program = argv[++i];
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "startupBench: no X display\n");
        return 2;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
        std::fprintf(stderr, "startupBench: the X server has no DAMAGE extension\n");
        return 2;
    }
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, True);

    std::vector<double> mapped;
    std::vector<double> painted;
    for (int i = 0; i < runs; ++i) {
        XSync(dpy, True);
        const auto t0 = Clock::now();
        const pid_t pid = launch(folder, program);
        const Window splash = waitForMap(dpy, 10000);
        if (!splash) {
            std::fprintf(stderr, "startupBench: no window within 10 s\n");
            stop(pid);
            return 1;
        }
        mapped.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        if (!waitForPicture(dpy, damageEvent, splash, 10000)) {
            std::fprintf(stderr, "startupBench: no picture in the splash within 10 s\n");
            stop(pid);
            return 1;
        }
        painted.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        if (i + 1 < runs || startsOnly) {
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
        std::printf("resident memory with the roster shown: %.1f MB\n", static_cast<double>(rss) / 1024.0);
        std::printf("processor use while idle: %.2f%% of one core over %d s\n", 100.0 * used / idleSeconds,
                    idleSeconds);
    }
    auto report = [](const char* what, const std::vector<double>& times) {
        std::printf("process start to splash %s: median %.1f ms, min %.1f ms, max %.1f ms (%zu starts)\n",
                    what, median(times), *std::min_element(times.begin(), times.end()),
                    *std::max_element(times.begin(), times.end()), times.size());
    };
    report("mapped", mapped);
    report("picture drawn", painted);
    XCloseDisplay(dpy);
    return 0;
}
