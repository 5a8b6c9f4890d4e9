// Start-up measurement on an X server (Xvfb): for each program, the time from
// exec to its first top-level window being mapped, and its peak resident set.
// Programs are run interleaved, round after round, so that both see the same
// machine.
//
//   measure_startup ROUNDS PROGRAM [PROGRAM...]
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

struct Sample {
    double seconds;
    long peakKb;
};

// Starts the program, waits for a window of its to appear on the root window,
// lets it settle, ends it and collects its peak memory.
bool Measure(Display* display, const char* program, Sample& sample) {
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);

    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    bool mapped = false;
    const int fd = ConnectionNumber(display);
    while (!mapped && Now() - start < 20) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root) {
                mapped = true;
                break;
            }
        }
        if (!mapped) {
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(fd, &fds);
            timeval wait{0, 2000};
            select(fd + 1, &fds, nullptr, nullptr, &wait);
        }
    }
    sample.seconds = Now() - start;
    usleep(300 * 1000);  // let the first frame be drawn before measuring memory
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    sample.peakKb = usage.ru_maxrss;
    XSelectInput(display, root, NoEventMask);
    return mapped;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: measure_startup ROUNDS PROGRAM [PROGRAM...]\n");
        return 64;
    }
    const int rounds = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "measure_startup: no X display\n");
        return 2;
    }
    const int programs = argc - 2;
    std::vector<std::vector<double>> times(programs);
    std::vector<long> peaks(programs, 0);
    for (int round = 0; round < rounds; ++round) {
        for (int p = 0; p < programs; ++p) {
            // Alternate which program goes first.
            const int which = (round % 2 == 0) ? p : programs - 1 - p;
            Sample sample{};
            if (!Measure(display, argv[2 + which], sample)) {
                std::fprintf(stderr, "measure_startup: %s showed no window\n", argv[2 + which]);
                return 1;
            }
            times[which].push_back(sample.seconds);
            peaks[which] = std::max(peaks[which], sample.peakKb);
        }
    }
    const double base = Median(times[0]);
    for (int p = 0; p < programs; ++p) {
        const double median = Median(times[p]);
        std::printf("%-40s median %7.1f ms  (%.2fx the first)  peak RSS %6.1f MB\n", argv[2 + p],
                    median * 1000, median / base, peaks[p] / 1024.0);
    }
    XCloseDisplay(display);
    return 0;
}
