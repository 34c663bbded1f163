# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by cpack after it has made the package: the mode of each member of the .deb's outer ar
# archive becomes 100644, as dpkg-deb writes it. CPack copies it from the member's temporary
# file, so it followed the umask of whoever ran cpack and the package differed between a 022
# and a 002 umask. Each 60-byte member header has the mode at offset 40 (8 characters) and the
# size at offset 48 (10); members are padded to an even length.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  file(SIZE "${package}" length)
  file(READ "${package}" magic LIMIT 8)
  if(NOT magic STREQUAL "!<arch>\n")
    message(FATAL_ERROR "${package} is not an ar archive")
  endif()
  set(mode_file "${package}.mode")
  file(WRITE "${mode_file}" "100644  ")
  set(header 8)
  while(header LESS length)
    math(EXPR size_at "${header} + 48")
    file(READ "${package}" size OFFSET ${size_at} LIMIT 10)
    string(STRIP "${size}" size)
    if(NOT size MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${package}: no member size at byte ${size_at}")
    endif()
    math(EXPR mode_at "${header} + 40")
    execute_process(COMMAND dd "if=${mode_file}" "of=${package}" bs=1 seek=${mode_at}
        conv=notrunc status=none
      RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "Cannot write the member mode of ${package}")
    endif()
    math(EXPR header "${header} + 60 + ${size} + ${size} % 2")
  endwhile()
  file(REMOVE "${mode_file}")
endforeach()
