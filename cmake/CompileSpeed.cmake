# SPDX-License-Identifier: GPL-3.0-or-later
# Unity batches and precompiled headers: the same few hundred files are compiled by three
# builds in ./test.sh, and most of each file's time went into the standard, GoogleTest, Qt
# and jsoncpp headers it pulls in.
#
# Unity: every target compiles its sources in batches of TX512_UNITY_BATCH files, one
# translation unit each, so a header is parsed once per batch instead of once per file.
# File-local names (anonymous namespaces, statics) therefore share a batch with those of
# other files of the same target: give them names that say what they are for. A file that
# cannot share (it defines macros others must not see, say) stays on its own with
#     set_source_files_properties(Thing.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
# in the CMakeLists.txt of the folder that makes its target. -DTX512_UNITY=OFF compiles
# file by file, the way to find a file that only builds because a batch mate includes
# what it forgot to.
option(TX512_UNITY "Compile each target's sources in batches (unity build)" ON)
set(TX512_UNITY_BATCH 8 CACHE STRING "Source files per unity batch")
if(TX512_UNITY)
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE ${TX512_UNITY_BATCH})
endif()

# Precompiled headers. One header is compiled once per build and reused by every target
# whose compile line matches it: the GoogleTest one by all test programs, the jsoncpp one
# by the libraries that read and write JSON. clang refuses a header built under other -D
# values than its users', and the fuzz build (clang) is small, so it goes without.
if(TX512_FUZZ)
  set(TX512_PCH_DEFAULT OFF)
else()
  set(TX512_PCH_DEFAULT ON)
endif()
option(TX512_PCH "Precompile the third-party headers (GoogleTest, Qt, jsoncpp)" ${TX512_PCH_DEFAULT})

# The donor of the jsoncpp header: an object library that compiles nothing else.
function(tx512_pch_donor name)
  set(stub ${CMAKE_BINARY_DIR}/generated/${name}.cpp)
  if(NOT EXISTS ${stub})
    file(WRITE ${stub} "// Carries the precompiled header of ${name}.\n")
  endif()
  add_library(${name} OBJECT ${stub})
  set_target_properties(${name} PROPERTIES UNITY_BUILD OFF)
  target_link_libraries(${name} PRIVATE ${ARGN})
  tx512_warnings(${name})
endfunction()

if(TX512_PCH)
  tx512_pch_donor(tx512_json_pch PkgConfig::JSONCPP)
  target_precompile_headers(tx512_json_pch PRIVATE <json/json.h>)
endif()

# tx512_json_pch(TARGET): TARGET reuses the precompiled jsoncpp header.
function(tx512_json_pch target)
  if(TX512_PCH)
    target_precompile_headers(${target} REUSE_FROM tx512_json_pch)
  endif()
endfunction()
