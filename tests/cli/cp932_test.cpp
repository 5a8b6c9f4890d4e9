#include "cli/cp932_source.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace mirabo
