# Cross-building Mirabo for 64-bit Windows on Debian with the mingw-w64
# toolchain (packages g++-mingw-w64-x86-64-posix and binutils-mingw-w64-x86-64):
#
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The posix-threads flavour of the compiler is the one whose C++ library has
# std::thread and std::mutex. Tests run under Wine when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MIRABO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MIRABO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIRABO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MIRABO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MIRABO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest and test discovery start the .exe files through Wine.
find_program(MIRABO_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(MIRABO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MIRABO_WINE})
endif()
