#include "tests/cli/sample_rows.h"

#include <algorithm>
#include <numeric>

#include "calc/memory_form.h"
#include "text/utf8.h"

namespace mirabo {
namespace {

// Texts that are no plain number, each picked now and then.
// clang-format off
constexpr const char* kOddTexts[] = {
    "x", "1e5", " 5", "5 ", "1,000", "\"3\"", "3\n4", "-", "+", ".", "..",
    "３", "1.2.3", "+-3", "∞", "0", "0.0", "-0", "00", "-12.5",
};
// clang-format on

}  // namespace

SampleRows::SampleRows(const Calculator& form, std::uint64_t seed, bool shuffle)
    : form_(form), state_(seed * 0x9E3779B97F4A7C15u + 1) {
    slots_.resize(form.fields.size());
    std::iota(slots_.begin(), slots_.end(), std::size_t{0});
    if (shuffle) {
        for (std::size_t i = slots_.size(); i > 1; --i) {
            std::swap(slots_[i - 1], slots_[Below(i)]);
        }
    }
    for (const std::size_t slot : slots_) {
        const CalculatorField& field = form.fields[slot];
        const bool alias = shuffle && !field.alias.empty() && Below(2) == 0;
        header_.emplace_back(alias ? field.alias : field.name);
    }
    cells_.resize(slots_.size());
}

std::uint64_t SampleRows::Random() {
    // xorshift64*: the same numbers on every platform.
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Du;
}

std::string SampleRows::Text() {
    const std::size_t kind = Below(100);
    if (kind < 6) {
        return kOddTexts[Below(std::size(kOddTexts))];
    }
    std::string text;
    if (kind < 9) {
        text += kind < 8 ? "-" : "+";
    }
    text += std::to_string(1 + Below(kind < 50 ? 99 : 999));
    if (const std::size_t decimals = Below(5); decimals > 0) {
        text += '.';
        for (std::size_t d = 0; d < decimals; ++d) {
            text += static_cast<char>('0' + Below(10));
        }
    }
    return text;
}

void SampleRows::Draw() {
    for (std::string& cell : cells_) {
        cell.clear();
    }
    // Mostly two or three known fields, as a case needs; now and then fewer or all.
    const std::size_t draw = Below(100);
    const std::size_t known = draw < 4 ? 0 : draw < 8 ? 1 : draw < 55 ? 2 : draw < 92 ? 3 : cells_.size();
    std::vector<std::size_t> columns(cells_.size());
    std::iota(columns.begin(), columns.end(), std::size_t{0});
    for (std::size_t i = 0; i < known && i < columns.size(); ++i) {
        std::swap(columns[i], columns[i + Below(columns.size() - i)]);
        cells_[columns[i]] = Text();
    }
}

bool SampleRows::StopsForMissingInput() const {
    MemoryForm form;
    for (std::size_t column = 0; column < cells_.size(); ++column) {
        form.SetText(form_.fields[slots_[column]].controlId, WideFromUtf8(cells_[column]));
    }
    return form_.solve(form) == SolveResult::StoppedForMissingInput;
}

const std::vector<std::string>& SampleRows::Next() {
    for (;;) {
        Draw();
        if (5 * (missing_ + 1) <= rows_ + 1 || !StopsForMissingInput()) {
            break;
        }
    }
    ++rows_;
    missing_ += StopsForMissingInput() ? 1 : 0;
    return cells_;
}

void SampleRows::AppendCsv(const std::vector<std::string>& cells, std::string& out) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            out += cell;
            continue;
        }
        out += '"';
        for (const char c : cell) {
            out += c;
            if (c == '"') {
                out += '"';
            }
        }
        out += '"';
    }
    out += '\n';
}

}  // namespace mirabo
