// A desktop toolkit sets the process locale from the environment at start-up; a
// German or French desktop uses a decimal comma. The calculators must read and
// write numbers the same whatever the locale is.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "calc/memory_form.h"
#include "calc/number_text.h"
#include "calc/solvers.h"
#include "res/resource.h"

namespace mirabo {
namespace {

// Switches to a comma-decimal locale, generating it under a temporary folder
// when the machine has not got it; restores the "C" locale afterwards.
class CommaLocale {
public:
    CommaLocale() {
        // The names of a German locale on Linux and in the Windows C runtime.
        for (const char* name : {"de_DE.UTF-8", "German_Germany.1252", "deu"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                return;
            }
        }
#ifndef _WIN32
        const auto dir = std::filesystem::temp_directory_path() / "mirabo-locales";
        std::filesystem::create_directories(dir);
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' 2>/dev/null";
        if (std::system(command.c_str()) == -1) {
            return;
        }
        setenv("LOCPATH", dir.c_str(), 1);
        std::setlocale(LC_ALL, "de_DE.UTF-8");
#endif
    }
    ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
    bool Active() const { return std::localeconv()->decimal_point[0] == ','; }
};

TEST(LocaleTest, CommaDecimalLocaleChangesNothing) {
    CommaLocale locale;
    ASSERT_TRUE(locale.Active()) << "no comma-decimal locale could be made (package 'locales')";
    // The locale really is in force: the C library now reads and writes commas.
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.3f", 12.5);
    ASSERT_STREQ(printed, "12,500");

    EXPECT_EQ(FieldTextToDouble(L"12.5"), 12.5);
    MemoryForm form;
    form.SetText(IDC_RIGHT_A, L"12.5");
    form.SetText(IDC_RIGHT_B, L"4");
    EXPECT_EQ(SolveRightTriangle(form), SolveResult::Done);
    EXPECT_EQ(form.Text(IDC_RIGHT_A), L"12.500");
    EXPECT_EQ(form.Text(IDC_RIGHT_C), L"13.124");
}

}  // namespace
}  // namespace mirabo
