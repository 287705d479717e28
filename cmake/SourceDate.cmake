# The one time a build of a commit carries wherever a time ends up in what it ships: the change
# log's date, the times of the packages' files and of their members. It is the commit's own time,
# so that two builds of one commit give the same bytes (SOURCE_DATE_EPOCH, as reproducible-builds
# tools read it). From the environment when set; else from git; a source tree without git (an
# unpacked archive) takes the release date, UKOVA_RELEASE_DATE.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(UKOVA_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git log -1 --format=%ct
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE UKOVA_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE git_status ERROR_QUIET)
  if(NOT git_status EQUAL 0 OR NOT UKOVA_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    execute_process(COMMAND date -u -d "${UKOVA_RELEASE_DATE}" +%s
      OUTPUT_VARIABLE UKOVA_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
endif()
if(NOT UKOVA_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is no count of seconds: '${UKOVA_SOURCE_DATE_EPOCH}'")
endif()
# string(TIMESTAMP) reads it from here.
set(ENV{SOURCE_DATE_EPOCH} ${UKOVA_SOURCE_DATE_EPOCH})

# Paths of the source and build folders stay out of the released binaries (assertion texts, debug
# information), so that a build in another folder gives the same bytes. The last match wins: the
# build folder inside the source tree is named from the build folder. Only Release builds, which
# are the ones packaged: the test builds keep their compiler cache.
add_compile_options("$<$<CONFIG:Release>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>"
  "$<$<CONFIG:Release>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")
