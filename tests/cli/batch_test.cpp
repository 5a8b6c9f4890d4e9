#include "cli/batch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "cli/cp932_source.h"
#include "cli/run_calc.h"
#include "tests/cli/calc_runs.h"

namespace mirabo {
namespace {

const std::string kMissing = "入力値が不足、 或いはタイプミス";
const std::string kMissingJson = "入力値が不足、\\n或いはタイプミス";
const std::string kNegative = "入力値が不足、或いはタイプミス 負の値は使用できません。";
const std::string kException = "例外が発生しました。 ０で除算したか、入力値が間違っています。";
const std::string kQuestion =
    "正常に表示出来ません。 引数及び結果が無限値、非数、 計算不可値である可能性があります 。 無視して表示しますか";
const std::string kNotAsked = " → no (not asked; --yes answers yes)";
const std::string kTooLong = ": longer than the 99 characters a field holds";
const std::string kCarried = "mirabo-calc: not fields of right (a b c alpha beta), carried through unchanged: ";

// Batch mode, on a terminal that it must never ask on.
CalcRun Batch(std::vector<std::string> args, std::istream& in) {
    args.insert(args.begin() + (args.empty() ? 0 : 1), "--batch");
    return InProcess(args, in, [](const std::string&) {
        ADD_FAILURE() << "batch mode asked a question";
        return true;
    });
}

CalcRun Batch(std::vector<std::string> args, const std::string& input) {
    std::istringstream in(input);
    return Batch(std::move(args), in);
}

// Fails at the first read, as a disk or a pipe can.
class FailingBuffer : public std::streambuf {
protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }
};

// The CSV lines, each with its "\r\n".
std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

TEST(BatchTest, RightTriangleRowsOfTheReadme) {
    const CalcRun run = Batch({"right"}, "a,b\n3,4\n1,\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Lines({"a,b,c,alpha,beta,status,message", "3.000,4.000,5.000,53.130,36.870,written,",
                              "1,,,,,missing," + kMissing}));
    EXPECT_EQ(run.err, "");
}

TEST(BatchTest, EachRowGetsItsStatusAndMessages) {
    const std::string digits99 = std::string(98, '0') + "3";
    // Full-width digits, as an input method types them: read as 3.
    std::string wide99;
    for (int i = 0; i < 98; ++i) {
        wide99 += "０";
    }
    wide99 += "３";
    const struct {
        std::vector<std::string> args;
        std::string input;
        std::string row;  // the output row after the header, without its line end
        // clang-format off
    } cases[] = {
        {{"right"},          "a,b\n3,4\n",       "3.000,4.000,5.000,53.130,36.870,written,"},
        {{"right"},          "β,c\n36.87,5\n",   "3.000,4.000,5.000,53.130,36.870,written,"},
        {{"right"},          "alpha,beta\n30,60\n", ",,,30,60,missing," + kMissing},
        {{"right"},          "a,b\n0,0\n",       "0,0,,,,refused," + kException},
        {{"right"},          "b,alpha\n3,0\n",   ",3,,0,,refused," + kQuestion + kNotAsked},
        {{"right", "--no"},  "b,alpha\n3,0\n",   ",3,,0,,refused," + kQuestion + " → no"},
        {{"right", "--yes"}, "b,alpha\n3,0\n",   "∞,3.000,∞,0.000,90.000,written," + kQuestion + " → yes"},
        {{"oblique"},        "a,b,c\n7,8,9\n",   "7.000,8.000,9.000,58.412,48.190,73.398,written,"},
        {{"oblique"},        "a,b,c\n1,2,\n",    "1,2,,,,,missing," + kNegative},
        {{"rotate"},         "x,y,angle\n1,0,90\n", "1,0,+90.000,-0.000,+1.000,written,"},
        {{"rotate"},         "x,y\n1,0\n",       "1,0,,,,missing," + kMissing},
        {{"ohm"},            "I,p\n0.16,0.47\n", "2.938,0.160,18.359,0.470,written,"},
        {{"ohm", "--yes"},   "I,P\n0,5\n",       "∞,0.000,∞,5.000,written," + kQuestion + " → yes"},
        {{"ohm"},            "V\n5\n",           "5,,,,missing," + kMissing},
        // Cells are typed as they stand, and come back quoted where CSV needs it.
        {{"right"},          "a,b\n\"1,5\",4\n", "\"1,5\",4,,,,missing," + kMissing},
        {{"right"},          "a,b\n\"say \"\"3\"\"\",\"4\n\"\n", "\"say \"\"3\"\"\",\"4\n\",,,,missing," + kMissing},
        {{"right"},          "a,b\n 3,4\n",      " 3,4,,,,missing," + kMissing},
        {{"right"},          "a,b\n\n",          ",,,,,missing," + kMissing},
        // 99 characters fit a field, counted as characters, not bytes.
        {{"right"},          "a,b\n" + digits99 + ",4\n", "3.000,4.000,5.000,53.130,36.870,written,"},
        {{"right"},          "a,b\n" + wide99 + ",4\n", "3.000,4.000,5.000,53.130,36.870,written,"},
        // More are refused with the field named, never cut, and come back as read.
        {{"right"},          "a,b\n" + digits99 + "0,4\n", digits99 + "0,4,,,,refused,a" + kTooLong},
        {{"right"},          "a,b\n" + wide99 + "３,4\n", wide99 + "３,4,,,,refused,a" + kTooLong},
        {{"right"},          "β,a\n" + std::string(5000, '1') + "," + digits99 + "0\n",
                             digits99 + "0,,,," + std::string(5000, '1') + ",refused,a" + kTooLong + " / beta" + kTooLong},
        {{"right"},          "a,b\n\"" + digits99 + ",\",4\n", "\"" + digits99 + ",\",4,,,,refused,a" + kTooLong},
        // Counted in UTF-16 units, as the dialogs count them: a character
        // beyond U+FFFF takes two, and one that would cross the limit is
        // not cut in half either.
        {{"right"},          "a,b\n" + digits99.substr(2) + kEmoji + ",4\n",
                             digits99.substr(2) + kEmoji + ",4,,,,missing," + kMissing},
        {{"right"},          "a,b\n" + digits99.substr(1) + kEmoji + ",4\n",
                             digits99.substr(1) + kEmoji + ",4,,,,refused,a" + kTooLong},
        {{"right"},          "a,b\n" + kEmoji + digits99.substr(1) + ",4\n",
                             kEmoji + digits99.substr(1) + ",4,,,,refused,a" + kTooLong},
    };
    // clang-format on
    for (const auto& c : cases) {
        const CalcRun run = Batch(c.args, c.input);
        EXPECT_EQ(run.status, 0) << c.input;
        const std::size_t headerEnd = run.out.find("\r\n") + 2;
        EXPECT_EQ(run.out.substr(headerEnd), c.row + "\r\n") << c.input;
        EXPECT_EQ(run.err, "");
    }
}

TEST(BatchTest, EveryRowIsReadWhateverTheRowsBefore) {
    const CalcRun run = Batch({"ohm"}, "V,I,R\n1,2,\n,,\n0,0,\nx,1,\n3,,3\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Lines({"V,I,R,P,status,message", "1.000,2.000,0.500,2.000,written,",
                              ",,,,missing," + kMissing, "0,0,,,refused," + kException,
                              "x,1,,,missing," + kMissing, "3.000,1.000,3.000,3.000,written,"}));
}

TEST(BatchTest, JsonLinesCarryTheObjectOfOneCalculationWithTheRowsStatus) {
    const CalcRun run = Batch({"right", "--json"}, "a,b\n3,4\n" + std::string(100, '1') + ",\n1,\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(
        run.out,
        kRightJson345 + "}\n" +
        R"({"form":"right","result":null,"written":false,"fields":{"a":")" + std::string(100, '1') +
        R"(","b":"","c":"","alpha":"","beta":""},"messages":[],"focus":null,"status":"refused","message":"a)" +
            kTooLong + "\"}\n" +
            R"({"form":"right","result":1,"written":false,"fields":{"a":"1","b":"","c":"","alpha":"",)"
            R"("beta":""},"messages":[{"text":"入力値が不足、\n或いはタイプミス","buttons":"ok","answer":"ok",)"
            R"("id":"missing_input"}],"focus":"a","status":"missing","message":"入力値が不足、 或いはタイプミス"})"
            "\n");
}

// A cell comes back as it was typed: in CSV byte for byte, quoted where a
// comma, a quote or a line break needs it; in JSON Lines with the quote, the
// backslash and every control character escaped. Bytes that are no UTF-8 text
// are never read as some other character: the input stops at them.
TEST(BatchTest, EveryKindOfCharacterComesBackQuotedOrEscapedAsItsFormatNeeds) {
    // The C0 controls without an escape of their own, DEL and the C1 controls.
    std::string controls;
    std::string escaped = "\"";
    for (unsigned c = 1; c < 0xA0; c = c == 0x1F ? 0x7F : c + 1) {
        if (c == '\t' || c == '\n' || c == '\r') continue;
        controls += (c < 0x80 ? "" : "\xC2") + std::string(1, static_cast<char>(c));
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", c);
        escaped += escape;
    }
    // The first and last characters of two, three and four bytes.
    const std::string utf8 =
        "\xC2\xA0\xDF\xBF\xE0\xA0\x80\xE0\xBF\xBF\xE1\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
    const struct {
        std::string cell;  // the input's only cell, quoted there
        std::string csv;   // as the CSV row writes it; empty: the input stops there
        std::string json;  // as the JSON line writes it
        // why the input stops, when it does
        std::string problem = "bytes that are not UTF-8 text";
        // clang-format off
    } cases[] = {
        {"1,5",       "\"1,5\"",            R"("1,5")"},
        {"say \"3\"", "\"say \"\"3\"\"\"", R"("say \"3\"")"},
        {"1\r2",      "\"1\r2\"",           R"("1\r2")"},
        {"1\n2",      "\"1\n2\"",           R"("1\n2")"},
        {"1\r\n2",    "\"1\r\n2\"",         R"("1\r\n2")"},
        {"1\t2",      "1\t2",               R"("1\t2")"},
        {"C:\\x",     "C:\\x",              R"("C:\\x")"},
        {controls,    controls,             escaped + "\""},
        {utf8,        utf8,                 "\"" + utf8 + "\""},
        // A lone continuation byte, leads followed by no continuation byte, a
        // surrogate and a character past U+10FFFF.
        {"1\x80", "", ""}, {"1\xC3" "2", "", ""}, {"1\xE1\x80" "2", "", ""}, {"1\xF0\x90\x80" "2", "", ""},
        {"\xED\xA0\x80", "", ""}, {"\xF4\x90\x80\x80", "", ""},
        // Overlong forms, and bytes that start nothing.
        {"\xC0\xB1", "", ""}, {"\xE0\x80\xB1", "", ""}, {"1\xFF", "", ""}, {"1\xFE", "", ""},
        // NUL, the one C0 control no text holds.
        {std::string("1\0" "2", 3), "", "", "a NUL byte, which no text holds"},
    };
    // clang-format on
    const std::string& header = kRightHeader;
    for (const auto& c : cases) {
        std::string input = "a\n\"";
        for (const char ch : c.cell) input += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        for (const bool json : {false, true}) {
            const CalcRun run =
                Batch(json ? std::vector<std::string>{"right", "--json"} : std::vector<std::string>{"right"},
                      input + "\"\n");
            if (c.csv.empty()) {
                EXPECT_EQ(run.status, kExitMalformedInput) << c.cell;
                EXPECT_EQ(run.out, json ? "" : header) << c.cell;
                EXPECT_EQ(run.err, "mirabo-calc: line 2: " + c.problem + "\n") << c.cell;
            } else {
                EXPECT_EQ(run.out,
                          json ? R"({"form":"right","result":1,"written":false,"fields":{"a":)" + c.json +
                                     R"(,"b":"","c":"","alpha":"","beta":""},"messages":[{"text":")" +
                                     kMissingJson + R"(","buttons":"ok","answer":"ok","id":"missing_input"}],"focus":"a",)" +
                                     R"("status":"missing","message":")" + kMissing + "\"}\n"
                               : header + c.csv + ",,,,,missing," + kMissing + "\r\n");
            }
        }
    }
}

TEST(BatchTest, HeaderAndArgumentFaultsAreUsageErrors) {
    const struct {
        std::vector<std::string> args;
        std::string input;
        const char* says;
        // clang-format off
    } cases[] = {
        {{"right"},            "a,b,a\n",      "column a given twice"},
        {{"right"},            "alpha,α\n",    "column alpha given twice"},
        {{"right"},            "ID,a,ID\n",    "column \"ID\" given twice"},
        {{"right"},            "a,,b,\n",      "column \"\" given twice"},
        {{"right"},            "\x1b[2J,a,\x1b[2J\n", "column \"\\x1b[2J\" given twice"},
        {{"right", "--yes", "--no"}, "a\n",    "--yes and --no together"},
        {{"square"},           "a\n",          "unknown form square"},
        {{},                   "a\n",          "no form given"},
        {{"right", "--encoding", "latin1"}, "a\n", "unknown encoding latin1"},
        {{"right", "--encoding"}, "a\n",       "--encoding needs a name"},
        {{"right", "a.csv", "b.csv"}, "a\n",   "one input file only"},
        {{"right", "a=3"},     "a\n",          "NAME=TEXT does not go with --batch"},
        {{"right", "--verbose"}, "a\n",        "unknown option --verbose"},
        {{"right", "--json=yes"}, "a\n",       "--json takes no value: --json=yes"},
        {{"right", "--", "a.csv", "--json"}, "a\n", "one input file only: --json"},
        // What was typed or read is shown terminal-safe.
        {{"r\night"},          "a\n",          "unknown form r\\night"},
        {{"right", "--encoding", "\x9b"}, "a\n", "unknown encoding \\x9b"},
        {{"right", "a.csv", "\r"}, "a\n",     "one input file only: \\r"},
        {{"right", "a=\x07"}, "a\n",          "(a=\\x07)"},
        {{"right", "-\x7f"},   "a\n",          "unknown option -\\x7f"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const CalcRun run = Batch(c.args, c.input);
        EXPECT_EQ(run.status, kExitUsage) << c.says;
        EXPECT_EQ(run.out, "") << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        // The message is one line, whatever was typed.
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
        EXPECT_EQ(run.err.find('\r'), std::string::npos);
    }
}

// Columns that are no field of the form come back unchanged: in CSV before
// the form's fields when they come before the first field column, after them
// otherwise; in JSON Lines as "carried", by name. One line says which.
TEST(BatchTest, ColumnsThatAreNoFieldAreCarriedThroughInTheirPlace) {
    const std::string& json345 = kRightJson345;
    const std::string note(20000, 'x');
    const struct {
        std::vector<std::string> args;
        std::string input;
        std::string out;
        std::string err;
        // clang-format off
    } cases[] = {
        {{"right"}, "ID,a,b,備考\n7,3,4,メモ\n",
         Lines({"ID,a,b,c,alpha,beta,備考,status,message", "7,3.000,4.000,5.000,53.130,36.870,メモ,written,"}),
         kCarried + "\"ID\", \"備考\"\n"},
        {{"right"}, "a,q\n3,4\n", Lines({"a,b,c,alpha,beta,q,status,message", "3,,,,,4,missing," + kMissing}),
         kCarried + "\"q\"\n"},
        // A column between two fields goes after them; a name in another
        // letter case is no field's.
        {{"right"}, "a,A,b\n3,x,4\n",
         Lines({"a,b,c,alpha,beta,A,status,message", "3.000,4.000,5.000,53.130,36.870,x,written,"}),
         kCarried + "\"A\"\n"},
        {{"right"}, "gamma,\"no, te\",a,b\n1,\"say \"\"hi\"\"\",3,4\n",
         Lines({"gamma,\"no, te\",a,b,c,alpha,beta,status,message",
                "1,\"say \"\"hi\"\"\",3.000,4.000,5.000,53.130,36.870,written,"}),
         kCarried + "\"gamma\", \"no, te\"\n"},
        {{"right"}, "a, b,\n3,4\n", Lines({"a,b,c,alpha,beta, b,,status,message", "3,,,,,4,,missing," + kMissing}),
         kCarried + "\" b\", \"\"\n"},
        // Rows with fewer cells leave the carried ones empty; a long note stays whole.
        {{"right"}, "a,b,note\n3,4," + note + "\n3,4\n",
         Lines({"a,b,c,alpha,beta,note,status,message", "3.000,4.000,5.000,53.130,36.870," + note + ",written,",
                "3.000,4.000,5.000,53.130,36.870,,written,"}),
         kCarried + "\"note\"\n"},
        {{"right"}, "\n3\n", Lines({",a,b,c,alpha,beta,status,message", "3,,,,,,missing," + kMissing}),
         kCarried + "\"\"\n"},
        // Names are shown terminal-safe in the notice and kept as read.
        {{"right"}, "a,\x1b[2Jb\n3,4\n",
         Lines({"a,b,c,alpha,beta,\x1b[2Jb,status,message", "3,,,,,4,missing," + kMissing}),
         kCarried + "\"\\x1b[2Jb\"\n"},
        {{"right", "--json"}, "ID,a,b,備考\n7,3,4,\"メモ\n\"\"1\"\"\"\n",
         json345 + R"(,"carried":{"ID":"7","備考":"メモ\n\"1\""}})" "\n", kCarried + "\"ID\", \"備考\"\n"},
        {{"right", "--json"}, "a,b\n3,4\n", json345 + "}\n", ""},
        {{"ohm"}, "v,i,W\n1,2,x\n", Lines({"V,I,R,P,W,status,message", "1.000,2.000,0.500,2.000,x,written,"}),
         "mirabo-calc: not fields of ohm (V I R P), carried through unchanged: \"W\"\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input.substr(0, 40));
        const CalcRun run = Batch(c.args, c.input);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
}

TEST(BatchTest, MalformedInputStopsAfterTheRowsBeforeItAndNamesTheLine) {
    const struct {
        std::string input;
        std::vector<std::string> rows;  // written before stopping
        const char* says;
        // clang-format off
    } cases[] = {
        {"a,b\n3,4\n\"1,\n",      {"3.000,4.000,5.000,53.130,36.870,written,"},
                                  "mirabo-calc: line 3: the quote that opens a cell here is never closed\n"},
        {"a,b\n3,4\n3,4,5\n3,4\n", {"3.000,4.000,5.000,53.130,36.870,written,"},
                                  "mirabo-calc: line 3: more cells than the header's 2\n"},
        {"a,b\n\"3\n\",4\n\xFF",  {"\"3\n\",4,,,,missing," + kMissing},
                                  "mirabo-calc: line 4: bytes that are not UTF-8 text\n"},
        {"a,\xC3\n",              {}, "mirabo-calc: line 1: bytes that are not UTF-8 text\n"},
        // A cell too long to be given back whole.
        {"a,b\n3,4\n" + std::string(kBatchCellLimit + 1, '1') + ",4\n3,4\n",
                                  {"3.000,4.000,5.000,53.130,36.870,written,"},
                                  "mirabo-calc: line 3: a cell longer than 1048576 bytes\n"},
        {"a,b," + std::string(kBatchCellLimit + 1, 'x') + "\n3,4\n", {},
                                  "mirabo-calc: line 1: a cell longer than 1048576 bytes\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const CalcRun run = Batch({"right"}, c.input);
        EXPECT_EQ(run.status, kExitMalformedInput) << c.says;
        std::vector<std::string> lines = c.rows;
        if (!c.rows.empty()) {
            lines.insert(lines.begin(), "a,b,c,alpha,beta,status,message");
        }
        EXPECT_EQ(run.out, Lines(lines)) << c.says;
        EXPECT_EQ(run.err, c.says);
    }
}

TEST(BatchTest, ByteOrderMarksAndEmptyInputs) {
    const std::string& header = kRightHeader;
    const struct {
        std::vector<std::string> args;
        std::string input;
        std::string out;
        // clang-format off
    } cases[] = {
        {{"right"},            "",                            header},
        {{"right"},            "a,b\n",                       header},
        {{"right"},            "\xEF\xBB\xBF" "a,b\r\n3,4\r\n", header + kRightRow345},
        {{"right", "--bom"},   "a\n",                         "\xEF\xBB\xBF" + header},
        {{"right", "--bom", "--json"}, "a\n",                 "\xEF\xBB\xBF"},
        {{"right", "--json"},  "a\n",                         ""},
        {{"right", "--encoding=UTF-8"}, "a\n",                header},
    };
    // clang-format on
    for (const auto& c : cases) {
        const CalcRun run = Batch(c.args, c.input);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, c.out) << c.input;
    }
}

TEST(BatchTest, ReadsASpreadsheetsJapaneseCsvInCp932) {
    if (!Cp932Source::Available()) GTEST_SKIP() << "this system has no converter for CP932";
    // β,c as Greek letters in the header; cells in kanji, full-width digits
    // (read as digits) and half-width katakana, as a Japanese spreadsheet
    // saves them.
    const CalcRun run = Batch({"right", "--encoding", "cp932", "--bom"},
                               "\x83\xc0,c\r\n"
                               "36.87,5\r\n"
                               "\x82\x52\x82\x55.87,5\r\n"
                               "\x96\xa2\x92\xe8,\xb1\r\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "\xEF\xBB\xBF" + kRightHeader + kRightRow345 + kRightRow345 +
                           ",,ｱ,,未定,missing,入力値が不足、 或いはタイプミス\r\n");
    EXPECT_EQ(run.err, "");
}

TEST(BatchTest, NamesTheLineOfTextThatIsNoCp932AndJapaneseColumns) {
    if (!Cp932Source::Available()) GTEST_SKIP() << "this system has no converter for CP932";
    const CalcRun bad = Batch({"right", "--encoding", "cp932"}, "a,b\r\n3,4\r\n\x81\x20,4\r\n3,4\r\n");
    EXPECT_EQ(bad.status, kExitMalformedInput);
    EXPECT_EQ(bad.out, kRightHeader + kRightRow345);
    EXPECT_EQ(bad.err, "mirabo-calc: line 3: bytes that are not CP932 text\n");

    const CalcRun column = Batch({"right", "--encoding", "cp932"}, "a,\x95\xd3\x62\r\n3,4\r\n");
    EXPECT_EQ(column.status, 0);
    EXPECT_EQ(column.out, "a,b,c,alpha,beta,辺b,status,message\r\n3,,,,,4,missing," + kMissing + "\r\n");
    EXPECT_EQ(column.err, kCarried + "\"辺b\"\n");
}

TEST(BatchTest, WithoutACp932ConverterTheEncodingIsRefusedBeforeAnyRow) {
    if (Cp932Source::Available()) GTEST_SKIP() << "this system converts CP932";
    const CalcRun run = Batch({"right", "--encoding", "cp932"}, "a,b\r\n3,4\r\n");
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(
        run.err.starts_with("mirabo-calc: --encoding cp932: this system has no converter for CP932 text; "
                            "save the table as UTF-8\n"))
        << run.err;
}

TEST(BatchTest, ReadsTheNamedFileOrStandardInput) {
    const std::string path = testing::TempDir() + "mirabo_batch_input.csv";
    std::ofstream(path, std::ios::binary) << "a,b\r\n3,4\r\n";
    EXPECT_EQ(Batch({"right", path}, "").out.substr(33), kRightRow345);
    EXPECT_EQ(Batch({"right", "-"}, "a,b\n3,4\n").out.substr(33), kRightRow345);
    std::remove(path.c_str());
    const CalcRun missing = Batch({"right", path}, "a,b\n3,4\n");
    EXPECT_EQ(missing.status, kExitNoInput);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "mirabo-calc: cannot open " + path + "\n");
}

// Input that cannot be read ends the run with 74 and says so, in either encoding.
TEST(BatchTest, InputThatCannotBeReadEndsWithItsStatusAndMessage) {
    const std::filesystem::path folder = testing::TempDir() + "mirabo batch \x1b[2J";
    for (const std::string encoding : {"utf-8", "cp932"}) {
        // Without a converter, cp932 is refused before anything is read (below).
        if (encoding == "cp932" && !Cp932Source::Available()) continue;
        SCOPED_TRACE(encoding);
#ifndef __EMSCRIPTEN__
        // (A WebAssembly build does not catch exceptions, so its streams cannot
        // be failed this way; the folder below fails them there too.)
        FailingBuffer bytes;
        std::istream failing(&bytes);
        const CalcRun failed = Batch({"right", "--encoding", encoding}, failing);
        EXPECT_EQ(failed.status, kExitIoError);
        EXPECT_EQ(failed.out, "");
        EXPECT_EQ(failed.err, "mirabo-calc: line 1: the input could not be read\n");
#endif
#ifndef _WIN32
        // A folder opens here, and then cannot be read; its name is shown terminal-safe.
        std::filesystem::create_directory(folder);
        const CalcRun unreadable = Batch({"right", "--encoding", encoding, folder.string()}, "");
        EXPECT_EQ(unreadable.status, kExitIoError);
        EXPECT_EQ(unreadable.out, "");
        EXPECT_EQ(unreadable.err, "mirabo-calc: " + testing::TempDir() +
                                      "mirabo batch \\x1b[2J, line 1: the input could not be read\n");
        std::filesystem::remove(folder);
#endif
    }
}

TEST(BatchTest, HelpShowsAnExampleThatIsWhatTheProgramDoes) {
    const CalcRun run = InProcess({"--help"});
    ASSERT_EQ(run.status, 0);
    std::istringstream help(run.out);
    std::string line;
    while (std::getline(help, line) && !line.starts_with("  $ printf '")) {}
    ASSERT_TRUE(line.ends_with("' | mirabo-calc right --batch")) << line;
    std::string input = line.substr(line.find('\'') + 1);
    input = input.substr(0, input.find('\''));
    for (std::size_t at; (at = input.find("\\n")) != std::string::npos;) {
        input.replace(at, 2, "\n");
    }
    std::vector<std::string> shown;
    while (std::getline(help, line) && line.starts_with("  ")) {
        shown.push_back(line.substr(2));
    }
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_EQ(Batch({"right"}, input).out, Lines(shown));
}

}  // namespace
}  // namespace mirabo
