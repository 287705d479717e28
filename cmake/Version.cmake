# The version a build is known by, from one place. PROJECT_VERSION, four numbers, is the release:
# the Windows version record's FileVersion and the settings' AppVersion keep that form. A build
# adds the count of commits it was built from, UKOVA_BUILD_VERSION = 1.2.1.123+git197: --version,
# About, the Debian packages, their change log and the installer's name all show that string.
# Debian orders it after the bare release and before the next one (1.2.1.123 < 1.2.1.123+git197
# < 1.2.1.123+git198 < 1.2.1.124+git…); see "Versions" in the README. A source tree without git
# is the bare release.
execute_process(COMMAND git rev-list --count HEAD
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  OUTPUT_VARIABLE UKOVA_COMMIT_COUNT OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE git_status ERROR_QUIET)
if(git_status EQUAL 0 AND UKOVA_COMMIT_COUNT MATCHES "^[0-9]+$")
  set(UKOVA_BUILD_VERSION ${PROJECT_VERSION}+git${UKOVA_COMMIT_COUNT})
  # A new commit (or a checkout) configures again, so that the build never names an old count.
  execute_process(COMMAND git rev-parse --path-format=absolute --git-path HEAD
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE head_file OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND git symbolic-ref -q HEAD
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE branch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  set(branch_file)
  if(branch)
    execute_process(COMMAND git rev-parse --path-format=absolute --git-path ${branch}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE branch_file OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  foreach(file IN ITEMS ${head_file} ${branch_file})
    # A branch whose ref is packed has no file of its own; HEAD still changes with a checkout.
    if(EXISTS ${file})
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    endif()
  endforeach()
else()
  set(UKOVA_BUILD_VERSION ${PROJECT_VERSION})
endif()
message(STATUS "Version of this build: ${UKOVA_BUILD_VERSION}")
