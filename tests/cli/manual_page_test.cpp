// The manual page of mirabo-calc against the tool: every form with its
// fields in order, every option of the usage text and every exit status.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/forms.h"
#include "cli/run_calc.h"
#include "tests/cli/calc_runs.h"

namespace mirabo {
namespace {

std::string ManualPage() {
    std::ifstream file(MIRABO_MANUAL_PAGE_PATH);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ManualPageTest, ListsEveryFormWithItsFieldsInOrder) {
    const std::string page = ManualPage();
    ASSERT_FALSE(page.empty()) << MIRABO_MANUAL_PAGE_PATH;
    for (const Calculator* form : CliForms()) {
        std::string fields;
        for (const CalculatorField& field : form->fields)
            fields += (fields.empty() ? "" : " ") + std::string(field.name);
        // The table of field names: the form's row, then its fields.
        EXPECT_TRUE(Contains(page, "|  " + std::string(form->name) + "\n:  " + fields + "\n")) << form->name;
        // Its own paragraph among the forms.
        EXPECT_TRUE(Contains(page, "\n*" + std::string(form->name) + "*\n")) << form->name;
        // The other names its fields answer to, and an example.
        for (const CalculatorField& field : form->fields) {
            if (!field.alias.empty()) {
                EXPECT_TRUE(Contains(page, std::string(field.alias) + " for " + std::string(field.name)))
                    << field.name;
            }
        }
        EXPECT_TRUE(Contains(page, "\n$ mirabo-calc " + std::string(form->name) + " ")) << form->name;
    }
}

TEST(ManualPageTest, DescribesEveryOptionAndExitStatus) {
    const std::string page = ManualPage();
    const std::string usage = InProcess({"--help"}).out;
    const std::regex option("--[a-z]+");
    int options = 0;
    for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option); it != std::sregex_iterator();
         ++it, ++options) {
        EXPECT_TRUE(Contains(page, "\n*" + it->str() + "*")) << it->str();
    }
    EXPECT_GT(options, 0);
    for (int status : {kExitWritten, kExitMissingInput, kExitNotWritten, kExitUsage, kExitMalformedInput,
                       kExitNoInput, kExitIoError}) {
        EXPECT_TRUE(Contains(page, "\n*" + std::to_string(status) + "*\n")) << status;
    }
}

// --encoding takes the spellings its paragraph names, in upper or lower case,
// and no other.
TEST(ManualPageTest, NamesEverySpellingOfAnEncodingTheToolTakes) {
    const std::string page = ManualPage();
    const std::size_t heading = page.find("\n*--encoding* _NAME_\n");
    ASSERT_NE(heading, std::string::npos);
    const std::size_t start = page.find('\n', heading + 1);
    const std::string paragraph = page.substr(start, page.find("\n\n", start) - start);
    const std::regex spelling("\\*([a-z0-9-]+)\\*");
    std::set<std::string> listed;
    for (auto it = std::sregex_iterator(paragraph.begin(), paragraph.end(), spelling);
         it != std::sregex_iterator(); ++it) {
        listed.insert((*it)[1]);
    }
    EXPECT_FALSE(listed.empty());
    std::vector<std::string> names(listed.begin(), listed.end());
    names.insert(names.end(), {"UTF-8", "Utf8", "CP932", "utf-16", "utf_8", "u8", "cp-932", "shift_jis",
                               "sjis", "ms932", "windows-31j", "latin1", "", " utf-8", "utf-8 "});
    for (const std::string& name : names) {
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const CalcRun run = InProcess({"right", "--batch", "--encoding", name});
        // Where the system has no CP932 converter, a CP932 spelling is known and
        // refused for that alone.
        const bool taken = run.status == 0 || run.err.find("no converter for CP932") != std::string::npos;
        EXPECT_EQ(taken, listed.count(lower) == 1) << '"' << name << "\" " << run.err;
    }
}

}  // namespace
}  // namespace mirabo
