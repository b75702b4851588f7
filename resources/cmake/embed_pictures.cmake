# Writes a C source that holds rendered pictures as byte arrays and a table
# of BrantelPictureEntry rows. Run with cmake -P and:
#   OUTPUT   the .c file to write
#   TABLE    the C name of the table (its count is TABLE_count)
#   LIST_FILE a file of number=path.png lines
cmake_minimum_required(VERSION 3.22)

file(STRINGS "${LIST_FILE}" PICTURES)

set(body "/* Generated from the rendered artwork; do not edit. */\n#include \"platform/resources/resource_abi.h\"\n\n")
set(rows "")
foreach(entry IN LISTS PICTURES)
  string(REPLACE "=" ";" parts "${entry}")
  list(GET parts 0 number)
  list(GET parts 1 path)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  if(size EQUAL 0)
    message(FATAL_ERROR "empty picture ${path}")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  string(APPEND body "static const unsigned char picture_${number}[${size}] = {\n${bytes}\n};\n")
  string(APPEND rows "  {BRANTEL_PICTURE_PNG, ${number}u, picture_${number}, ${size}u},\n")
endforeach()
string(APPEND body "\nconst BrantelPictureEntry ${TABLE}[] = {\n${rows}};\n")
list(LENGTH PICTURES count)
string(APPEND body "const uint32_t ${TABLE}_count = ${count}u;\n")

# Only touch the file when it changed, so an unchanged rendering does not
# rebuild the library.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL body)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${body}")
