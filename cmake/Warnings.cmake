# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings are errors for our own code only; third-party headers come in as SYSTEM.
function(tx512_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wimplicit-fallthrough -Werror)
endfunction()

# tx512_layer(NAME DEPS...) makes the static library tx512_NAME from every
# .cpp of the calling folder (recursively; subfolders that have a CMakeLists.txt
# of their own are left to it) and links DEPS.
function(tx512_layer name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB_RECURSE own_lists ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(list_file IN LISTS own_lists)
    get_filename_component(sub ${list_file} DIRECTORY)
    list(FILTER sources EXCLUDE REGEX "^${sub}/")
  endforeach()
  add_library(tx512_${name} STATIC ${sources})
  target_include_directories(tx512_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(tx512_${name} PUBLIC ${ARGN})
  tx512_warnings(tx512_${name})
endfunction()

# tx512_test(NAME SOURCES... LIBS... [PCH HEADERS...]) : one GoogleTest executable whose
# cases CTest lists one by one. It reuses the tests' shared precompiled header, or with PCH
# has one of its own made of GoogleTest and HEADERS: the way for a program whose compile
# line cannot match the shared one (Qt's programs are position-independent).
function(tx512_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PCH" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(TX512_PCH AND T_PCH)
    target_precompile_headers(${name} PRIVATE <gtest/gtest.h> ${T_PCH})
  elseif(TX512_PCH)
    target_precompile_headers(${name} REUSE_FROM tx512_test_pch)
  endif()
  set_property(GLOBAL APPEND PROPERTY TX512_TEST_PROGRAMS ${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  tx512_warnings(${name})
  # Test data is found through TX512_SOURCE_DIR (compiled in, so a test binary run by hand
  # finds it too); TX512_PROGRAM_DIR points the program folder at the build's copy.
  target_compile_definitions(${name} PRIVATE TX512_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "TX512_PROGRAM_DIR=${TX512_PROGRAM_DIR}")
endfunction()
