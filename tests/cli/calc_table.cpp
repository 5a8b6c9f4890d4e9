// calc_table: the same calculations on two builds of the calculators (say
// Linux and Windows), compared.
//
//   calc_table generate COUNT SEED CASES   writes COUNT generated cases, one a
//                                          line, arguments separated by tabs
//   calc_table run CASES RESULTS           runs each case as mirabo-calc does,
//                                          plain and with --json
//   calc_table compare RESULTS RESULTS [--same-texts]
//                                          compares two runs: the plain output
//                                          and the JSON without its exact
//                                          values byte for byte, and the exact
//                                          values in units in the last place;
//                                          it fails for a text that differs
//                                          where the exact values agree, and
//                                          with --same-texts for any text that
//                                          differs
//
// Files are UTF-8 with "\n" line ends and are read and written as bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "calc/conversions.h"
#include "cli/forms.h"
#include "cli/run_calc.h"

namespace {

using mirabo::CliEnvironment;

// clang-format off
// The kinds of text typed into a field, with how often each is drawn.
const struct {
    int weight;
    const char* kind;
} kTextKinds[] = {
    {30, "integer"},   {30, "decimal"}, {10, "large"},   {8, "tiny"},
    {10, "negative"},  {4, "zero"},     {8, "invalid"},  {10, "quarter"},
};
// Angles on and next to multiples of 90 degrees, where the sine, cosine and
// tangent of the program's pi are furthest from their exact values.
const char* const kQuarterTexts[] = {
    "90", "180", "270", "360", "-90", "-180", "450", "90.0", "89.999", "180.001", "0.001", "-0.001",
};
const char* const kInvalidTexts[] = {
    "abc", "1..2", "--1", "1e5", "\xEF\xBC\x91\xEF\xBC\x90", "+5", " 5", "5 ", ".", "-", "+", "0x10", "1,5", "\xE2\x88\x9E",
};
// clang-format on

std::string Decimal(std::mt19937_64& random, std::uint64_t whole, int decimals) {
    std::string text = std::to_string(random() % (whole + 1));
    if (decimals > 0) {
        text += '.';
        for (int i = 0; i < decimals; ++i) text += static_cast<char>('0' + random() % 10);
    }
    return text;
}

std::string FieldText(std::mt19937_64& random) {
    int total = 0;
    for (const auto& k : kTextKinds) total += k.weight;
    int pick = static_cast<int>(random() % total);
    std::string kind;
    for (const auto& k : kTextKinds) {
        if (pick < k.weight) {
            kind = k.kind;
            break;
        }
        pick -= k.weight;
    }
    if (kind == "integer") return std::to_string(1 + random() % 360);
    if (kind == "decimal") return Decimal(random, 1000, 1 + static_cast<int>(random() % 4));
    if (kind == "large") return Decimal(random, 999999999, static_cast<int>(random() % 3));
    if (kind == "tiny") return "0.000" + std::to_string(1 + random() % 999);
    if (kind == "negative") return "-" + Decimal(random, 500, static_cast<int>(random() % 3));
    if (kind == "zero") return random() % 2 ? "0" : "0.0";
    if (kind == "quarter") return kQuarterTexts[random() % (sizeof kQuarterTexts / sizeof kQuarterTexts[0])];
    return kInvalidTexts[random() % (sizeof kInvalidTexts / sizeof kInvalidTexts[0])];
}

int Generate(int count, std::uint64_t seed, const char* path) {
    std::mt19937_64 random(seed);
    std::ofstream out(path, std::ios::binary);
    const auto forms = mirabo::CliForms();
    for (int i = 0; i < count; ++i) {
        const mirabo::Calculator& form = *forms[random() % forms.size()];
        std::string line(form.name);
        // Two or three fields most of the time: the calculators' cases.
        std::vector<std::size_t> order(form.fields.size());
        for (std::size_t f = 0; f < order.size(); ++f) order[f] = f;
        std::shuffle(order.begin(), order.end(), random);
        const std::size_t given = std::min<std::size_t>(order.size(), 1 + random() % 4);
        std::sort(order.begin(), order.begin() + static_cast<long>(given));
        for (std::size_t f = 0; f < given; ++f) {
            line += '\t';
            line += form.fields[order[f]].name;
            line += '=';
            line += FieldText(random);
        }
        if (random() % 2) line += "\t--yes";
        out << line << '\n';
    }
    return out ? 0 : 1;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, '\t')) parts.push_back(part);
    return parts;
}

void Block(std::ostream& out, char tag, int status, const std::string& bytes) {
    out << tag << ' ' << status << ' ' << bytes.size() << '\n' << bytes;
}

int Run(const char* casesPath, const char* resultsPath) {
    std::ifstream in(casesPath, std::ios::binary);
    std::ofstream out(resultsPath, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> args = Split(line);
        out << "case " << line.size() << '\n' << line;
        for (const bool json : {false, true}) {
            std::ostringstream stdoutText;
            std::ostringstream stderrText;
            CliEnvironment env{stdoutText, stderrText, nullptr};
            std::vector<std::string> withJson = args;
            if (json) withJson.push_back("--json");
            const int status = mirabo::RunCalc(withJson, env);
            Block(out, json ? 'J' : 'P', status, stdoutText.str());
            Block(out, 'E', status, stderrText.str());
        }
    }
    return in.eof() && out ? 0 : 1;
}

struct Record {
    std::string caseLine;
    std::string plain, plainErr, json, jsonErr;
    int plainStatus = 0, jsonStatus = 0;
};

bool ReadBlock(std::istream& in, char* tag, int* status, std::string* bytes) {
    std::size_t size = 0;
    if (!(in >> *tag >> *status >> size) || in.get() != '\n') return false;
    bytes->assign(size, '\0');
    return static_cast<bool>(in.read(bytes->data(), static_cast<std::streamsize>(size)));
}

std::vector<Record> ReadResults(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<Record> records;
    std::string word;
    while (in >> word && word == "case") {
        std::size_t size = 0;
        in >> size;
        in.get();
        Record r;
        r.caseLine.assign(size, '\0');
        in.read(r.caseLine.data(), static_cast<std::streamsize>(size));
        char tag = 0;
        int status = 0;
        ReadBlock(in, &tag, &r.plainStatus, &r.plain);
        ReadBlock(in, &tag, &status, &r.plainErr);
        ReadBlock(in, &tag, &r.jsonStatus, &r.json);
        ReadBlock(in, &tag, &status, &r.jsonErr);
        records.push_back(std::move(r));
    }
    return records;
}

// The JSON text without its "values" member, and the values by name.
std::string WithoutValues(const std::string& json, std::map<std::string, std::string>* values) {
    const std::string key = ",\"values\":{";
    const std::size_t at = json.find(key);
    if (at == std::string::npos) return json;
    const std::size_t end = json.find('}', at + key.size());
    std::istringstream members(json.substr(at + key.size(), end - at - key.size()));
    std::string member;
    while (std::getline(members, member, ',')) {
        const std::size_t colon = member.find(':');
        if (colon == std::string::npos) continue;
        auto unquote = [](std::string s) { return s.size() >= 2 ? s.substr(1, s.size() - 2) : s; };
        (*values)[unquote(member.substr(0, colon))] = unquote(member.substr(colon + 1));
    }
    return json.substr(0, at) + json.substr(end + 1);
}

// Distance in units in the last place between two doubles of one sign.
std::uint64_t UlpDistance(double a, double b) {
    if (a == b) return 0;
    if (std::isnan(a) || std::isnan(b) || std::signbit(a) != std::signbit(b)) return UINT64_MAX;
    const auto x = mirabo::BitCast<std::uint64_t>(a), y = mirabo::BitCast<std::uint64_t>(b);
    return x > y ? x - y : y - x;
}

int Compare(const char* leftPath, const char* rightPath, bool sameTexts) {
    const std::vector<Record> left = ReadResults(leftPath);
    const std::vector<Record> right = ReadResults(rightPath);
    if (left.size() != right.size() || left.empty()) {
        std::cout << "different numbers of cases: " << left.size() << " and " << right.size() << "\n";
        return 1;
    }
    int plainDiffer = 0, jsonDiffer = 0, unexplained = 0, written = 0, values = 0, valuesDiffer = 0;
    std::map<std::uint64_t, int> ulps;
    for (std::size_t i = 0; i < left.size(); ++i) {
        const Record& l = left[i];
        const Record& r = right[i];
        if (l.caseLine != r.caseLine) {
            std::cout << "case " << i + 1 << " is not the same case\n";
            return 1;
        }
        std::map<std::string, std::string> lv, rv;
        const std::string lj = WithoutValues(l.json, &lv);
        const std::string rj = WithoutValues(r.json, &rv);
        const bool plainSame =
            l.plain == r.plain && l.plainErr == r.plainErr && l.plainStatus == r.plainStatus;
        const bool jsonSame = lj == rj && l.jsonErr == r.jsonErr && l.jsonStatus == r.jsonStatus;
        plainDiffer += plainSame ? 0 : 1;
        jsonDiffer += jsonSame ? 0 : 1;
        // Texts may differ only where the exact values behind them do.
        if ((!plainSame || !jsonSame) && lv == rv) {
            ++unexplained;
            std::cout << "output differs with the same exact values: " << l.caseLine << "\n";
        } else if (!plainSame) {
            std::cout << "texts differ with the exact values: " << l.caseLine << "\n";
        }
        if (!lv.empty()) ++written;
        for (const auto& [name, text] : lv) {
            ++values;
            const auto other = rv.find(name);
            const std::string otherText = other == rv.end() ? "" : other->second;
            if (text == otherText) continue;
            ++valuesDiffer;
            const std::uint64_t ulp =
                UlpDistance(std::strtod(text.c_str(), nullptr),
                            other == rv.end() ? NAN : std::strtod(otherText.c_str(), nullptr));
            ++ulps[ulp];
        }
    }
    std::cout << left.size() << " cases: plain output differs in " << plainDiffer
              << ", JSON without values in " << jsonDiffer << ", with the same exact values in "
              << unexplained << "\n"
              << written << " cases wrote " << values << " exact values; " << valuesDiffer << " differ";
    // The distances in ranges: 1, 2-3, 4-7, ... units in the last place.
    std::map<int, int> ranges;
    for (const auto& [ulp, count] : ulps) ranges[ulp == 0 ? 0 : 63 - __builtin_clzll(ulp)] += count;
    for (const auto& [power, count] : ranges) {
        std::cout << "; " << count << " by " << (1ULL << power) << "-" << ((2ULL << power) - 1) << " ulp";
    }
    if (!ulps.empty()) std::cout << " (largest " << ulps.rbegin()->first << ")";
    std::cout << "\n";
    if (sameTexts && (plainDiffer > 0 || jsonDiffer > 0)) {
        std::cout << "texts differ in " << std::max(plainDiffer, jsonDiffer) << " cases; they must not\n";
        return 1;
    }
    return unexplained == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "generate" && argc == 5)
        return Generate(std::atoi(argv[2]), std::strtoull(argv[3], nullptr, 10), argv[4]);
    if (verb == "run" && argc == 4) return Run(argv[2], argv[3]);
    if (verb == "compare" && argc == 4) return Compare(argv[2], argv[3], false);
    if (verb == "compare" && argc == 5 && std::string(argv[4]) == "--same-texts")
        return Compare(argv[2], argv[3], true);
    std::cerr
        << "usage: calc_table generate COUNT SEED CASES | run CASES RESULTS | compare RESULTS RESULTS "
           "[--same-texts]\n";
    return 64;
}
