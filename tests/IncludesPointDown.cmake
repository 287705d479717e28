# Fails when a file includes a header of a layer it may not use. Every dependency points down:
#   image  <-  link/opu  <-  link  <-  ui, cli  <-  app
#   image  <-  files  <-  cli  <-  app                    (files holds no widgets: every front end
#                                                           drives it, a window or none)
# The transmitter operations hold no widgets either: the widget helpers of ui sit above them and
# show what the operations tell.
# The simulated OPU stands beside the program on the line and the image alone; tests may use
# their own layer, what that layer may use, the test support and the simulated OPU. The features
# added to the main window keep one folder each below app/ (app/sheet/, app/recent/, ...): the
# window constructs them, and no feature includes another one's folder (app/safetynet/ holds the
# record and comparison windows, app/folder/ the default folder's dialog; the File commands, which
# several features use, are the window's own: app/ConfigurationFiles.h).
# Usage: cmake -DSOURCE_DIR=<source tree> -P IncludesPointDown.cmake
cmake_minimum_required(VERSION 3.25)

set(may_use_image "")
set(may_use_ui "link;opu;image")
set(may_use_opu "image")
set(may_use_link "opu;image")
set(may_use_files "image")
set(may_use_cli "link;files;opu;image")
set(may_use_app "cli;link;files;opu;image;ui")
set(may_use_sim "opu;image")
set(may_use_bench "app;cli;link;files;opu;image;ui;sim")

# The layer a path (relative to the source tree, or as written in an include) belongs to.
function(layer_of path result)
  if(path MATCHES "^link/opu/")
    set(layer opu)
  elseif(path MATCHES "^(image|ui|link|files|cli|app|bench)/")
    set(layer ${CMAKE_MATCH_1})
  elseif(path MATCHES "^tools/opu-sim/")
    set(layer sim)
  elseif(path MATCHES "^tests/(image|ui|opu|link|files|cli|app)/")
    set(layer test_${CMAKE_MATCH_1})
  elseif(path MATCHES "^(tests/)?support/")
    set(layer support)
  else()
    set(layer "")
  endif()
  set(${result} "${layer}" PARENT_SCOPE)
endfunction()

# The feature folder below app/ a path belongs to; empty for the window's own files.
function(feature_of path result)
  if(path MATCHES "^(tests/)?app/([^/]+)/")
    set(${result} "${CMAKE_MATCH_2}" PARENT_SCOPE)
  else()
    set(${result} "" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/image/*.h ${SOURCE_DIR}/image/*.cpp ${SOURCE_DIR}/ui/*.h ${SOURCE_DIR}/ui/*.cpp
  ${SOURCE_DIR}/link/*.h ${SOURCE_DIR}/link/*.cpp ${SOURCE_DIR}/files/*.h ${SOURCE_DIR}/files/*.cpp
  ${SOURCE_DIR}/cli/*.h ${SOURCE_DIR}/cli/*.cpp
  ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
  ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/tests/*.h
  ${SOURCE_DIR}/tests/*.cpp)

set(violations "")
set(checked 0)
foreach(source IN LISTS sources)
  layer_of("${source}" from)
  if(from STREQUAL "" OR from STREQUAL "support")
    continue()
  endif()
  if(from MATCHES "^test_(.*)$")
    set(own ${CMAKE_MATCH_1})
    set(allowed ${own} ${may_use_${own}} support sim)
  else()
    set(allowed ${from} ${may_use_${from}})
  endif()
  feature_of("${source}" from_feature)
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" header "${line}")
    math(EXPR checked "${checked} + 1")
    layer_of("${header}" to)
    if(to STREQUAL "")
      continue()
    endif()
    if(NOT to IN_LIST allowed)
      list(APPEND violations "${source}: \"${header}\" (${from} may not use ${to})")
    endif()
    feature_of("${header}" to_feature)
    if(from_feature AND to_feature AND NOT from_feature STREQUAL to_feature)
      list(APPEND violations
        "${source}: \"${header}\" (feature ${from_feature} may not use feature ${to_feature})")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " report)
  message(FATAL_ERROR "Includes that point up or sideways:\n  ${report}")
endif()
message(STATUS "${checked} includes checked, all point down")
