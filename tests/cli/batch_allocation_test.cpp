// Batch mode allocates nothing per row: ten rows and ten thousand of the same
// rows cost the same allocations, so memory stays flat however long the input.
// Its own program, since it counts every allocation the process makes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/cp932_source.h"
#include "cli/run_calc.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace mirabo {
namespace {

class Discard : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The allocations of one batch run over the rows, `times` over.
long AllocationsOf(const std::vector<std::string>& args, const std::string& header, const std::string& rows,
                   int times) {
    std::string input = header;
    for (int i = 0; i < times; ++i) {
        input += rows;
    }
    std::istringstream in(input);
    Discard discard;
    std::ostream out(&discard);
    std::ostringstream err;
    CliEnvironment env{out, err, nullptr, &in};
    const long before = allocations;
    const int status = RunCalc(args, env);
    const long counted = allocations - before;
    EXPECT_EQ(status, 0) << err.str();
    return counted;
}

TEST(BatchAllocationTest, RowsCostNoAllocation) {
    // Every outcome: written, missing, NaN, a question, a text too long (kept
    // to be written back), quotes.
    const std::string rows = "3,4,,,\n1,,,,\n0,0,,,\n,3,,0,\n" + std::string(120, '7') +
                             ",4,,,\n\"1,5\",\"say \"\"hi\"\"\",,,\n,,5,30,\n,,,,\n,,13,,67.38\n";
    const struct {
        std::vector<std::string> args;
        std::string header;
        std::string japanese;  // a row in the input's encoding
        // clang-format off
    } cases[] = {
        {{"right", "--batch"},                         "a,b,c,alpha,beta\n", "３,4,,,\n"},
        {{"right", "--batch", "--yes", "--json"},      "a,b,c,α,β\n",        "３,4,,,\n"},
        {{"oblique", "--batch", "--no"},               "a,b,c,alpha,beta\n", "３,4,,,\n"},
        {{"rotate", "--batch", "--encoding", "cp932"}, "x,y,angle,x2,y2\n",  "\x82\x52,4,,,\n"},
        // A column carried through, its cell kept row after row.
        {{"right", "--batch", "--json"},               "a,b,c,alpha,beta,備考\n", "３,4,,,,a note of more than a few words\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        if (c.args.back() == "cp932" && !Cp932Source::Available()) {
            continue;  // refused where the system cannot convert CP932
        }
        const long ten = AllocationsOf(c.args, c.header, rows + c.japanese, 1);
        const long many = AllocationsOf(c.args, c.header, rows + c.japanese, 1000);
        EXPECT_GT(ten, 0);  // the buffers, allocated once
        EXPECT_EQ(many, ten) << c.args[0] << " " << c.args.back();
    }
}

}  // namespace
}  // namespace mirabo
