// The CSV reader of batch mode, and batch mode over what it reads. An input is
// one byte that picks how the reader is handed the text (in chunks of 1 to
// 64 bytes, or whole), one that picks the longest cell it keeps and the form,
// one whose bits pick batch mode's options (--json, --yes, --no, --bom,
// --encoding cp932), then the CSV text.
//
// What must hold for every input: the records do not depend on how the text
// is cut into chunks; no cell is longer than the limit, and one cut short is
// exactly that long; every whole cell is UTF-8; once the reader stops it stays
// stopped; and batch mode ends with one of its statuses, its CSV output reads
// back as one row per record with the form's columns (and the carried ones),
// and what it says on stderr is terminal-safe: nothing but the one line that
// names the carried columns when every row was read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/byte_streams.h"
#include "cli/csv_reader.h"
#include "cli/forms.h"
#include "cli/run_calc.h"
#include "text/utf8.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/text_checks.h"
#include "tests/cli/chunk_source.h"

namespace {

using namespace mirabo;
using mirabo::fuzz::TerminalSafeLines;
using mirabo::fuzz::ValidUtf8;

struct Cells : CsvCellSink {
    std::size_t limit = 0;
    std::vector<std::string> cells;
    void Cell(std::size_t column, std::string_view text, bool whole) override {
        FUZZ_CHECK(column == cells.size());
        FUZZ_CHECK(text.size() <= limit);
        FUZZ_CHECK(whole || text.size() == limit);
        cells.emplace_back(text);
        if (!whole) cells.back() += "\x01cut";
    }
};

struct Reading {
    std::vector<std::vector<std::string>> records;
    CsvReader::Result last;
    std::size_t problemLine;
};

Reading Read(std::string_view text, std::size_t chunk, std::size_t limit) {
    ChunkSource source(std::string(text), chunk);
    CsvReader reader(source, limit);
    Reading reading;
    std::size_t line = 0;
    for (;;) {
        Cells cells;
        cells.limit = limit;
        reading.last = reader.Next(cells);
        if (reading.last != CsvReader::Result::Record) break;
        FUZZ_CHECK(reader.RecordLine() > line);
        line = reader.RecordLine();
        // A whole cell is UTF-8 (one cut short may end inside a character).
        for (const std::string& cell : cells.cells) FUZZ_CHECK(cell.ends_with("\x01cut") || ValidUtf8(cell));
        reading.records.push_back(std::move(cells.cells));
        FUZZ_CHECK(reading.records.size() <= text.size() + 1);
    }
    Cells after;
    FUZZ_CHECK(reader.Next(after) == reading.last && after.cells.empty());
    reading.problemLine = reader.ProblemLine();
    return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::size_t chunk = data[0] % 65 == 0 ? CsvReader::kBufferSize : data[0] % 65;
    const std::size_t limit = 1 + data[1] % 16;
    const unsigned options = data[2];
    const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);

    const Reading chunked = Read(text, chunk, limit);
    const Reading whole = Read(text, CsvReader::kBufferSize, limit);
    FUZZ_CHECK(chunked.records == whole.records);
    FUZZ_CHECK(chunked.last == whole.last && chunked.problemLine == whole.problemLine);

    // Batch mode over the same text.
    const Calculator& form = *CliForms()[(data[1] / 16) % CliForms().size()];
    std::istringstream in{std::string(text)};
    std::ostringstream out;
    std::ostringstream err;
    CliEnvironment env{out, err, nullptr, &in};
    std::vector<std::string> args = {std::string(form.name), "--batch"};
    const bool json = options & 1;
    const bool cp932 = options & 16;
    if (json) args.push_back("--json");
    if (options & 2) args.push_back("--yes");
    if (options & 4) args.push_back("--no");
    if (options & 8) args.push_back("--bom");
    if (cp932) args.insert(args.end(), {"--encoding", "cp932"});
    const int status = RunCalc(args, env);
    FUZZ_CHECK(status == 0 || status == kExitUsage || status == kExitMalformedInput);
    FUZZ_CHECK(TerminalSafeLines(err.str()));
    FUZZ_CHECK(status == 0 ? err.str().empty() || (err.str().starts_with("mirabo-calc: not fields of ") &&
                                                   err.str().find('\n') == err.str().size() - 1)
                           : !err.str().empty());
    if ((options & 6) == 6) FUZZ_CHECK(status == kExitUsage);
    const std::string output = out.str();
    std::string_view written = output;
    if ((options & 8) && written.starts_with("\xEF\xBB\xBF")) written.remove_prefix(3);
    if (json && status != kExitUsage) {
        // One JSON object a line.
        while (!written.empty()) {
            const std::size_t end = written.find('\n');
            FUZZ_CHECK(end != std::string_view::npos);
            FUZZ_CHECK(mirabo::fuzz::Json(written.substr(0, end)).Valid());
            written.remove_prefix(end + 1);
        }
    } else if (status != kExitUsage && !cp932) {
        // The rows written read back: a header and one row per record, each
        // the form's fields, the status and the messages.
        const Reading back = Read(written, CsvReader::kBufferSize, written.size() + 1);
        FUZZ_CHECK(back.last == CsvReader::Result::End);
        const std::size_t columns = back.records.empty() ? 0 : back.records[0].size();
        // Nothing at all when the header itself could not be read.
        FUZZ_CHECK(columns >= form.fields.size() + 2 || (status == kExitMalformedInput && back.records.empty()));
        for (const auto& record : back.records) FUZZ_CHECK(record.size() == columns);
        // All of them when the input was read to its end, those before the
        // fault when it was not.
        if (status == 0) FUZZ_CHECK(back.records.size() == std::max<std::size_t>(whole.records.size(), 1));
        if (status != 0) FUZZ_CHECK(back.records.size() <= whole.records.size());
    }
    return 0;
}
