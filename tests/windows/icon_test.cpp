// The icon Explorer shows for mirabo.exe: the program's first icon group,
// with an image of every size the shell asks for in 32 bits (256 as PNG), not
// the handheld's 16-colour icon (group 101), read from the program file.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "tests/windows/program_driver.h"

namespace mirabo::wintest {
namespace {

#pragma pack(push, 2)
struct GroupEntry {  // an icon group's entry (GRPICONDIRENTRY)
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

BOOL CALLBACK KeepFirst(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) {
    *reinterpret_cast<LPWSTR*>(first) = name;
    return FALSE;
}

const void* ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, DWORD* size) {
    HRSRC found = FindResourceW(module, name, type);
    if (found == NULL) return nullptr;
    *size = SizeofResource(module, found);
    return LockResource(LoadResource(module, found));
}

TEST(ProgramIconTest, TheFirstIconGroupHasEverySizeInThirtyTwoBits) {
    HMODULE program = LoadLibraryExW(ProgramPath().c_str(), NULL,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    LPWSTR first = nullptr;
    EnumResourceNamesW(program, RT_GROUP_ICON, KeepFirst, reinterpret_cast<LONG_PTR>(&first));
    ASSERT_NE(first, nullptr) << "no icon";
    EXPECT_NE(first, MAKEINTRESOURCEW(101)) << "Explorer would show the handheld's icon";
    DWORD size = 0;
    const auto* group = static_cast<const BYTE*>(ResourceBytes(program, first, RT_GROUP_ICON, &size));
    ASSERT_NE(group, nullptr);
    ASSERT_GE(size, 6u);
    WORD count = 0;
    std::memcpy(&count, group + 4, sizeof(count));
    ASSERT_EQ(size, 6u + count * sizeof(GroupEntry));
    const GroupEntry* entries = reinterpret_cast<const GroupEntry*>(group + 6);
    const struct {
        int pixels;
        bool png;
    } sizes[] = {{16, false}, {24, false}, {32, false}, {48, false}, {64, false}, {128, false}, {256, true}};
    for (const auto& wanted : sizes) {
        SCOPED_TRACE(wanted.pixels);
        const GroupEntry* entry = nullptr;
        for (WORD i = 0; i < count; ++i) {
            if ((entries[i].width == 0 ? 256 : entries[i].width) == wanted.pixels) entry = &entries[i];
        }
        ASSERT_NE(entry, nullptr) << "no image of this size";
        EXPECT_EQ(entry->bitCount, 32);
        DWORD imageSize = 0;
        const auto* image = static_cast<const BYTE*>(
            ResourceBytes(program, MAKEINTRESOURCEW(entry->id), RT_ICON, &imageSize));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(imageSize, entry->bytes);
        ASSERT_GE(imageSize, 8u);
        EXPECT_EQ(std::memcmp(image, "\x89PNG", 4) == 0, wanted.png);
        // The system picks this very image when it asks for the size.
        EXPECT_EQ(LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group), TRUE, wanted.pixels, wanted.pixels,
                                              LR_DEFAULTCOLOR),
                  entry->id);
    }
    FreeLibrary(program);
}

}  // namespace
}  // namespace mirabo::wintest
