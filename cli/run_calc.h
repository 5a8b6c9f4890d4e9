// mirabo-calc: one calculation of one calculator, driven from the command line.
//
//   mirabo-calc FORM [NAME=TEXT]... [--yes | --no] [--json]
//   mirabo-calc FORM --batch [FILE] [--yes | --no] [--json] [--encoding cp932] [--bom]
//   mirabo-calc --version
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace mirabo {

constexpr int kExitWritten = 0;
constexpr int kExitMissingInput = 1;
constexpr int kExitNotWritten = 2;
constexpr int kExitUsage = 64;
// Reading the input or writing the output failed.
constexpr int kExitIoError = 74;

// What mirabo-calc says, on one line, when its output could not be written.
inline constexpr std::string_view kOutputFailed = "mirabo-calc: the output could not be written\n";
// The line after the reason for a usage error.
inline constexpr std::string_view kSeeHelp = "Try 'mirabo-calc --help' for the forms, their fields and the options.\n";

struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    // Asks the question on the terminal and tells whether the answer was yes;
    // empty when there is no terminal to ask on (the answer is then No).
    std::function<bool(const std::string& question)> ask;
    // Batch mode's input when no file is named.
    std::istream* in = nullptr;
    // The same input as the system's file descriptor (standard input), read
    // instead of `in` as its bytes arrive; -1 for none.
    int inDescriptor = -1;
};

// Runs the tool over the arguments (without the program name) and gives its exit status.
int RunCalc(const std::vector<std::string>& args, CliEnvironment& env);

// The text of --help.
void PrintCalcUsage(std::ostream& out);

// Why an argument that starts with "-" and is no option of the mode is refused:
// an option without a value given one, or an unknown option.
std::string OptionProblem(std::string_view arg);

}  // namespace mirabo
