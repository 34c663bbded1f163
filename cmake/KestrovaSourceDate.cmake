# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Read by cpack before it makes the package: without a SOURCE_DATE_EPOCH of the caller's, the
# time of the checkout's last commit, which CPack gives every member of the package.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct
    WORKING_DIRECTORY "${CPACK_KESTROVA_SOURCE_DIR}"
    OUTPUT_VARIABLE kestrova_commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE kestrova_git_failed ERROR_QUIET)
  if(NOT kestrova_git_failed AND kestrova_commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${kestrova_commit_time}")
  endif()
endif()
