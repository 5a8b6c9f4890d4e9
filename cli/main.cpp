#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/run_calc.h"
#include "resfile/program_resources.h"
#include "resfile/resource_language.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    mirabo::CliEnvironment env{std::cout, std::cerr, nullptr, &std::cin};
    // The calculators' messages in the user's language, as the program's.
    mirabo::SetProgramLanguage(mirabo::LanguageOfEnvironment());
#ifdef _WIN32
    // Batch mode reads and writes CSV bytes as they stand, line ends included.
    if (std::find(args.begin(), args.end(), "--batch") != args.end()) {
        _setmode(_fileno(stdin), _O_BINARY);
        _setmode(_fileno(stdout), _O_BINARY);
    }
#endif
    if (isatty(STDIN_FILENO) == 1) {
        env.ask = [](const std::string& question) {
            std::cerr << question << "\n[y/N] " << std::flush;
            std::string line;
            return std::getline(std::cin, line) && !line.empty() && (line[0] == 'y' || line[0] == 'Y');
        };
    }
    return mirabo::RunCalc(args, env);
}
