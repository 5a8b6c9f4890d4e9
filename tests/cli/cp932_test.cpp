#include "cli/cp932_source.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/run_calc.h"
#include "tests/cli/chunk_source.h"

namespace mirabo {
namespace {

// Everything the source gives, and how it ended.
struct Decoded {
    std::string text;
    ByteSource::Failure failure;
    std::string problem;
};

Decoded Decode(const std::string& cp932, std::size_t chunk) {
    ChunkSource raw(cp932, chunk);
    Cp932Source source(raw);
    Decoded decoded;
    char buffer[7];  // small, so that reads end everywhere too
    while (const std::size_t n = source.Read(buffer)) {
        decoded.text.append(buffer, n);
    }
    decoded.failure = source.Failed();
    decoded.problem = source.Problem();
    return decoded;
}

// The conversions, where the system has a converter for CP932.
class Cp932ConversionTest : public testing::Test {
protected:
    void SetUp() override {
        if (!Cp932Source::Available()) {
            GTEST_SKIP() << "this system has no converter for CP932";
        }
    }
};

TEST_F(Cp932ConversionTest, JapaneseTextBecomesUtf8) {
    const struct {
        const char* name;
        std::string cp932;
        std::string utf8;
        // clang-format off
    } cases[] = {
        {"ASCII",                "a,b\r\n3,4\r\n",         "a,b\r\n3,4\r\n"},
        {"Greek names",          "\x83\xbf,\x83\xc0",      "α,β"},
        {"full-width digit",     "\x82\x52",               "３"},
        {"kanji",                "\x8a\x70\x93\x78",       "角度"},
        {"half-width katakana",  "\xb1",                   "ｱ"},
        {"trail byte 0x5C",      "\x81\x5c",               "―"},
        {"0x5C alone",           "\x5c",                   "\\"},
        {"wave dash of Windows", "\x81\x60",               "～"},
        {"NEC circled digit",    "\x87\x40",               "①"},
        {"IBM kanji",            "\xfb\xfc",               "髙"},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (const std::size_t chunk : kChunkSizes) {
            const Decoded decoded = Decode(c.cp932, chunk);
            EXPECT_EQ(decoded.text, c.utf8) << c.name << ", chunk " << chunk;
            EXPECT_EQ(decoded.failure, ByteSource::Failure::None) << c.name;
        }
    }
}

TEST_F(Cp932ConversionTest, BytesThatAreNoCp932StopAfterTheTextBeforeThem) {
    const struct {
        const char* name;
        std::string cp932;
        std::string before;
        const char* problem;
        // clang-format off
    } cases[] = {
        {"bad trail byte", "a\n\x82\x52\x81\x20z",  "a\n３", "bytes that are not CP932 text"},
        {"lead at the end", "a\n\x82\x52\x82",      "a\n３", "the input ends inside a CP932 character"},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (const std::size_t chunk : kChunkSizes) {
            const Decoded decoded = Decode(c.cp932, chunk);
            EXPECT_EQ(decoded.text, c.before) << c.name << ", chunk " << chunk;
            EXPECT_EQ(decoded.failure, ByteSource::Failure::Malformed) << c.name;
            EXPECT_EQ(decoded.problem, c.problem) << c.name;
        }
    }
}

TEST(Cp932Test, LeadBytesAreNeverSplitFromTheirTrailBytes) {
    const struct {
        std::string bytes;
        std::size_t whole;
        // clang-format off
    } cases[] = {
        {"",               0},
        {"abc",            3},
        {"\x82",           0},
        {"\x82\x52",       2},
        {"a\x82\x52\x82",  3},
        {"\xb1\xb1",       2},  // half-width katakana are single bytes
        {"\xe0",           0},
        {"\xfc\x40\x9f",   2},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(Cp932WholePrefix(c.bytes), c.whole) << testing::PrintToString(c.bytes);
    }
}

struct BatchRun {
    int status;
    std::string out;
    std::string err;
};

BatchRun Cp932Batch(const std::vector<std::string>& extra, const std::string& cp932) {
    std::istringstream in(cp932);
    std::ostringstream out;
    std::ostringstream err;
    CliEnvironment env{out, err, nullptr, &in};
    std::vector<std::string> args = {"right", "--batch", "--encoding", "cp932"};
    args.insert(args.end(), extra.begin(), extra.end());
    const int status = RunCalc(args, env);
    return {status, out.str(), err.str()};
}

TEST_F(Cp932ConversionTest, BatchReadsASpreadsheetsJapaneseCsv) {
    // β,c as Greek letters in the header; cells in kanji, full-width digits
    // (read as digits) and half-width katakana, as a Japanese spreadsheet
    // saves them.
    const BatchRun run = Cp932Batch({"--bom"},
                                    "\x83\xc0,c\r\n"
                                    "36.87,5\r\n"
                                    "\x82\x52\x82\x55.87,5\r\n"
                                    "\x96\xa2\x92\xe8,\xb1\r\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "\xEF\xBB\xBF"
              "a,b,c,alpha,beta,status,message\r\n"
              "3.000,4.000,5.000,53.130,36.870,written,\r\n"
              "3.000,4.000,5.000,53.130,36.870,written,\r\n"
              ",,ｱ,,未定,missing,入力値が不足、 或いはタイプミス\r\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(Cp932ConversionTest, BatchNamesTheLineOfTextThatIsNoCp932AndJapaneseColumns) {
    const BatchRun bad = Cp932Batch({}, "a,b\r\n3,4\r\n\x81\x20,4\r\n3,4\r\n");
    EXPECT_EQ(bad.status, kExitMalformedInput);
    EXPECT_EQ(bad.out,
              "a,b,c,alpha,beta,status,message\r\n"
              "3.000,4.000,5.000,53.130,36.870,written,\r\n");
    EXPECT_EQ(bad.err, "mirabo-calc: line 3: bytes that are not CP932 text\n");

    const BatchRun column = Cp932Batch({}, "a,\x95\xd3\x62\r\n3,4\r\n");
    EXPECT_EQ(column.status, kExitUsage);
    EXPECT_EQ(column.out, "");
    EXPECT_EQ(column.err, "mirabo-calc: unknown column \"辺b\" of right (its fields: a b c alpha beta)\n");
}

TEST(Cp932Test, WithoutAConverterTheEncodingIsRefusedBeforeAnyRow) {
    if (Cp932Source::Available()) {
        GTEST_SKIP() << "this system converts CP932";
    }
    const BatchRun run = Cp932Batch({}, "a,b\r\n3,4\r\n");
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(
        run.err.starts_with("mirabo-calc: --encoding cp932: this system has no converter for CP932 text; "
                            "save the table as UTF-8\n"))
        << run.err;
}

}  // namespace
}  // namespace mirabo
