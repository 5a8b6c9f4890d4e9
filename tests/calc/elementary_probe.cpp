// elementary_probe: the elementary functions of two builds (say Linux and
// Windows) over the same inputs, compared in units in the last place.
//
//   elementary_probe run RESULTS          every function over its inputs: near
//                                         each multiple of 90 degrees (with the
//                                         program's pi) and spread over its
//                                         range; one line each, in hex
//   elementary_probe compare RESULTS RESULTS
//                                         the largest distance per function;
//                                         fails past MAX ulp (1 unless given)
//
// The inputs come from a fixed generator of bits, the same on every build.
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "calc/angles.h"
#include "calc/conversions.h"
#include "calc/elementary.h"

namespace {

// A generator whose numbers are the same on every build (splitmix64).
struct Bits {
    std::uint64_t state = 20261207;
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [low, high), from 53 bits.
    double Between(double low, double high) {
        return low + (high - low) * (static_cast<double>(Next() >> 11) * 0x1p-53);
    }
};

// A double's bits, and the double of these bits.
std::uint64_t BitsOf(double x) { return mirabo::BitCast<std::uint64_t>(x); }
double FromBits(std::uint64_t b) { return mirabo::BitCast<double>(b); }

constexpr int kSpread = 40000;  // inputs spread over each function's range
constexpr int kNear = 400;      // neighbours on each side of each multiple of 90 degrees

int Run(const char* path) {
    std::ofstream out(path, std::ios::binary);
    Bits bits;
    char line[96];
    const auto write = [&](const char* name, double x, double y) {
        std::snprintf(line, sizeof line, "%s %016" PRIx64 " %016" PRIx64 "\n", name, BitsOf(x), BitsOf(y));
        out << line;
    };
    // Sine, cosine and tangent next to every multiple of 90 degrees from -720
    // to 720, as the calculators reach them (degrees through the program's pi),
    // and a few hundred neighbouring doubles on each side.
    for (int k = -8; k <= 8; ++k) {
        if (k == 0) continue;
        const double centre = mirabo::DegreesToRadians(90.0 * k);
        for (int step = -kNear; step <= kNear; ++step) {
            const double x = FromBits(BitsOf(centre) + static_cast<std::uint64_t>(static_cast<std::int64_t>(step)));
            write("sin", x, mirabo::Sin(x));
            write("cos", x, mirabo::Cos(x));
            write("tan", x, mirabo::Tan(x));
        }
    }
    for (int i = 0; i < kSpread; ++i) {
        const double degrees = bits.Between(-1000.0, 1000.0);
        const double x = mirabo::DegreesToRadians(degrees);
        write("sin", x, mirabo::Sin(x));
        write("cos", x, mirabo::Cos(x));
        write("tan", x, mirabo::Tan(x));
        const double ratio = bits.Between(-1.0, 1.0);
        write("asin", ratio, mirabo::Asin(ratio));
        write("acos", ratio, mirabo::Acos(ratio));
        const double slope = FromBits(bits.Next() & 0x7FEFFFFFFFFFFFFFULL) * (bits.Next() % 2 ? 1 : -1);
        write("atan", slope, mirabo::Atan(slope));
        const double positive = FromBits(0x3FF0000000000000ULL | (bits.Next() >> 12)) * std::ldexp(1.0, static_cast<int>(bits.Next() % 200) - 100);
        write("sqrt", positive, mirabo::Sqrt(positive));
        // The calculators square with the power; 2.0 goes with the input.
        const double side = bits.Between(-1e9, 1e9) * (bits.Next() % 2 ? 1.0 : 1e-9);
        write("pow2", side, mirabo::Pow(side, 2.0));
        const double base = bits.Between(0.001, 1000.0), exponent = bits.Between(-10.0, 10.0);
        write("pow", base, mirabo::Pow(base, exponent));
    }
    return out ? 0 : 1;
}

std::uint64_t UlpDistance(double a, double b) {
    if (BitsOf(a) == BitsOf(b)) return 0;
    if (a != a || b != b || std::signbit(a) != std::signbit(b)) return UINT64_MAX;
    const std::uint64_t x = BitsOf(a), y = BitsOf(b);
    return x > y ? x - y : y - x;
}

int Compare(const char* leftPath, const char* rightPath, std::uint64_t allowed) {
    std::ifstream left(leftPath, std::ios::binary), right(rightPath, std::ios::binary);
    struct Tally {
        long inputs = 0, differ = 0;
        std::uint64_t largest = 0;
        std::string worst;
    };
    std::map<std::string, Tally> tallies;
    std::string ln, rn, lx, rx, ly, ry;
    long lines = 0;
    while (left >> ln >> lx >> ly) {
        if (!(right >> rn >> rx >> ry) || ln != rn || lx != rx) {
            std::cout << "line " << lines + 1 << " is not the same input in both\n";
            return 1;
        }
        ++lines;
        Tally& t = tallies[ln];
        ++t.inputs;
        const std::uint64_t ulp = UlpDistance(FromBits(std::strtoull(ly.c_str(), nullptr, 16)),
                                              FromBits(std::strtoull(ry.c_str(), nullptr, 16)));
        if (ulp == 0) continue;
        ++t.differ;
        if (ulp > t.largest) {
            t.largest = ulp;
            t.worst = lx;
        }
    }
    if (lines == 0 || right >> rn) {
        std::cout << "the two files hold different numbers of inputs\n";
        return 1;
    }
    bool within = true;
    for (const auto& [name, t] : tallies) {
        std::cout << name << ": " << t.inputs << " inputs, " << t.differ << " differ, largest by " << t.largest
                  << " ulp";
        if (t.largest > 0) std::cout << " (at 0x" << t.worst << ")";
        std::cout << "\n";
        within = within && t.largest <= allowed;
    }
    return within ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "run" && argc == 3) return Run(argv[2]);
    if (verb == "compare" && (argc == 4 || argc == 5))
        return Compare(argv[2], argv[3], argc == 5 ? std::strtoull(argv[4], nullptr, 10) : 1);
    std::cerr << "usage: elementary_probe run RESULTS | compare RESULTS RESULTS [MAX]\n";
    return 64;
}
