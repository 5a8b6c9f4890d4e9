#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/run_calc.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    mirabo::CliEnvironment env{std::cout, std::cerr, nullptr};
    if (isatty(STDIN_FILENO) == 1) {
        env.ask = [](const std::string& question) {
            std::cerr << question << "\n[y/N] " << std::flush;
            std::string line;
            return std::getline(std::cin, line) && !line.empty() && (line[0] == 'y' || line[0] == 'Y');
        };
    }
    return mirabo::RunCalc(args, env);
}
