// The CSV reader of batch mode, and batch mode over what it reads. An input is
// one byte that picks how the reader is handed the text (in chunks of 1 to
// 64 bytes, or whole), one that picks the longest cell it keeps and the form,
// then the CSV text.
//
// What must hold for every input: the records do not depend on how the text
// is cut into chunks; no cell is longer than the limit, and one cut short is
// exactly that long; every whole cell is UTF-8; once the reader stops it stays
// stopped; and batch mode ends with one of its statuses, its CSV output reads
// back as one row per record with the form's columns, and what it says on
// stderr is terminal-safe.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/byte_streams.h"
#include "cli/csv_reader.h"
#include "cli/forms.h"
#include "cli/run_calc.h"
#include "cli/utf8.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace mirabo;

class ChunkedSource : public ByteSource {
public:
    ChunkedSource(std::string_view bytes, std::size_t chunk) : bytes_(bytes), chunk_(chunk) {}
    std::size_t Read(std::span<char> into) override {
        const std::size_t n = std::min({chunk_, into.size(), bytes_.size() - next_});
        std::memcpy(into.data(), bytes_.data() + next_, n);
        next_ += n;
        return n;
    }

private:
    std::string_view bytes_;
    std::size_t chunk_;
    std::size_t next_ = 0;
};

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

bool ValidUtf8(std::string_view text) {
    while (!text.empty()) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(text, c);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

struct Reading {
    std::vector<std::vector<std::string>> records;
    CsvReader::Result last;
    std::size_t problemLine;
};

Reading Read(std::string_view text, std::size_t chunk, std::size_t limit) {
    ChunkedSource source(text, chunk);
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

bool TerminalSafeLines(std::string_view text) {
    if (!ValidUtf8(text)) return false;
    while (!text.empty()) {
        char32_t c = 0;
        text.remove_prefix(DecodeUtf8(text, c));
        if ((c < 0x20 && c != '\n') || (c >= 0x7F && c <= 0x9F)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t chunk = data[0] % 65 == 0 ? CsvReader::kBufferSize : data[0] % 65;
    const std::size_t limit = 1 + data[1] % 16;
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

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
    const int status = RunCalc({std::string(form.name), "--batch"}, env);
    FUZZ_CHECK(status == 0 || status == kExitUsage || status == kExitMalformedInput);
    FUZZ_CHECK(TerminalSafeLines(err.str()));
    FUZZ_CHECK((status == 0) == err.str().empty());
    if (status != kExitUsage) {
        // The rows written read back: a header and one row per record, each
        // the form's fields, the status and the messages.
        const std::string written = out.str();
        const Reading back = Read(written, CsvReader::kBufferSize, written.size() + 1);
        FUZZ_CHECK(back.last == CsvReader::Result::End);
        for (const auto& record : back.records) FUZZ_CHECK(record.size() == form.fields.size() + 2);
        // All of them when the input was read to its end, those before the
        // fault when it was not.
        if (status == 0) FUZZ_CHECK(back.records.size() == std::max<std::size_t>(whole.records.size(), 1));
        if (status != 0) FUZZ_CHECK(back.records.size() <= whole.records.size());
    }
    return 0;
}
