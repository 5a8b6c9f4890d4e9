# Writes a C++ source file that holds the desktop icon's PNG pictures as the
# table kDesktopIconPictures, declared in desktop_icon.h.
#
#   cmake -DDIR=res/icons -DSIZES="16;24;..." -DOUTPUT=desktop_icon_data.cpp -P embed_desktop_icon.cmake
#
# DIR holds one picture N.png for every size N.

if(NOT DEFINED DIR OR NOT DEFINED SIZES OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "embed_desktop_icon.cmake: set DIR, SIZES and OUTPUT")
endif()

set(arrays "")
set(entries "")
foreach(size IN LISTS SIZES)
  file(READ "${DIR}/${size}.png" hex HEX)
  if(hex STREQUAL "")
    message(FATAL_ERROR "embed_desktop_icon.cmake: ${DIR}/${size}.png is empty")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line_pattern)
  string(REGEX REPLACE "(${line_pattern})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char kPicture${size}[] = {\n    ${bytes}\n};\n\n")
  string(APPEND entries "    {${size}, kPicture${size}, sizeof kPicture${size}},\n")
endforeach()
list(LENGTH SIZES count)

set(text "// Generated from ${DIR} by embed_desktop_icon.cmake. Do not edit.\n")
string(APPEND text "#include \"res/desktop_icon.h\"\n\nnamespace {\n\n${arrays}}  // namespace\n\n")
string(APPEND text "extern const DesktopIconPicture kDesktopIconPictures[] = {\n${entries}};\n\n")
string(APPEND text "extern const unsigned long kDesktopIconPictureCount = ${count}UL;\n")

file(WRITE "${OUTPUT}.tmp" "${text}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
