// The bash completion installed for mirabo-calc, run in bash as the shell
// runs it, against the forms, fields and options the tool itself knows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/forms.h"
#include "tests/cli/calc_runs.h"

namespace mirabo {
namespace {

// What the completion offers with the cursor at the end of `line`, run in
// `folder` with bash-completion's helpers loaded, and the options it set for
// the shell's completion (compopt) as a last word "compopt:...".
std::vector<std::string> Complete(const std::string& line, const std::string& folder = ".",
                                  bool withOptions = false) {
    setenv("MIRABO_LINE", line.c_str(), 1);
    setenv("MIRABO_FOLDER", folder.c_str(), 1);
    const std::string command =
        std::string(
            "bash -c 'cd \"$MIRABO_FOLDER\" && source /usr/share/bash-completion/bash_completion && "
            "source \"$0\" || exit 3; options=; compopt() { local IFS=\" \"; options+=\" $*\"; }; "
            "COMP_LINE=$MIRABO_LINE; COMP_POINT=${#MIRABO_LINE}; "
            "_mirabo_calc; printf \"%s\\n\" \"${COMPREPLY[@]}\" \"compopt:$options\"' '") +
        MIRABO_COMPLETION_PATH + "'";
    std::vector<std::string> offered;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {"<bash did not start>"};
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        std::string word(buffer);
        if (!word.empty() && word.back() == '\n') word.pop_back();
        if (!word.empty()) offered.push_back(word);
    }
    const int status = pclose(pipe);
    if (status != 0) offered.push_back("<bash exit " + std::to_string(status) + ">");
    if (!withOptions && !offered.empty() && offered.back().starts_with("compopt:")) offered.pop_back();
    return offered;
}

std::vector<std::string> FormNames() {
    std::vector<std::string> names;
    for (const Calculator* form : CliForms()) names.emplace_back(form->name);
    return names;
}

// The field names of the form, each with its "=", leaving out the first `skip`.
std::vector<std::string> FieldWords(const Calculator& form, std::size_t skip = 0) {
    std::vector<std::string> words;
    for (std::size_t i = skip; i < form.fields.size(); ++i)
        words.push_back(std::string(form.fields[i].name) + "=");
    return words;
}

// The options the tool's usage text names.
std::vector<std::string> UsageOptions() {
    const std::string usage = InProcess({"--help"}).out;
    std::vector<std::string> options;
    const std::regex option("--[a-z]+");
    for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option); it != std::sregex_iterator();
         ++it) {
        if (std::find(options.begin(), options.end(), it->str()) == options.end())
            options.push_back(it->str());
    }
    return options;
}

TEST(CompletionTest, OffersFormsFieldsAndOptionsByPosition) {
    const struct {
        std::string line;
        std::vector<std::string> offered;
    } cases[] = {
        {"mirabo-calc ", FormNames()},
        {"mirabo-calc o", {"oblique", "ohm"}},
        {"mirabo-calc --json ", FormNames()},
        {"mirabo-calc square", {}},
        {"mirabo-calc right a=3 al", {"alpha="}},
        {"mirabo-calc right a=3 b=4 ", {"c=", "alpha=", "beta="}},
        {"mirabo-calc right a=", {}},
        {"mirabo-calc right a=3", {}},
        {"mirabo-calc oblique α=30 b=2 ", {"a=", "c=", "beta=", "gamma="}},
        {"mirabo-calc ohm v=1 i=2 ", {"R=", "P="}},
        {"mirabo-calc ohm V=1 I=2 R=3 P=4 ", {}},
        {"mirabo-calc ohm --yes --", {"--json", "--batch", "--encoding", "--bom", "--help", "--version"}},
        {"mirabo-calc ohm --no --json --batch --", {"--encoding", "--bom", "--help", "--version"}},
        {"mirabo-calc --v", {"--version"}},
        {"mirabo-calc ohm --j", {"--json"}},
        {"mirabo-calc ohm --b", {"--batch", "--bom"}},
        {"mirabo-calc right --batch --encoding ", {"cp932", "utf-8"}},
        {"mirabo-calc right --batch --encoding c", {"cp932"}},
        {"mirabo-calc right --batch /nonexistent-mirabo-dir/", {}},
        // After "--" come no options.
        {"mirabo-calc -- ", FormNames()},
        {"mirabo-calc ohm -- --", {}},
        {"mirabo-calc ohm -- --yes ", {"V=", "I=", "R=", "P="}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Complete(c.line), c.offered) << "[" << c.line << "]";
    }
}

TEST(CompletionTest, EveryFormOffersItsFieldsInFieldOrder) {
    for (const Calculator* form : CliForms()) {
        const std::string start = "mirabo-calc " + std::string(form->name) + " ";
        EXPECT_EQ(Complete(start), FieldWords(*form)) << form->name;
        const std::string afterFirst = start + std::string(form->fields[0].name) + "=1 ";
        EXPECT_EQ(Complete(afterFirst), FieldWords(*form, 1)) << form->name;
    }
}

TEST(CompletionTest, BatchModeOffersTheInputFileInsteadOfFields) {
    const std::string path = testing::TempDir() + "mirabo_completion_cases.csv";
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(Complete("mirabo-calc right --batch " + path.substr(0, path.size() - 4)),
              std::vector<std::string>{path});
    EXPECT_EQ(Complete("mirabo-calc right --batch --encoding cp932 " + path.substr(0, path.size() - 4)),
              std::vector<std::string>{path});
    std::remove(path.c_str());
}

// A file name is offered as it is, for the shell to quote (compopt -o
// filenames: spaces escaped, a folder with its slash and no space after it),
// whether the word so far is escaped, quoted or plain.
TEST(CompletionTest, FileNamesAreLeftForTheShellToQuote) {
    const std::string folder = testing::TempDir() + "mirabo_completion_files";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/my dir");
    std::filesystem::create_directories(folder + "/sub");
    std::ofstream(folder + "/my cases.csv") << "a,b\n";
    std::ofstream(folder + "/my dir/x.csv") << "a,b\n";
    const std::string filenames = "compopt: -o filenames";
    const struct {
        std::string typed;  // after "mirabo-calc right --batch "
        std::vector<std::string> offered;
        // clang-format off
    } cases[] = {
        {"my\\ c",        {"my cases.csv", filenames}},
        {"\"my c",         {"my cases.csv", filenames}},
        {"'my d",          {"my dir", filenames}},
        {"su",             {"sub", filenames}},
        {"my\\ dir/",     {"my dir/x.csv", filenames}},
        {"my\\ dir/x",    {"my dir/x.csv", filenames}},
        {"none",           {"compopt:"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Complete("mirabo-calc right --batch " + c.typed, folder, true), c.offered)
            << "[" << c.typed << "]";
    }
    std::filesystem::remove_all(folder);
}

TEST(CompletionTest, OffersEveryOptionTheUsageNames) {
    const std::vector<std::string> offered = Complete("mirabo-calc right --");
    for (const std::string& option : UsageOptions()) {
        EXPECT_NE(std::find(offered.begin(), offered.end(), option), offered.end()) << option;
    }
    EXPECT_FALSE(UsageOptions().empty());
}

}  // namespace
}  // namespace mirabo
