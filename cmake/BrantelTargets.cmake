# Shared compile settings and the helpers every folder uses to declare targets.

add_library(brantel_warnings INTERFACE)
target_compile_options(brantel_warnings INTERFACE -Wall -Wextra)
# The test command builds with it, so a warning fails the run instead of scrolling by.
option(BRANTEL_WERROR "Treat the project's compiler warnings as errors" OFF)
if(BRANTEL_WERROR)
  target_compile_options(brantel_warnings INTERFACE -Werror)
endif()

if(BRANTEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# brantel_library(NAME DIR [DEPS ...]): one static library made of every .cpp
# below DIR, with the repository root on the include path so headers are
# included as "platform/text.h", "protocol/records.h" and so on.
function(brantel_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  list(FILTER srcs EXCLUDE REGEX "/main[^/]*\\.cpp$")
  if(NOT srcs)
    # A folder that so far holds only headers still builds a library.
    set(srcs ${CMAKE_BINARY_DIR}/generated/${name}_empty.cpp)
    file(WRITE ${srcs} "")
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE brantel_warnings ${ARG_PRIVATE_DEPS})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

# brantel_test(NAME SOURCES ... DEPS ...): one GoogleTest executable in
# BRANTEL_TEST_BIN_DIR, one ctest entry. Tests run headless and with a private
# data folder per run; BRANTEL_BIN_DIR names the programs' folder.
function(brantel_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${BRANTEL_TEST_BIN_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock brantel_warnings Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE BRANTEL_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    BRANTEL_BIN_DIR="${CMAKE_BINARY_DIR}/bin" BRANTEL_TEST_BIN_DIR="${BRANTEL_TEST_BIN_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  # No test meets the machine's own system bus (a developer's NetworkManager
  # may say offline): a bus address that leads nowhere means no services, and
  # the tests of the services start private buses of their own.
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "BRANTEL_DISPLAY=headless;BRANTEL_BIN_DIR=${CMAKE_BINARY_DIR}/bin;DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/brantel-test-bus")
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# brantel_test_folder(PREFIX DEPS ...): one test executable per *_test.cpp in
# the calling folder, named PREFIX_<stem>.
function(brantel_test_folder prefix)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    string(REGEX REPLACE "_test$" "" stem ${stem})
    brantel_test(${prefix}_${stem} SOURCES ${src} DEPS ${ARG_DEPS})
  endforeach()
endfunction()
