# Warnings and sanitizers as interface targets that every project target links.

find_program(KESTROVA_CCACHE ccache)
if(KESTROVA_CCACHE)
  set(CMAKE_CXX_COMPILER_LAUNCHER "${KESTROVA_CCACHE}")
endif()

add_library(kestrova_warnings INTERFACE)
target_compile_options(kestrova_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough)

add_library(kestrova_sanitizers INTERFACE)
if(KESTROVA_SANITIZE)
  target_compile_options(kestrova_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(kestrova_sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# Everything a project target gets: C++20, our warnings, the sanitizers when enabled.
add_library(kestrova_options INTERFACE)
target_link_libraries(kestrova_options INTERFACE kestrova_warnings kestrova_sanitizers)
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
