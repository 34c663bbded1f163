# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What a Linux user installs: the manual pages, the package's own documents, and the Debian
# package that `cpack -G DEB` makes in the build folder (kestrova_<version>_amd64.deb).
# The programs, the desktop entry, the icon, the metadata and the systemd units are installed
# by their own folders; tools/, tests/ and bench/ install nothing.

find_program(KESTROVA_GZIP gzip REQUIRED)

# Manual pages and the changelog, stamped with the project's version and compressed as Debian
# wants them (-n: no name or time stamp, so the package is the same on every build).
set(kestrova_man_pages kestrova kestrova-report kestrova-check)
set(kestrova_compressed)
foreach(page IN LISTS kestrova_man_pages)
  set(source "${PROJECT_SOURCE_DIR}/data/man/${page}.1")
  set(stamped "${PROJECT_BINARY_DIR}/man/${page}.1")
  configure_file("${source}" "${stamped}" @ONLY)
  add_custom_command(OUTPUT "${stamped}.gz"
    COMMAND "${KESTROVA_GZIP}" -9 -n -c "${stamped}" > "${stamped}.gz"
    DEPENDS "${stamped}"
    COMMENT "Compressing the manual page ${page}.1"
    VERBATIM)
  list(APPEND kestrova_compressed "${stamped}.gz")
  # kestrova-check's page goes with the check and its units, which name it as their documentation.
  set(component Unspecified)
  if(page STREQUAL "kestrova-check")
    set(component check)
  endif()
  install(FILES "${stamped}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endforeach()

set(kestrova_changelog "${PROJECT_BINARY_DIR}/doc/changelog")
configure_file("${PROJECT_SOURCE_DIR}/data/changelog.in" "${kestrova_changelog}" @ONLY)
add_custom_command(OUTPUT "${kestrova_changelog}.gz"
  COMMAND "${KESTROVA_GZIP}" -9 -n -c "${kestrova_changelog}" > "${kestrova_changelog}.gz"
  DEPENDS "${kestrova_changelog}"
  VERBATIM)
add_custom_target(kestrova_documents ALL DEPENDS ${kestrova_compressed} "${kestrova_changelog}.gz")

set(kestrova_docdir "${CMAKE_INSTALL_DATADIR}/doc/kestrova")
install(FILES "${PROJECT_SOURCE_DIR}/data/copyright" "${kestrova_changelog}.gz"
  DESTINATION "${kestrova_docdir}")
# The sample month that the manual pages' examples report on: a usage log as the portal gives
# it and the same records as a cache file.
install(FILES "${PROJECT_SOURCE_DIR}/samples/usage.htm"
    "${PROJECT_SOURCE_DIR}/samples/2026-11-unbilled-demo.cache2"
  DESTINATION "${kestrova_docdir}/examples")

# Stripping (`cmake --install --strip`, and CPack, which strips) also drops the .comment section,
# the compilers' version notes, as Debian's own packages do. It runs after the programs'
# install rules, which come from the folders added before this file; a program of a component
# not installed is not there.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program kestrova kestrova-report kestrova-check)
      set(path \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
      if(EXISTS \"\${path}\")
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment \"\${path}\"
          RESULT_VARIABLE failed)
        if(failed)
          message(FATAL_ERROR \"Cannot remove the .comment section of \${path}\")
        endif()
      endif()
    endforeach()
  endif()")

# One package holds every component (the programs and the check's units).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VENDOR "The Kestrova developers")
set(CPACK_PACKAGE_CONTACT "The Kestrova developers <developers@kestrova.example>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL OFF)

set(CPACK_DEBIAN_PACKAGE_NAME kestrova)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kestrova.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds what the programs link; QtKeychain opens libsecret only when it runs, and
# without it "Remember password" and the daily check cannot reach the keyring. The keyring itself
# and the Wayland platform are the desktop's choice.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring | kwalletmanager, qt6-wayland")
# The long description; the synopsis is the project's description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kestrova logs in to the ORVO self-care portal in an embedded browser,
downloads the month's usage log and shows a coloured usage report, a chart
of daily usage and the bill priced against the provider's tariff plans.
Records can be kept in local cache files, so a report can be made again
without logging in.
.
kestrova-report makes the same report and bill from the command line;
kestrova-check runs the check without a window, daily through a systemd
user timer if enabled.")

# Every member of the package has the last commit's time (SOURCE_DATE_EPOCH) and the outer
# archive's members a fixed mode, so the package is the same whenever, wherever and by whom it
# is made; cpack reads the commit when it runs.
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/KestrovaSourceDate.cmake")
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/KestrovaDebArchive.cmake")
set(CPACK_KESTROVA_SOURCE_DIR "${PROJECT_SOURCE_DIR}")

include(CPack)
