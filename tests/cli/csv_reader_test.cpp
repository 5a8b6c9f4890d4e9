#include "cli/csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/chunk_source.h"

namespace mirabo {
namespace {

using Records = std::vector<std::vector<std::string>>;

struct Reading {
    Records records;
    std::vector<std::size_t> lines;  // where each record began
    CsvReader::Result last = CsvReader::Result::End;
    std::size_t problemLine = 0;
    std::string problem;
};

class Collect : public CsvCellSink {
public:
    void Cell(std::size_t column, std::string_view text, bool whole) override {
        EXPECT_EQ(column, cells.size());
        cells.emplace_back(text);
        if (!whole) {
            cells.back() += "...";
        }
    }
    std::vector<std::string> cells;
};

Reading Read(const std::string& input, std::size_t chunk, std::size_t maxCells = 0, std::size_t limit = 400) {
    ChunkSource source(input, chunk);
    CsvReader reader(source, limit);
    reader.LimitCells(maxCells);
    Reading reading;
    for (;;) {
        Collect row;
        reading.last = reader.Next(row);
        if (reading.last != CsvReader::Result::Record) {
            break;
        }
        reading.records.push_back(row.cells);
        reading.lines.push_back(reader.RecordLine());
    }
    reading.problemLine = reader.ProblemLine();
    reading.problem = reader.Problem();
    return reading;
}

TEST(CsvReaderTest, ReadsAwkwardInputsCutAnywhere) {
    const struct {
        const char* name;
        std::string input;
        Records records;
        std::vector<std::size_t> lines;
        // clang-format off
    } cases[] = {
        {"plain",               "a,b\n1,2\n",                 {{"a", "b"}, {"1", "2"}},          {1, 2}},
        {"CRLF",                "a,b\r\n1,2\r\n",             {{"a", "b"}, {"1", "2"}},          {1, 2}},
        {"CR alone",            "a,b\r1,2\r",                 {{"a", "b"}, {"1", "2"}},          {1, 2}},
        {"no last line end",    "a,b\n1,2",                   {{"a", "b"}, {"1", "2"}},          {1, 2}},
        {"byte-order mark",     "\xEF\xBB\xBF" "a,b\n1,2\n",  {{"a", "b"}, {"1", "2"}},          {1, 2}},
        {"only a mark",         "\xEF\xBB\xBF",               {},                                {}},
        {"a mark later stays",  "a\n\xEF\xBB\xBF\n",          {{"a"}, {"\xEF\xBB\xBF"}},         {1, 2}},
        {"empty input",         "",                           {},                                {}},
        {"empty cells",         "a,b\n,\n",                   {{"a", "b"}, {"", ""}},            {1, 2}},
        {"empty line",          "a,b\n\n1,2\n",               {{"a", "b"}, {""}, {"1", "2"}},    {1, 2, 3}},
        {"ends after a comma",  "a,b\n1,",                    {{"a", "b"}, {"1", ""}},           {1, 2}},
        {"fewer cells",         "a,b,c\n1\n1,2\n",            {{"a", "b", "c"}, {"1"}, {"1", "2"}}, {1, 2, 3}},
        {"quoted comma",        "a\n\"x,y\"\n",               {{"a"}, {"x,y"}},                  {1, 2}},
        {"doubled quotes",      "a\n\"say \"\"hi\"\"\"\n",    {{"a"}, {"say \"hi\""}},           {1, 2}},
        {"quoted empty",        "\"\",\"\"\"\"\n",            {{"", "\""}},                      {1}},
        {"quoted at the end",   "a\n\"x\"",                   {{"a"}, {"x"}},                    {1, 2}},
        {"line break inside",   "a\n\"1\n2\"\n3\n",           {{"a"}, {"1\n2"}, {"3"}},          {1, 2, 4}},
        {"CRLF inside",         "a\r\n\"1\r\n2\"\r\n3\r\n",   {{"a"}, {"1\r\n2"}, {"3"}},        {1, 2, 4}},
        {"CR inside",           "a\n\"1\r2\"\n3",             {{"a"}, {"1\r2"}, {"3"}},          {1, 2, 4}},
        {"spaces stay",         " a , b \n",                  {{" a ", " b "}},                  {1}},
        {"Japanese text",       "角度,３\n１２,半角ｶﾅ\n",       {{"角度", "３"}, {"１２", "半角ｶﾅ"}}, {1, 2}},
        {"four-byte character", "\xF0\x9F\x98\x80\n",         {{"\xF0\x9F\x98\x80"}},            {1}},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (const std::size_t chunk : kChunkSizes) {
            const Reading reading = Read(c.input, chunk);
            EXPECT_EQ(reading.last, CsvReader::Result::End) << c.name << ", chunk " << chunk;
            EXPECT_EQ(reading.records, c.records) << c.name << ", chunk " << chunk;
            EXPECT_EQ(reading.lines, c.lines) << c.name << ", chunk " << chunk;
        }
    }
}

TEST(CsvReaderTest, MalformedInputNamesItsLineAfterTheRecordsBeforeIt) {
    const struct {
        const char* name;
        std::string input;
        std::size_t records;  // read whole before the fault
        std::size_t line;
        const char* problem;
        // clang-format off
    } cases[] = {
        {"quote never closed",    "a\n1\n\"open\n2\n",     2, 3, "the quote that opens a cell here is never closed"},
        {"text after a quote",    "a\n\"x\"y\n",           1, 2, "text after the closing quote of a cell"},
        {"quote after a quote",   "a\n\"x\"\"\"y\n",       1, 2, "text after the closing quote of a cell"},
        {"quote inside a cell",   "a\nx\"y\"\n",           1, 2, "a quote inside a cell that does not start with one"},
        {"too many cells",        "a,b\n1,2\n\n1,2,3\n",   3, 4, "more cells than the header's 2"},
        {"too many, empty",       "a,b\n1,2,\n",           1, 2, "more cells than the header's 2"},
        {"not UTF-8",             "a\n1\n\xFF\n",          2, 3, "bytes that are not UTF-8 text"},
        {"Latin-1 in a cell",     "a\n1\ncaf\xE9\n",       2, 3, "bytes that are not UTF-8 text"},
        {"cut character",         "a\n\xE3\x81\n",         1, 2, "bytes that are not UTF-8 text"},
        {"ends in a character",   "a\n\xE3\x81",           1, 2, "the input ends inside a UTF-8 character"},
        {"overlong form",         "a\n\xC0\xAF\n",         1, 2, "bytes that are not UTF-8 text"},
        {"overlong three bytes",  "a\n\xE0\x80\xAF\n",     1, 2, "bytes that are not UTF-8 text"},
        {"surrogate",             "a\n\xED\xA0\x80\n",     1, 2, "bytes that are not UTF-8 text"},
        {"beyond U+10FFFF",       "a\n\xF4\x90\x80\x80\n", 1, 2, "bytes that are not UTF-8 text"},
        {"NUL byte",              std::string("a\nx\0y\n", 6), 1, 2, "a NUL byte, which no text holds"},
        {"bad byte in quotes",    "a\n\"1\n\xFF\"\n",      1, 3, "bytes that are not UTF-8 text"},
        {"bad byte after a mark", "\xEF\xBB\xBF\xFF",      0, 1, "bytes that are not UTF-8 text"},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (const std::size_t chunk : kChunkSizes) {
            const Reading reading = Read(c.input, chunk, 2);
            EXPECT_EQ(reading.last, CsvReader::Result::Malformed) << c.name << ", chunk " << chunk;
            EXPECT_EQ(reading.records.size(), c.records) << c.name << ", chunk " << chunk;
            EXPECT_EQ(reading.problemLine, c.line) << c.name << ", chunk " << chunk;
            EXPECT_EQ(reading.problem, c.problem) << c.name << ", chunk " << chunk;
        }
    }
}

TEST(CsvReaderTest, LongCellsArriveCutAndMarkedWithTheirRecordIntact) {
    for (const std::size_t chunk : kChunkSizes) {
        const std::string huge(200000, '7');
        const Reading reading = Read("a,b\n" + huge + ",\"12345" + huge + "\"\n1,2\n", chunk, 2, 4);
        EXPECT_EQ(reading.last, CsvReader::Result::End);
        EXPECT_EQ(reading.records, (Records{{"a", "b"}, {"7777...", "1234..."}, {"1", "2"}})) << chunk;
        EXPECT_EQ(reading.lines, (std::vector<std::size_t>{1, 2, 3}));
    }
    // A cell of exactly the limit is whole.
    EXPECT_EQ(Read("abcd\n", 1, 0, 4).records, Records{{"abcd"}});
}

}  // namespace
}  // namespace mirabo
