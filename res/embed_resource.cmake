# Writes a C++ source file that holds the bytes of a binary file as the array
# kMiraboResource, declared in res/embedded_resource.h.
#
#   cmake -DINPUT=mirabo.res -DOUTPUT=mirabo_resource_data.cpp -P embed_resource.cmake

if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "embed_resource.cmake: set INPUT and OUTPUT")
endif()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
if(size EQUAL 0)
  message(FATAL_ERROR "embed_resource.cmake: ${INPUT} is empty")
endif()

# Sixteen bytes a line: "    0x00,0x01,...,0x0f,".
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
set(byte_pattern "0x[0-9a-f][0-9a-f],")
string(REPEAT "${byte_pattern}" 16 line_pattern)
string(REGEX REPLACE "(${line_pattern})" "\\1\n" bytes "${bytes}")
if(NOT bytes MATCHES "\n$")
  string(APPEND bytes "\n")
endif()
string(REGEX REPLACE "([^\n]+)\n" "    \\1\n" bytes "${bytes}")

get_filename_component(input_name "${INPUT}" NAME)
set(text "// Generated from ${input_name} by embed_resource.cmake. Do not edit.\n")
string(APPEND text "#include \"res/embedded_resource.h\"\n\n")
string(APPEND text "extern const unsigned char kMiraboResource[] = {\n${bytes}};\n\n")
string(APPEND text "extern const unsigned long kMiraboResourceSize = ${size}UL;\n")

file(WRITE "${OUTPUT}.tmp" "${text}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
