// mirabo-calc.exe's version block, read as Windows reads it (a file's Properties, installers).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "text/utf8.h"

namespace mirabo {
namespace {

// The program, built beside the tests.
std::wstring ProgramPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    const std::wstring self(path, length);
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"mirabo-calc.exe";
}

TEST(VersionBlockTest, MiraboCalcCarriesTheProjectsVersion) {
    const std::wstring program = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "mirabo-calc.exe has no version block";
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, block.data()));

    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(MIRABO_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    void* found = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &found, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, major << 16 | minor);
    EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
    EXPECT_EQ(fixed->dwProductVersionMS, major << 16 | minor);
    EXPECT_EQ(fixed->dwProductVersionLS, patch << 16);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    const struct {
        const wchar_t* name;
        std::string value;
    } strings[] = {
        {L"FileVersion", MIRABO_VERSION},
        {L"ProductVersion", MIRABO_VERSION},
        {L"OriginalFilename", "mirabo-calc.exe"},
        {L"ProductName", "Mirabo"},
    };
    for (const auto& s : strings) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + s.name;
        ASSERT_TRUE(VerQueryValueW(block.data(), key.c_str(), &found, &length)) << Utf8FromWide(key);
        EXPECT_EQ(Utf8FromWide(static_cast<const wchar_t*>(found)), s.value) << Utf8FromWide(key);
    }
}

}  // namespace
}  // namespace mirabo
