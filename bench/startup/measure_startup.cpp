// Start-up as a user sees it, measured on an X server (Xvfb) against a floor
// program: the time from exec to the first top-level window mapped and to the
// last screen update before the screen stays quiet, and the peak resident set,
// as medians of per-round ratios.
//
// The tool watches the root window as a window manager does: MapNotify of its
// children, and XDamage on the root for every drawing on the screen. The two
// programs run interleaved, round after round, each first in every other
// round, so that both see the same machine; the ratios are taken within each
// round and their median is printed.
//
//   measure_startup [--rounds N] [--quiet MS] FLOOR PROGRAM
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// What one start showed: seconds from exec to the first map and to the last
// update before the quiet, and the peak resident set in KiB.
struct Sample {
    double mapped = 0;
    double settled = 0;
    long peakKb = 0;
};

struct Watch {
    Display* display;
    Window root;
    int damageEvent;
    Damage damage;
};

// Starts the program, waits for its first top-level window, then for the
// screen to stay quiet for `quiet` seconds (at most `limit` seconds in all),
// ends it and collects its peak memory. False when no window came, or the
// program ended on its own.
bool Measure(Watch& watch, const char* program, double quiet, double limit, Sample& sample,
             std::string& problem) {
    Display* display = watch.display;
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent stale;
        XNextEvent(display, &stale);
    }
    XDamageSubtract(display, watch.damage, None, None);
    XSync(display, False);

    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    double mapped = -1;
    double lastUpdate = -1;
    bool ended = false;
    int status = 0;
    rusage usage{};
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            const double at = Now();
            if (event.type == MapNotify && event.xmap.event == watch.root && !event.xmap.override_redirect) {
                if (mapped < 0) mapped = at;
            } else if (event.type == watch.damageEvent + XDamageNotify) {
                if (mapped >= 0) lastUpdate = at;
                XDamageSubtract(display, watch.damage, None, None);
            }
        }
        const double now = Now();
        if (mapped < 0 && now - start > limit) break;
        if (mapped >= 0 && now - std::max(mapped, lastUpdate) >= quiet) break;
        if (now - start > limit + quiet) break;
        if (wait4(child, &status, WNOHANG, &usage) == child) {
            ended = true;
            break;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval wait{0, 1000};
        select(fd + 1, &fds, nullptr, nullptr, &wait);
    }
    if (!ended) {
        kill(child, SIGTERM);
        wait4(child, &status, 0, &usage);
    }
    if (ended) {
        problem = std::string(program) + " ended before the screen was quiet";
        return false;
    }
    if (mapped < 0) {
        problem = std::string(program) + " showed no window";
        return false;
    }
    sample.mapped = mapped - start;
    sample.settled = (lastUpdate < 0 ? mapped : lastUpdate) - start;
    sample.peakKb = usage.ru_maxrss;
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Usage() {
    std::fprintf(stderr, "usage: measure_startup [--rounds N] [--quiet MS] FLOOR PROGRAM\n");
    return 64;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 15;
    double quiet = 0.5;
    std::vector<const char*> programs;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--quiet") == 0 && i + 1 < argc) {
            quiet = std::atoi(argv[++i]) / 1000.0;
        } else {
            programs.push_back(argv[i]);
        }
    }
    if (programs.size() != 2 || rounds < 1 || quiet <= 0) return Usage();

    Watch watch{};
    watch.display = XOpenDisplay(nullptr);
    if (watch.display == nullptr) {
        std::fprintf(stderr, "measure_startup: no X display\n");
        return 2;
    }
    int damageError = 0;
    if (!XDamageQueryExtension(watch.display, &watch.damageEvent, &damageError)) {
        std::fprintf(stderr, "measure_startup: the X server has no DAMAGE extension\n");
        return 2;
    }
    watch.root = DefaultRootWindow(watch.display);
    XSelectInput(watch.display, watch.root, SubstructureNotifyMask);
    watch.damage = XDamageCreate(watch.display, watch.root, XDamageReportNonEmpty);

    // Per program: the samples; per round: the ratios of the second to the floor.
    std::vector<Sample> samples[2];
    std::vector<double> mapRatios, settleRatios, extraMb;
    for (int round = 0; round < rounds; ++round) {
        Sample sample[2];
        for (int k = 0; k < 2; ++k) {
            const int which = round % 2 == 0 ? k : 1 - k;
            std::string problem;
            if (!Measure(watch, programs[which], quiet, 20, sample[which], problem)) {
                std::fprintf(stderr, "measure_startup: %s\n", problem.c_str());
                return 1;
            }
            samples[which].push_back(sample[which]);
        }
        mapRatios.push_back(sample[1].mapped / sample[0].mapped);
        settleRatios.push_back(sample[1].settled / sample[0].settled);
        extraMb.push_back((sample[1].peakKb - sample[0].peakKb) / 1024.0);
    }

    for (int p = 0; p < 2; ++p) {
        std::vector<double> mapped, settled, peak;
        for (const Sample& s : samples[p]) {
            mapped.push_back(s.mapped * 1000);
            settled.push_back(s.settled * 1000);
            peak.push_back(s.peakKb / 1024.0);
        }
        std::printf("%-32s mapped %7.1f ms  settled %7.1f ms  peak RSS %6.1f MB  (medians of %d)\n",
                    programs[p], Median(mapped), Median(settled), Median(peak), rounds);
    }
    std::printf("first window mapped: %.2fx the floor\n", Median(mapRatios));
    std::printf("screen settled:      %.2fx the floor\n", Median(settleRatios));
    std::printf("peak RSS:            %+.1f MB over the floor\n", Median(extraMb));
    XDamageDestroy(watch.display, watch.damage);
    XCloseDisplay(watch.display);
    return 0;
}
