// mirabo-calc for the tests: run in this process over strings, and (not on
// Windows) the built program started with pipes or on a pseudo-terminal; and
// the texts it writes that several tests expect.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <functional>
#include <istream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/run_calc.h"

namespace mirabo {

// U+1F600, beyond the Basic Multilingual Plane: two UTF-16 units.
inline const std::string kEmoji = "\xF0\x9F\x98\x80";
// The right triangle's first example as plain output, and its batch header
// and row (CSV, each line ended by "\r\n").
inline const std::string kRight345 = "a=3.000\nb=4.000\nc=5.000\nalpha=53.130\nbeta=36.870\n";
inline const std::string kRightHeader = "a,b,c,alpha,beta,status,message\r\n";
inline const std::string kRightRow345 = "3.000,4.000,5.000,53.130,36.870,written,\r\n";
// The same as a JSON line of batch mode, without its closing brace.
inline const std::string kRightJson345 =
    R"({"form":"right","result":0,"written":true,"fields":{"a":"3.000","b":"4.000","c":"5.000",)"
    R"("alpha":"53.130","beta":"36.870"},"messages":[],"focus":null,"values":{"a":"3","b":"4",)"
    R"("c":"5","alpha":"53.130102347218624","beta":"36.869897652781376"},"status":"written",)"
    R"("message":"")";
// The Japanese question about values that are not finite, as standard error shows it.
inline const std::string kQuestionLines =
    "正常に表示出来ません。\n引数及び結果が無限値、非数、\n計算不可値である可能性があります 。\n無視して表示しますか\n";

// A run's exit status and both outputs, bytes as written.
struct CalcRun {
    int status = -1;
    std::string out;
    std::string err;
};

// RunCalc over `args` with `in` as its standard input; `ask`, when given, is
// the terminal that answers its questions.
inline CalcRun InProcess(const std::vector<std::string>& args, std::istream& in,
                         std::function<bool(const std::string&)> ask = {}) {
    std::ostringstream out;
    std::ostringstream err;
    CliEnvironment env{out, err, std::move(ask), &in};
    const int status = RunCalc(args, env);
    return {status, out.str(), err.str()};
}

inline CalcRun InProcess(const std::vector<std::string>& args, const std::string& input = "",
                         std::function<bool(const std::string&)> ask = {}) {
    std::istringstream in(input);
    return InProcess(args, in, std::move(ask));
}

#ifndef _WIN32
// The program started in the locale C.UTF-8, its standard output a pipe.
// Its standard input is a pipe too, and its standard error goes nowhere; or,
// `onTerminal`, both are a pseudo-terminal, on which Send types and whose
// screen Shown reads.
class Conversation {
public:
    Conversation(const std::vector<std::string>& args, bool onTerminal = false) : onTerminal_(onTerminal) {
        int in[2] = {-1, -1};
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (onTerminal) {
            to_ = posix_openpt(O_RDWR | O_NOCTTY);
            if (to_ < 0 || grantpt(to_) != 0 || unlockpt(to_) != 0) return;
            const char* device = ptsname(to_);
            posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, device, O_RDWR | O_NOCTTY, 0);
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, device, O_RDWR | O_NOCTTY, 0);
            posix_spawn_file_actions_addclose(&actions, to_);
        } else {
            if (pipe(in) != 0) return;
            posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addclose(&actions, in[1]);
            to_ = in[1];
        }
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<std::string> all = {MIRABO_CALC_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::string locale = "LANG=C.UTF-8";
        char* envp[] = {locale.data(), nullptr};
        if (posix_spawn(&child_, MIRABO_CALC_PATH, &actions, nullptr, argv.data(), envp) != 0) child_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (in[0] >= 0) close(in[0]);
        close(out[1]);
        from_ = out[0];
    }
    ~Conversation() {
        if (to_ >= 0) close(to_);
        if (from_ >= 0) close(from_);
        if (child_ > 0) waitpid(child_, nullptr, 0);
    }

    bool Started() const { return child_ > 0; }
    bool Send(const std::string& bytes) {
        return write(to_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // What the program writes on its standard output, and what the terminal
    // shows: until `bytes` bytes have come, the output ends, or nothing comes
    // for `seconds`.
    std::string Receive(std::size_t bytes, int seconds = 20) { return Collect(from_, bytes, seconds); }
    std::string Shown(std::size_t bytes, int seconds = 20) { return Collect(to_, bytes, seconds); }
    // Ends the input (a pipe's), waits for the end; gives the rest of the
    // output and the exit status.
    int Finish(std::string& rest) {
        if (!onTerminal_) {
            close(to_);
            to_ = -1;
        }
        rest = Receive(std::string::npos, 60);
        int status = 0;
        const bool ended = waitpid(child_, &status, 0) == child_;
        child_ = -1;
        return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    static std::string Collect(int from, std::size_t bytes, int seconds) {
        std::string got;
        char chunk[4096];
        while (got.size() < bytes) {
            pollfd ready{from, POLLIN, 0};
            if (poll(&ready, 1, seconds * 1000) != 1) break;
            const ssize_t n = read(from, chunk, sizeof chunk);
            if (n <= 0) break;
            got.append(chunk, static_cast<std::size_t>(n));
        }
        return got;
    }

    bool onTerminal_;
    pid_t child_ = -1;
    int to_ = -1;
    int from_ = -1;
};

// The program run to its end with nothing on its standard input: its exit
// status and standard output.
inline CalcRun StartedProgram(const std::vector<std::string>& args) {
    Conversation program(args);
    CalcRun run;
    if (program.Started()) run.status = program.Finish(run.out);
    return run;
}
#endif

}  // namespace mirabo
