// Reads CSV text (RFC 4180: quoted cells, doubled quotes, commas and line breaks
// inside quotes, "\n", "\r\n" or "\r" line ends) record by record from a byte
// source, in constant memory, checking that the text is UTF-8.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "cli/byte_streams.h"

namespace mirabo {

class CsvCellSink {
public:
    virtual ~CsvCellSink() = default;
    // One cell of the current record, from column 0 on, with its quotes undone.
    // A cell longer than the reader's cell limit arrives as its first `limit`
    // bytes with `whole` false.
    virtual void Cell(std::size_t column, std::string_view text, bool whole) = 0;
};

class CsvReader {
public:
    enum class Result {
        Record,      // a record was read
        End,         // the input has ended
        Malformed,   // the input is not CSV in UTF-8; Problem() says where
        Unreadable,  // the source could not be read; Problem() says why
    };

    // `cellLimit` bytes of each cell are kept; the rest is only counted.
    CsvReader(ByteSource& source, std::size_t cellLimit);
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    // From now on a record with more cells than this is malformed.
    void LimitCells(std::size_t cells) { maxCells_ = cells; }

    // Reads the next record, handing its cells to the sink in order. A UTF-8
    // byte-order mark at the start of the input is skipped. Once the result is
    // not Record, it stays so.
    Result Next(CsvCellSink& sink);

    // The line (from 1) on which the last record began.
    std::size_t RecordLine() const { return recordLine_; }
    // For Malformed or Unreadable: the line at fault, and what is wrong with it.
    std::size_t ProblemLine() const { return problemLine_; }
    const std::string& Problem() const { return problem_; }

    static constexpr std::size_t kBufferSize = 64 * 1024;

private:
    bool Available() { return pos_ < valid_ || Fill(); }
    bool Fill();
    Result Stop();
    Result ReadQuoted();
    Result ReadUnquoted();
    Result Fail(Result result, std::size_t line, std::string problem);
    void Append(const char* bytes, std::size_t n);
    void Emit(CsvCellSink& sink, std::size_t column);

    ByteSource& source_;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;    // next byte to parse
    std::size_t valid_ = 0;  // end of the checked, whole characters
    std::size_t end_ = 0;    // end of the bytes read
    bool atStart_ = true;    // the byte-order mark has not been looked for yet
    bool sourceEnded_ = false;
    bool badText_ = false;  // the byte at valid_ is not UTF-8 text
    std::string badTextProblem_;
    Result final_ = Result::Record;

    std::size_t cellLimit_;
    std::unique_ptr<char[]> cell_;
    std::size_t cellSize_ = 0;  // whole length of the cell, also beyond the limit
    std::size_t maxCells_ = 0;  // 0: any number

    std::size_t line_ = 1;
    std::size_t recordLine_ = 1;
    std::size_t problemLine_ = 0;
    std::string problem_;
};

}  // namespace mirabo
