#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <string>
#include <vector>

#include "cli/run_calc.h"
#include "resfile/program_resources.h"
#include "resfile/resource_language.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    mirabo::CliEnvironment env{std::cout, std::cerr, nullptr, &std::cin, STDIN_FILENO};
    // The calculators' messages in the user's language, as the program's.
    mirabo::SetProgramLanguage(mirabo::LanguageOfEnvironment());
#ifdef _WIN32
    // Batch mode reads and writes CSV bytes as they stand, line ends included.
    if (std::find(args.begin(), args.end(), "--batch") != args.end()) {
        _setmode(_fileno(stdin), _O_BINARY);
        _setmode(_fileno(stdout), _O_BINARY);
    }
#endif
#ifdef __EMSCRIPTEN__
    // Under Node every standard input reads as a terminal, /dev/null too:
    // the question is never asked there, and goes unanswered as without one.
    const bool terminal = false;
#else
    const bool terminal = isatty(STDIN_FILENO) == 1;
#endif
    if (terminal) {
        env.ask = [](const std::string& question) {
            std::cerr << question << "\n[y/N] " << std::flush;
            std::string line;
            return std::getline(std::cin, line) && !line.empty() && (line[0] == 'y' || line[0] == 'Y');
        };
    }
    int status = mirabo::RunCalc(args, env);
    // The output goes out, and closing it is where a file system may still
    // tell of a failed write. (A standard output that was never open has
    // failed at the flush already, if anything was written.)
    if ((!std::cout.flush() || (close(STDOUT_FILENO) != 0 && errno != EBADF)) &&
        status != mirabo::kExitIoError) {
        std::cerr << mirabo::kOutputFailed;
        status = mirabo::kExitIoError;
    }
    return status;
}
