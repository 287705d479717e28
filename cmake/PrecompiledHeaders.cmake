# Precompiled Qt headers for every target that uses Qt, from this one place: the Qt headers are
# most of what each source file compiles. A target gets the headers of the Qt modules it links
# (and for the tests GoogleTest's and QtTest's); targets that would build the same precompiled
# header share the first one's. Other compilers (clang for the fuzz targets) build one a target.
# Call ukova_precompile_qt_headers() after every target is defined.

# The Qt headers that the sources include most, a module at a time.
set(UKOVA_PCH_CORE <QByteArray> <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo>
  <QList> <QLocale> <QObject> <QRegularExpression> <QString> <QStringList> <QTemporaryDir>
  <QTimer> <QVariant>)
set(UKOVA_PCH_GUI <QGuiApplication> <QImage> <QPainter> <QPixmap> <QScreen>)
set(UKOVA_PCH_WIDGETS <QApplication> <QCheckBox> <QComboBox> <QDialog> <QGroupBox> <QLabel>
  <QLineEdit> <QMenu> <QPushButton> <QVBoxLayout> <QWidget>)
set(UKOVA_PCH_GTEST <gtest/gtest.h> <gmock/gmock.h>)
set(UKOVA_PCH_QTEST <QTest>)

# Every target that a target links, directly or through others, by its real name.
function(_ukova_link_closure target result)
  set(seen)
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    # An imported target found in a folder below (GoogleTest, QtTest in tests/) is named but not
    # seen from here: its name is what counts.
    if(NOT TARGET ${current})
      continue()
    endif()
    # An alias links what its target links; an unset property reads as empty.
    get_property(aliased TARGET ${current} PROPERTY ALIASED_TARGET)
    get_property(imported TARGET ${current} PROPERTY IMPORTED)
    get_property(type TARGET ${current} PROPERTY TYPE)
    set(direct)
    if(NOT aliased AND NOT imported AND NOT type STREQUAL "INTERFACE_LIBRARY")
      get_property(direct TARGET ${current} PROPERTY LINK_LIBRARIES)
    endif()
    set(interface)
    if(NOT aliased)
      get_property(interface TARGET ${current} PROPERTY INTERFACE_LINK_LIBRARIES)
    endif()
    foreach(link IN LISTS aliased direct interface)
      # Qt names some of its links as $<LINK_ONLY:...>; other expressions are no targets of ours.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      if(NOT link MATCHES "[$<>]")
        list(APPEND queue ${link})
      endif()
    endforeach()
  endwhile()
  set(${result} ${seen} PARENT_SCOPE)
endfunction()

# The targets defined in a folder and the folders below it.
function(_ukova_targets_below directory result)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    _ukova_targets_below(${subdirectory} below)
    list(APPEND targets ${below})
  endforeach()
  set(${result} ${targets} PARENT_SCOPE)
endfunction()

function(ukova_precompile_qt_headers)
  _ukova_targets_below(${CMAKE_SOURCE_DIR} targets)
  set(candidates)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    _ukova_link_closure(${target} closure)
    if(NOT "Qt6::Core" IN_LIST closure)
      continue()
    endif()
    set(kind core)
    set(headers ${UKOVA_PCH_CORE})
    # Each part the target links adds its headers. GoogleTest is GTest::gtest or, built from its
    # source for Windows, gtest.
    foreach(part gui:Qt6::Gui widgets:Qt6::Widgets gtest:GTest::gtest,gtest qtest:Qt6::Test)
      string(REGEX MATCH "^[a-z]+" name ${part})
      string(REGEX REPLACE "^[a-z]+:" "" markers ${part})
      string(REPLACE "," ";" markers ${markers})
      foreach(marker IN LISTS markers)
        if(marker IN_LIST closure)
          string(APPEND kind -${name})
          string(TOUPPER ${name} name)
          list(APPEND headers ${UKOVA_PCH_${name}})
          break()
        endif()
      endforeach()
    endforeach()
    # What the target compiles with: its own definitions and options, those of what it links,
    # and the folders where a definition names the target's own (Qt's test definitions).
    get_property(settings TARGET ${target} PROPERTY COMPILE_DEFINITIONS)
    get_property(options TARGET ${target} PROPERTY COMPILE_OPTIONS)
    list(APPEND settings ${options})
    foreach(linked IN LISTS closure)
      if(TARGET ${linked})
        get_property(definitions TARGET ${linked} PROPERTY INTERFACE_COMPILE_DEFINITIONS)
        get_property(options TARGET ${linked} PROPERTY INTERFACE_COMPILE_OPTIONS)
        list(APPEND settings ${definitions} ${options})
      else()
        # Found in a folder below: what it adds is unknown here, so it counts by its name.
        list(APPEND settings ${linked})
      endif()
    endforeach()
    if(settings MATCHES "TARGET_PROPERTY:")
      get_property(source_dir TARGET ${target} PROPERTY SOURCE_DIR)
      get_property(binary_dir TARGET ${target} PROPERTY BINARY_DIR)
      list(APPEND settings ${source_dir} ${binary_dir})
    endif()
    list(REMOVE_DUPLICATES settings)
    set(closure_of_${target} ${closure})
    set(kind_of_${target} ${kind})
    set(headers_of_${target} ${headers})
    set(settings_of_${target} ${settings})
    list(LENGTH settings count)
    string(LENGTH "${count}" digits)
    string(SUBSTRING "000${count}" ${digits} 3 count)
    # Libraries first: the programs that link them then build after their header, never before.
    set(order 0)
    if(type STREQUAL "EXECUTABLE")
      set(order 1)
    endif()
    list(APPEND candidates "${order}:${count}:${target}")
  endforeach()

  # GCC takes a precompiled header only where every definition it was built with is defined the
  # same (more are fine when no header reads them). So a target takes the header of one of its
  # kind whose settings it all has, else builds its own; the libraries and the fewest settings
  # come first.
  list(SORT candidates)
  set(hosts)
  foreach(candidate IN LISTS candidates)
    string(REGEX REPLACE "^[0-9]+:[0-9]+:" "" target ${candidate})
    set(host "")
    foreach(possible IN LISTS hosts)
      # A header built for a target that links this one would have to wait for it: a cycle.
      if(NOT kind_of_${possible} STREQUAL kind_of_${target} OR
         target IN_LIST closure_of_${possible})
        continue()
      endif()
      set(host ${possible})
      foreach(setting IN LISTS settings_of_${possible})
        if(NOT setting IN_LIST settings_of_${target})
          set(host "")
          break()
        endif()
      endforeach()
      if(host)
        break()
      endif()
    endforeach()
    if(host AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_precompile_headers(${target} REUSE_FROM ${host})
      set(shared " (the header of ${host})")
    else()
      target_precompile_headers(${target} PRIVATE ${headers_of_${target}})
      list(APPEND hosts ${target})
      set(shared "")
    endif()
    # ccache caches a compile that reads a precompiled header only when told that it may take the
    # header's definitions and times as they are (and that a header just built is no fault).
    get_target_property(launcher ${target} CXX_COMPILER_LAUNCHER)
    if(launcher MATCHES "(^|/)ccache$")
      set_property(TARGET ${target} PROPERTY CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
        CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
        ${launcher})
    endif()
    message(DEBUG "Precompiled headers of ${target}: ${kind_of_${target}}${shared}")
  endforeach()
endfunction()
