// Batch mode over a million made-up rows per form, in process and through the
// mirabo-calc program with its output going to /dev/null. The aim: at least
// 1,000,000 rows a second per form on one core, and a peak resident size under
// 8 MB that stays the same from 10 rows to 10 million.
//
//   batch_bench [--rows N] [--big N] [--dir DIR] [--program PATH]
//
// Times are CPU times (user + system) of the work alone, so a busy machine
// slows the wall clock but not the figures; the wall-clock rate is shown too.
// Exits 1 when a form misses the aim.
#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/forms.h"
#include "tests/cli/sample_rows.h"

namespace {

constexpr double kAimRowsPerSecond = 1e6;
constexpr long kAimPeakKiB = 8 * 1024;
constexpr int kRuns = 3;

struct Options {
    std::size_t rows = 1'000'000;
    std::size_t big = 10'000'000;
    std::string dir = "/tmp";
    std::string program = MIRABO_CALC_PATH;
};

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Writes `rows` made-up rows for the form and gives the file's size.
std::size_t WriteSample(const mirabo::Calculator& form, std::size_t rows, const std::string& path) {
    mirabo::SampleRows sample(form, 2024);
    std::string text;
    mirabo::SampleRows::AppendCsv(sample.Header(), text);
    std::ofstream out(path, std::ios::binary);
    std::size_t size = 0;
    for (std::size_t i = 0; i < rows; ++i) {
        mirabo::SampleRows::AppendCsv(sample.Next(), text);
        if (text.size() > (1u << 20) || i + 1 == rows) {
            out << text;
            size += text.size();
            text.clear();
        }
    }
    return size;
}

struct InProcess {
    double cpu;
    double wall;
};

InProcess RunInProcess(const std::string& form, const std::string& path, bool json) {
    InProcess best{1e30, 1e30};
    for (int run = 0; run < kRuns; ++run) {
        std::ifstream in(path, std::ios::binary);
        NullBuffer nothing;
        std::ostream out(&nothing);
        std::ostringstream err;
        mirabo::CliEnvironment env{out, err, nullptr, &in};
        std::vector<std::string> args = {form, "--batch"};
        if (json) {
            args.push_back("--json");
        }
        const double wall = WallSeconds();
        const double cpu = ThreadSeconds();
        const int status = mirabo::RunBatch(args, env);
        best.cpu = std::min(best.cpu, ThreadSeconds() - cpu);
        best.wall = std::min(best.wall, WallSeconds() - wall);
        if (status != 0) {
            std::cerr << "batch mode exited " << status << ": " << err.str();
            std::exit(2);
        }
    }
    return best;
}

struct Program {
    double cpu;
    double wall;
    long peakKiB;
};

// The peak resident size of a stopped process, from /proc.
long PeakKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// Runs mirabo-calc FORM --batch [FILE] with its output to /dev/null. Without a
// file, writes `header` and then `body` `repeat` times to its standard input.
// The peak resident size is read as the program exits, stopped there by
// ptrace: the one that wait4 reports would count the memory of this process,
// from which the program was forked.
Program RunProgram(const Options& options, const std::string& form, const std::string& file,
                   const std::string& header = "", const std::string& body = "", std::size_t repeat = 0) {
    int pipeEnds[2] = {-1, -1};
    if (file.empty() && pipe(pipeEnds) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    std::vector<std::string> args = {options.program, form, "--batch"};
    if (!file.empty()) {
        args.push_back(file);
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const double wall = WallSeconds();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        if (file.empty()) {
            dup2(pipeEnds[0], STDIN_FILENO);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
        }
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);  // stopped at its exec
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACEEXIT);
    ptrace(PTRACE_CONT, child, nullptr, nullptr);
    if (file.empty()) {
        close(pipeEnds[0]);
        const auto send = [&](const std::string& text) {
            for (std::size_t done = 0; done < text.size();) {
                const ssize_t n = write(pipeEnds[1], text.data() + done, text.size() - done);
                if (n <= 0) {
                    std::perror("write");
                    std::exit(2);
                }
                done += static_cast<std::size_t>(n);
            }
        };
        send(header);
        for (std::size_t i = 0; i < repeat; ++i) {
            send(body);
        }
        close(pipeEnds[1]);
    }
    long peak = -1;
    rusage usage{};
    for (;;) {
        wait4(child, &status, 0, &usage);
        if (!WIFSTOPPED(status)) {
            break;
        }
        int signal = WSTOPSIG(status);
        if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
            peak = PeakKiB(child);
            signal = 0;
        }
        ptrace(PTRACE_CONT, child, nullptr, signal);
    }
    const double elapsed = WallSeconds() - wall;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "mirabo-calc " << form << " --batch failed\n";
        std::exit(2);
    }
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), elapsed, peak};
}

Program BestOf(const Options& options, const std::string& form, const std::string& file) {
    Program best{1e30, 1e30, 0};
    for (int run = 0; run < kRuns; ++run) {
        const Program p = RunProgram(options, form, file);
        best = {std::min(best.cpu, p.cpu), std::min(best.wall, p.wall), std::max(best.peakKiB, p.peakKiB)};
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--rows") {
            options.rows = std::stoul(value);
        } else if (name == "--big") {
            options.big = std::stoul(value);
        } else if (name == "--dir") {
            options.dir = value;
        } else if (name == "--program") {
            options.program = value;
        } else {
            std::cerr << "usage: batch_bench [--rows N] [--big N] [--dir DIR] [--program PATH]\n";
            return 2;
        }
    }
    const double rows = static_cast<double>(options.rows);
    bool met = true;
    std::printf(
        "rows per second of CPU time (one core); the program's wall-clock rate and peak resident size\n");
    std::printf("%-8s | %-20s | %-26s | %-12s | %s\n", "", "in process, N rows", "program, N rows | big rows",
                "program wall", "program peak RSS");
    std::printf("%-8s | %9s %10s | %12s %13s | %12s | %s\n", "form", "CSV", "JSON", "CSV", "CSV", "CSV",
                "10 rows, N rows, big rows");
    for (const mirabo::Calculator* calculator : mirabo::CliForms()) {
        const mirabo::Calculator& form = *calculator;
        const std::string name(form.name);
        const std::string path = options.dir + "/mirabo-batch-" + name + ".csv";
        const std::string tiny = options.dir + "/mirabo-batch-" + name + "-10.csv";
        WriteSample(form, options.rows, path);
        WriteSample(form, 10, tiny);

        const InProcess csv = RunInProcess(name, path, false);
        const InProcess json = RunInProcess(name, path, true);
        const Program program = BestOf(options, name, path);
        const Program small = BestOf(options, name, tiny);
        Program big{0, 0, 0};
        std::size_t bigRows = 0;
        if (options.big > 0) {
            // The big input is the sample's rows over and over, through a pipe.
            std::ifstream in(path, std::ios::binary);
            std::string header;
            std::getline(in, header);
            header += '\n';
            const std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            const std::size_t repeat = (options.big + options.rows - 1) / options.rows;
            bigRows = repeat * options.rows;
            big = RunProgram(options, name, "", header, body, repeat);
        }
        const double inRate = rows / csv.cpu;
        const double programRate = rows / program.cpu;
        const double bigRate = big.cpu > 0 ? static_cast<double>(bigRows) / big.cpu : 0;
        std::printf("%-8s | %9.0f %10.0f | %12.0f %13.0f | %12.0f | %ld KiB, %ld KiB, %ld KiB\n",
                    name.c_str(), inRate, rows / json.cpu, programRate, bigRate, rows / program.wall,
                    small.peakKiB, program.peakKiB, big.peakKiB);
        std::fflush(stdout);
        met = met && inRate >= kAimRowsPerSecond && programRate >= kAimRowsPerSecond &&
              (options.big == 0 || bigRate >= kAimRowsPerSecond) && program.peakKiB < kAimPeakKiB &&
              big.peakKiB < kAimPeakKiB;
        std::remove(path.c_str());
        std::remove(tiny.c_str());
    }
    std::printf("N = %zu rows, big = %zu rows\n", options.rows, options.big);
    std::printf("%s\n", met ? "aim met: every form at least 1,000,000 rows/s on one core, peak RSS under 8 MB"
                            : "AIM MISSED");
    return met ? 0 : 1;
}
