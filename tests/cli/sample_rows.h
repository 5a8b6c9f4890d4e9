// Rows of cases made up for a form, the same for the same seed: mostly numbers
// that solve, with missing, mistyped, negative, zero and quoted texts mixed in,
// and at most one row in five stopping for missing input. The batch tests and
// the batch benchmark feed them to mirabo-calc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/forms.h"

namespace mirabo {

class SampleRows {
public:
    // `shuffle` puts the header's columns in a random order and names some
    // fields by their alias.
    SampleRows(const Calculator& form, std::uint64_t seed, bool shuffle = false);

    // The header's names, column by column.
    const std::vector<std::string>& Header() const { return header_; }
    // The field slot (place in the form's field order) of each column.
    const std::vector<std::size_t>& Slots() const { return slots_; }
    // The next row's cells, column by column; empty cells stand for empty fields.
    const std::vector<std::string>& Next();

    // Cells as one CSV line with "\n" at its end, quoted where they need it.
    static void AppendCsv(const std::vector<std::string>& cells, std::string& out);

private:
    std::uint64_t Random();
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Random() % n); }
    std::string Text();
    void Draw();
    bool StopsForMissingInput() const;

    const Calculator& form_;
    std::uint64_t state_;
    std::vector<std::string> header_;
    std::vector<std::size_t> slots_;
    std::vector<std::string> cells_;
    std::size_t rows_ = 0;
    std::size_t missing_ = 0;
};

}  // namespace mirabo
