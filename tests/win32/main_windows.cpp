// The Win32 cases on the system's user32: the program's resources, linked
// into this test program, in Japanese.
#include <gtest/gtest.h>

#include "platform/win32.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    SetThreadUILanguage(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN));
    return RUN_ALL_TESTS();
}
