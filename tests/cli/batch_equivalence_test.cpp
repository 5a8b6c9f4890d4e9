// A batch of made-up rows gives, row for row, the texts, messages and exact
// values of one mirabo-calc call per row.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/csv_reader.h"
#include "cli/forms.h"
#include "cli/run_calc.h"
#include "text/terminal_text.h"
#include "tests/cli/calc_runs.h"
#include "tests/cli/chunk_source.h"
#include "tests/cli/sample_rows.h"

namespace mirabo {
namespace {

const char* StatusOfExit(int status) {
    return status == kExitWritten ? "written" : status == kExitMissingInput ? "missing" : "refused";
}

struct Sample {
    std::string csv;
    std::vector<std::vector<std::string>> calls;  // one mirabo-calc call a row
};

Sample MakeSample(const Calculator& form, std::uint64_t seed, std::size_t rows, const std::string& answer) {
    SampleRows sample(form, seed, true);
    Sample made;
    SampleRows::AppendCsv(sample.Header(), made.csv);
    for (std::size_t i = 0; i < rows; ++i) {
        const std::vector<std::string>& cells = sample.Next();
        SampleRows::AppendCsv(cells, made.csv);
        std::vector<std::string> call = {std::string(form.name), "--json"};
        if (!answer.empty()) {
            call.push_back(answer);
        }
        for (std::size_t column = 0; column < cells.size(); ++column) {
            call.push_back(sample.Header()[column] + "=" + cells[column]);
        }
        made.calls.push_back(call);
    }
    return made;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The batch's JSON line is the single call's object with the row's status and
// message after it.
void ExpectSameRow(const std::string& batchLine, const CalcRun& single, const std::string& where) {
    ASSERT_FALSE(single.out.empty()) << where;
    const std::string object = single.out.substr(0, single.out.size() - 2);  // without "}\n"
    EXPECT_EQ(batchLine.substr(0, object.size()), object) << where;
    EXPECT_EQ(batchLine.substr(object.size(), 12 + std::string(StatusOfExit(single.status)).size()),
              std::string(",\"status\":\"") + StatusOfExit(single.status) + "\"")
        << where;
}

class Cells : public CsvCellSink {
public:
    void Cell(std::size_t, std::string_view text, bool) override { cells.emplace_back(text); }
    std::vector<std::string> cells;
};

TEST(BatchEquivalenceTest, JsonRowsAreTheObjectsOfOneCallPerRow) {
    std::uint64_t seed = 1;
    for (const std::string answer : {"", "--yes"}) {
        for (const Calculator* calculator : CliForms()) {
            const Calculator& form = *calculator;
            const Sample sample = MakeSample(form, seed++, 2000, answer);
            std::vector<std::string> args = {std::string(form.name), "--batch", "--json"};
            if (!answer.empty()) {
                args.push_back(answer);
            }
            const CalcRun batch = InProcess(args, sample.csv);
            ASSERT_EQ(batch.status, 0);
            const std::vector<std::string> lines = SplitLines(batch.out);
            ASSERT_EQ(lines.size(), sample.calls.size());
            for (std::size_t row = 0; row < lines.size(); ++row) {
                ExpectSameRow(lines[row], InProcess(sample.calls[row]),
                              std::string(form.name) + " row " + std::to_string(row + 1) + " " + answer);
            }
        }
    }
}

TEST(BatchEquivalenceTest, CsvRowsHoldTheFieldsOfOneCallPerRow) {
    for (const Calculator* calculator : CliForms()) {
        const Calculator& form = *calculator;
        const Sample sample = MakeSample(form, 99, 2000, "");
        const CalcRun batch = InProcess({std::string(form.name), "--batch"}, sample.csv);
        ASSERT_EQ(batch.status, 0);
        ChunkSource source(batch.out, 1 << 16);
        CsvReader reader(source, 1000);
        Cells header;
        ASSERT_EQ(reader.Next(header), CsvReader::Result::Record);
        for (std::size_t row = 0; row < sample.calls.size(); ++row) {
            Cells cells;
            ASSERT_EQ(reader.Next(cells), CsvReader::Result::Record);
            ASSERT_EQ(cells.cells.size(), form.fields.size() + 2);
            // The plain output: NAME=TEXT a line, in field order, the text
            // terminal-safe.
            std::vector<std::string> call = sample.calls[row];
            call.erase(call.begin() + 1);  // --json
            const CalcRun single = InProcess(call);
            std::string expected;
            for (std::size_t slot = 0; slot < form.fields.size(); ++slot) {
                expected +=
                    std::string(form.fields[slot].name) + "=" + TerminalSafe(cells.cells[slot]) + "\n";
            }
            EXPECT_EQ(single.out, expected) << form.name << " row " << row + 1;
            EXPECT_EQ(cells.cells[form.fields.size()], StatusOfExit(single.status));
        }
        Cells none;
        EXPECT_EQ(reader.Next(none), CsvReader::Result::End);
    }
}

TEST(BatchEquivalenceTest, TheProgramAgreesWithItselfCalledOncePerRow) {
    std::uint64_t seed = 500;
    for (const Calculator* calculator : CliForms()) {
        const Calculator& form = *calculator;
        const Sample sample = MakeSample(form, seed++, 60, "");
        const std::string path = testing::TempDir() + "mirabo_equivalence.csv";
        std::ofstream(path, std::ios::binary) << sample.csv;
        const CalcRun batch = StartedProgram({std::string(form.name), "--batch", path, "--json"});
        std::remove(path.c_str());
        ASSERT_EQ(batch.status, 0);
        const std::vector<std::string> lines = SplitLines(batch.out);
        ASSERT_EQ(lines.size(), sample.calls.size());
        for (std::size_t row = 0; row < lines.size(); ++row) {
            ExpectSameRow(lines[row], StartedProgram(sample.calls[row]),
                          std::string(form.name) + " row " + std::to_string(row + 1));
        }
    }
}

}  // namespace
}  // namespace mirabo
