// Start-up of a desktop program as the user sees it: the time from the
// moment the process is started until its top-level window is mapped on
// the X display, and the peak resident memory once the window is up.
//
//   window_watch [--runs N] [--settle-ms MS] [--timeout-ms MS] NAME=PROGRAM [NAME=PROGRAM ...]
//
// The programs are started in turn, one after the other, N rounds in all,
// so that a change in the machine's load falls on every program alike.
// Each run: the root window's SubstructureNotify is selected before the
// fork, so no MapNotify can be missed; the clock starts just before the
// fork; the MapNotify of a non-override-redirect top-level window whose
// _NET_WM_PID is the child ends the clock. The CPU time the child has used
// by then is read at once; the peak resident set (VmHWM) is read after the
// settle time, when the first paint is done, and the child is then ended.
//
// Prints, per program, one line per figure: NAME FIGURE MEDIAN MIN MAX P99 RUNS.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <dirent.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "process_stats.h"

namespace {

struct Program {
    std::string name;
    std::string path;
    std::vector<double> mapMs, cpuMs, hwmKb;
};

struct Options {
    int runs = 15;
    int settleMs = 300;
    int timeoutMs = 20000;
    std::vector<Program> programs;
};

[[noreturn]] void usage()
{
    std::fputs("usage: window_watch [--runs N] [--settle-ms MS] [--timeout-ms MS] NAME=PROGRAM...\n", stderr);
    std::exit(2);
}

Options parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto number = [&]() {
            if (i + 1 >= argc) usage();
            return std::atoi(argv[++i]);
        };
        if (arg == "--runs")
            o.runs = number();
        else if (arg == "--settle-ms")
            o.settleMs = number();
        else if (arg == "--timeout-ms")
            o.timeoutMs = number();
        else if (const auto eq = arg.find('='); eq != std::string::npos && eq > 0)
            o.programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}, {}});
        else
            usage();
    }
    if (o.programs.empty() || o.runs < 1) usage();
    return o;
}

std::optional<long> windowPid(Display* display, Window window)
{
    static const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<long> pid;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1)
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return pid;
}

// Waits for the child's top-level window; false on timeout or early exit.
bool waitForMap(Display* display, pid_t child, double startMs, int timeoutMs)
{
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                const auto pid = windowPid(display, event.xmap.window);
                if (pid && *pid == child) return true;
            }
        }
        const double left = timeoutMs - (tolvu::bench::nowMs() - startMs);
        if (left <= 0) return false;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) return false;
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, std::min(static_cast<int>(left), 50));
    }
}

// The CPU time of every thread of the process, in nanoseconds as the
// scheduler counts it: the clock ticks of /proc/PID/stat are too coarse.
double cpuMsOf(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream in(tasks + "/" + entry->d_name + "/schedstat");
            double run = 0;
            if (in >> run) ns += run;
        }
        closedir(dir);
    }
    return ns / 1e6;
}

double peakResidentKb(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6);
    return 0;
}

void drain(Display* display)
{
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

bool runOnce(Display* display, Program& program, const Options& options)
{
    drain(display);
    const double start = tolvu::bench::nowMs();
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const bool mapped = waitForMap(display, child, start, options.timeoutMs);
    const double mapMs = tolvu::bench::nowMs() - start;
    const double cpuMs = cpuMsOf(child);
    if (mapped) {
        usleep(static_cast<useconds_t>(options.settleMs) * 1000);
        program.mapMs.push_back(mapMs);
        program.cpuMs.push_back(cpuMs);
        program.hwmKb.push_back(peakResidentKb(child));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    drain(display);
    if (!mapped) std::fprintf(stderr, "window_watch: %s showed no window\n", program.name.c_str());
    return mapped;
}

} // namespace

int main(int argc, char** argv)
{
    Options options = parse(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("window_watch: cannot open the display named by DISPLAY\n", stderr);
        return 2;
    }
    // The programs started must not inherit this connection.
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    for (int round = 0; round < options.runs; ++round)
        for (Program& program : options.programs)
            if (!runOnce(display, program, options)) return 1;

    for (const Program& p : options.programs) {
        tolvu::bench::printFigure(p.name, "map_ms", p.mapMs);
        tolvu::bench::printFigure(p.name, "cpu_ms_at_map", p.cpuMs);
        tolvu::bench::printFigure(p.name, "peak_rss_kb", p.hwmKb);
    }
    XCloseDisplay(display);
    return 0;
}
