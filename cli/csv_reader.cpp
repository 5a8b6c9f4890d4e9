#include "cli/csv_reader.h"

#include <cstdint>
#include <cstring>

#include "calc/conversions.h"

namespace mirabo {
namespace {

// What a byte means to the parser; every byte of a multi-byte UTF-8 character
// is plain text.
enum ByteClass : unsigned char { kText, kComma, kQuote, kCr, kLf };

// clang-format off
constexpr auto kClasses = [] {
    struct Table { ByteClass of[256]; } table{};
    table.of[static_cast<unsigned char>(',')]  = kComma;
    table.of[static_cast<unsigned char>('"')]  = kQuote;
    table.of[static_cast<unsigned char>('\r')] = kCr;
    table.of[static_cast<unsigned char>('\n')] = kLf;
    return table;
}();
// clang-format on

ByteClass ClassOf(char c) { return kClasses.of[static_cast<unsigned char>(c)]; }

// Where the bytes stop being whole UTF-8 characters. `incomplete` tells whether
// they stop at a character cut by the end of the bytes, rather than at a byte
// that is no UTF-8 text (a NUL counts as such: text files hold none).
std::size_t Utf8Prefix(const unsigned char* bytes, std::size_t size, bool& incomplete) {
    incomplete = false;
    std::size_t i = 0;
    while (i < size) {
        // Eight ASCII bytes at a time, none of them NUL.
        if (size - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, 8);
            constexpr std::uint64_t kHigh = 0x8080808080808080u;
            constexpr std::uint64_t kLow = 0x0101010101010101u;
            if ((word & kHigh) == 0 && ((word - kLow) & ~word & kHigh) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char lead = bytes[i];
        if (lead != 0 && lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;  // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
            high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
        } else {
            return i;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k == size) {
                incomplete = true;
                return i;
            }
            const unsigned char next = bytes[i + k];
            if (k == 1 ? (next < low || next > high) : (next & 0xC0) != 0x80) {
                return i;
            }
        }
        i += length;
    }
    return i;
}

}  // namespace

CsvReader::CsvReader(ByteSource& source, std::size_t cellLimit)
    : source_(source),
      buffer_(MakeBufferForOverwrite<char>(kBufferSize)),
      cellLimit_(cellLimit),
      cell_(MakeBufferForOverwrite<char>(cellLimit + 1)) {}

bool CsvReader::Fill() {
    for (;;) {
        if (badText_ || (sourceEnded_ && valid_ == end_)) {
            return false;
        }
        // Keep the start of a character cut by the last read.
        const std::size_t tail = end_ - valid_;
        std::memmove(buffer_.get(), buffer_.get() + valid_, tail);
        pos_ = valid_ = 0;
        end_ = tail;
        std::size_t read = 0;
        if (!sourceEnded_) {
            read = source_.Read({buffer_.get() + end_, kBufferSize - end_});
            sourceEnded_ = read == 0;
        }
        end_ += read;
        bool incomplete = false;
        valid_ = Utf8Prefix(reinterpret_cast<const unsigned char*>(buffer_.get()), end_, incomplete);
        if (valid_ < end_ && (!incomplete || sourceEnded_)) {
            badText_ = true;
            badTextProblem_ = buffer_[valid_] == '\0' ? "a NUL byte, which no text holds"
                              : incomplete            ? "the input ends inside a UTF-8 character"
                                                      : "bytes that are not UTF-8 text";
        }
        if (atStart_ && valid_ > 0) {
            atStart_ = false;
            if (valid_ >= 3 && std::memcmp(buffer_.get(), "\xEF\xBB\xBF", 3) == 0) {
                pos_ = 3;
            }
        }
        if (pos_ < valid_) {
            return true;
        }
        // Nothing whole yet, or only the byte-order mark: read on.
        valid_ = pos_ > valid_ ? pos_ : valid_;
    }
}

CsvReader::Result CsvReader::Fail(Result result, std::size_t line, std::string problem) {
    final_ = result;
    problemLine_ = line;
    problem_ = std::move(problem);
    return result;
}

// The input gave out: at its end, at a byte that is not UTF-8, or at a failure
// of the source.
CsvReader::Result CsvReader::Stop() {
    if (badText_) {
        return Fail(Result::Malformed, line_, badTextProblem_);
    }
    switch (source_.Failed()) {
    case ByteSource::Failure::None:
        return Result::End;
    case ByteSource::Failure::Malformed:
        return Fail(Result::Malformed, line_, source_.Problem());
    case ByteSource::Failure::Unreadable:
        break;
    }
    return Fail(Result::Unreadable, line_, source_.Problem());
}

void CsvReader::Append(const char* bytes, std::size_t n) {
    if (cellSize_ < cellLimit_) {
        const std::size_t room = cellLimit_ - cellSize_;
        std::memcpy(cell_.get() + cellSize_, bytes, n < room ? n : room);
    }
    cellSize_ += n;
}

void CsvReader::Emit(CsvCellSink& sink, std::size_t column) {
    const bool whole = cellSize_ <= cellLimit_;
    sink.Cell(column, {cell_.get(), whole ? cellSize_ : cellLimit_}, whole);
}

CsvReader::Result CsvReader::Next(CsvCellSink& sink) {
    if (final_ != Result::Record) {
        return final_;
    }
    recordLine_ = line_;
    for (std::size_t column = 0;; ++column) {
        cellSize_ = 0;
        if (!Available()) {
            const Result stop = Stop();
            if (stop != Result::End || column == 0) {
                return final_ = stop;
            }
            // The input ends just after a comma: one more, empty cell.
        }
        if (maxCells_ != 0 && column >= maxCells_) {
            return Fail(Result::Malformed, line_,
                        "more cells than the header's " + std::to_string(maxCells_));
        }
        if (pos_ < valid_ && buffer_[pos_] == '"') {
            if (const Result failure = ReadQuoted(); failure != Result::Record) {
                return failure;
            }
        } else if (pos_ < valid_) {
            if (const Result failure = ReadUnquoted(); failure != Result::Record) {
                return failure;
            }
        }
        if (!Available()) {
            if (const Result stop = Stop(); stop != Result::End) {
                return stop;
            }
            Emit(sink, column);
            return Result::Record;  // the last record has no line end
        }
        Emit(sink, column);
        const char end = buffer_[pos_++];
        if (end == ',') {
            continue;
        }
        if (end == '\r' && Available() && buffer_[pos_] == '\n') {
            ++pos_;
        }
        ++line_;
        return Result::Record;
    }
}

// A cell that starts with a quote: up to its closing quote, which a comma, a
// line end or the end of the input must follow.
CsvReader::Result CsvReader::ReadQuoted() {
    const std::size_t quoteLine = line_;
    ++pos_;
    for (;;) {
        if (!Available()) {
            const Result stop = Stop();
            return stop != Result::End ? stop
                                       : Fail(Result::Malformed, quoteLine,
                                              "the quote that opens a cell here is never closed");
        }
        const char* buffer = buffer_.get();
        std::size_t run = pos_;
        while (run < valid_ && ClassOf(buffer[run]) != kQuote && ClassOf(buffer[run]) != kCr &&
               ClassOf(buffer[run]) != kLf) {
            ++run;
        }
        Append(buffer + pos_, run - pos_);
        pos_ = run;
        if (pos_ == valid_) {
            continue;
        }
        const char c = buffer[pos_++];
        if (c == '"') {
            if (Available() && buffer_[pos_] == '"') {
                Append("\"", 1);
                ++pos_;
                continue;
            }
            break;
        }
        Append(&c, 1);
        if (c == '\r' && Available() && buffer_[pos_] == '\n') {
            Append("\n", 1);
            ++pos_;
        }
        ++line_;
    }
    if (pos_ < valid_ && (ClassOf(buffer_[pos_]) == kText || ClassOf(buffer_[pos_]) == kQuote)) {
        return Fail(Result::Malformed, line_, "text after the closing quote of a cell");
    }
    return Result::Record;
}

// A cell without quotes: up to the next comma, line end or end of the input.
CsvReader::Result CsvReader::ReadUnquoted() {
    for (;;) {
        const char* buffer = buffer_.get();
        std::size_t run = pos_;
        while (run < valid_ && ClassOf(buffer[run]) == kText) {
            ++run;
        }
        Append(buffer + pos_, run - pos_);
        pos_ = run;
        if (pos_ < valid_ || !Available()) {
            break;
        }
    }
    if (pos_ < valid_ && buffer_[pos_] == '"') {
        return Fail(Result::Malformed, line_, "a quote inside a cell that does not start with one");
    }
    return Result::Record;
}

}  // namespace mirabo
