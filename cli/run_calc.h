// mirabo-calc: one calculation of one calculator, driven from the command line.
//
//   mirabo-calc FORM [NAME=TEXT]... [--yes | --no] [--json]
//   mirabo-calc FORM --batch [FILE] [--yes | --no] [--json] [--encoding cp932] [--bom]
//   mirabo-calc --version
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace mirabo {

constexpr int kExitWritten = 0;
constexpr int kExitMissingInput = 1;
constexpr int kExitNotWritten = 2;
constexpr int kExitUsage = 64;

struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    // Asks the question on the terminal and tells whether the answer was yes;
    // empty when there is no terminal to ask on (the answer is then No).
    std::function<bool(const std::string& question)> ask;
    // Batch mode's input when no file is named.
    std::istream* in = nullptr;
};

// Runs the tool over the arguments (without the program name) and gives its exit status.
int RunCalc(const std::vector<std::string>& args, CliEnvironment& env);

// The text of --help.
void PrintCalcUsage(std::ostream& out);

}  // namespace mirabo
