// mirabo-calc FORM --batch [FILE]: a table of cases in CSV, one case a row,
// solved row by row into CSV or JSON Lines in constant memory.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/run_calc.h"

namespace mirabo {

// Exit statuses of batch mode besides 0 (every row read), kExitUsage and kExitIoError.
constexpr int kExitMalformedInput = 65;
constexpr int kExitNoInput = 66;

// The longest cell kept whole, to be given back as it was read (a field takes
// 99 characters; a carried column, a note, may hold more); a longer one stops
// the run as malformed input.
constexpr std::size_t kBatchCellLimit = 1024 * 1024;

// Runs batch mode over the arguments (without the program name): reads FILE,
// or env.in when there is none or it is "-", and writes to env.out.
int RunBatch(const std::vector<std::string>& args, CliEnvironment& env);

// The lines of --help about batch mode, with an example.
void PrintBatchUsage(std::ostream& out);

}  // namespace mirabo
