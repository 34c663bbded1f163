# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Warnings and sanitizers as interface targets that every project target links.

find_program(KESTROVA_CCACHE ccache)
if(KESTROVA_CCACHE)
  set(CMAKE_CXX_COMPILER_LAUNCHER "${KESTROVA_CCACHE}")
endif()

include(CheckCXXCompilerFlag)

add_library(kestrova_warnings INTERFACE)
target_compile_options(kestrova_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough)
# GCC's; clang (the fuzzing build) has no such flag.
check_cxx_compiler_flag(-Wshadow=local KESTROVA_HAVE_WSHADOW_LOCAL)
if(KESTROVA_HAVE_WSHADOW_LOCAL)
  target_compile_options(kestrova_warnings INTERFACE -Wshadow=local)
endif()

if(KESTROVA_WERROR)
  target_compile_options(kestrova_warnings INTERFACE -Werror)
endif()

add_library(kestrova_sanitizers INTERFACE)
if(KESTROVA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KESTROVA_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Every library gets the fuzzer's coverage and both sanitizers; the harnesses link libFuzzer.
  # clang 14's function sanitizer cannot compile the coroutine files.
  target_compile_options(kestrova_sanitizers INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize=function
    -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  target_link_options(kestrova_sanitizers INTERFACE -fsanitize=address,undefined)
elseif(KESTROVA_SANITIZE)
  target_compile_options(kestrova_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(kestrova_sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# gcov's counters, written by every program and test as it exits; scripts/coverage sums them.
add_library(kestrova_coverage INTERFACE)
if(KESTROVA_COVERAGE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    message(FATAL_ERROR "KESTROVA_COVERAGE needs GCC (gcov, read by gcovr)")
  endif()
  target_compile_options(kestrova_coverage INTERFACE --coverage)
  target_link_options(kestrova_coverage INTERFACE --coverage)
endif()

# Everything a project target gets: C++20, our warnings, the sanitizers and coverage when enabled.
add_library(kestrova_options INTERFACE)
target_link_libraries(kestrova_options INTERFACE kestrova_warnings kestrova_sanitizers
  kestrova_coverage)
target_compile_definitions(kestrova_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER
  KESTROVA_VERSION="${PROJECT_VERSION}")

# kestrova_library(<name> SOURCES ... [DEPENDS ...]) makes the static library kestrova_<name>.
function(kestrova_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(kestrova_${name} STATIC ${ARG_SOURCES})
  target_include_directories(kestrova_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(kestrova_${name} PUBLIC ${ARG_DEPENDS} PRIVATE kestrova_options)
endfunction()

# Release builds are hardened the way Debian hardens its packages (dpkg-buildflags with
# hardening=+all): the programs parse pages from the network and files from disk. Build paths are
# mapped out of the objects so that two checkouts build the same bytes. Debug builds (the
# sanitizer build) leave fortification out: it needs the optimiser.
if(NOT KESTROVA_FUZZ)
  set(kestrova_release "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
  add_compile_options(
    "$<${kestrova_release}:-fstack-protector-strong;-fstack-clash-protection;-fcf-protection;-Wformat;-Werror=format-security>"
    "$<${kestrova_release}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  add_link_options("$<${kestrova_release}:LINKER:-z,relro;LINKER:-z,now>")
endif()
# A coverage build keeps the real paths: gcov finds the sources by the paths in its notes.
if(NOT KESTROVA_COVERAGE)
  add_compile_options(
    "-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")
endif()
