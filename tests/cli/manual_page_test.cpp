// The manual page of mirabo-calc against the tool: every form with its
// fields in order, every option of the usage text and every exit status.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "cli/batch.h"
#include "cli/forms.h"
#include "cli/run_calc.h"

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
    }
}

TEST(ManualPageTest, DescribesEveryOptionAndExitStatus) {
    const std::string page = ManualPage();
    std::ostringstream out, err;
    CliEnvironment env{out, err, nullptr};
    RunCalc({"--help"}, env);
    const std::string usage = out.str();
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

}  // namespace
}  // namespace mirabo
