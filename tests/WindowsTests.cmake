# The tests of the Windows program, run under Wine: the layers below the windows with the tests
# of their own that Windows adds (windows/<layer>), and the OPU link through the Windows drivers.
include(GoogleTest)

function(ukova_windows_tests name)
  add_executable(test_${name} ${ARGN})
  gtest_discover_tests(test_${name} TEST_PREFIX "windows." DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120 ${UKOVA_WINDOWS_TEST_PROPERTIES})
endfunction()

file(GLOB_RECURSE image_sources CONFIGURE_DEPENDS image/*.cpp)
ukova_windows_tests(image ${image_sources})
target_link_libraries(test_image PRIVATE ukova_image ukova_test_main_core)

file(GLOB_RECURSE ui_sources CONFIGURE_DEPENDS ui/*.cpp)
ukova_windows_tests(ui ${ui_sources})
target_link_libraries(test_ui PRIVATE ukova_ui ukova_test_main_widgets)

file(GLOB_RECURSE files_sources CONFIGURE_DEPENDS files/*.cpp windows/files/*.cpp)
# The image file tests are about owners, groups, modes and the file-size limit of Linux.
list(FILTER files_sources EXCLUDE REGEX "/files/ImageFilesTest\\.cpp$")
# Symbolic links as Linux makes them; Windows finds reparse points by their attribute.
list(FILTER files_sources EXCLUDE REGEX "/files/FileLinksTest\\.cpp$")
# The tests that paint a PDF run under a GUI application, as on Linux (tests/CMakeLists.txt).
list(REMOVE_ITEM files_sources ${files_painting_tests})
ukova_windows_tests(files ${files_sources})
target_link_libraries(test_files PRIVATE ukova_files ukova_test_main_core)
# The program's version record, which the settings and About read back from the program file.
target_sources(test_files PRIVATE ${CMAKE_BINARY_DIR}/packaging/windows/ukova-programmer.rc)
ukova_windows_tests(files_painting ${files_painting_tests})
target_link_libraries(test_files_painting PRIVATE ukova_files ukova_test_main_gui)
target_sources(test_files_painting PRIVATE
  ${CMAKE_BINARY_DIR}/packaging/windows/ukova-programmer.rc)

# One running copy a user and login: the login session's named pipe, and a later start of the
# program itself handing its file to the copy that holds it. Wine runs the program from a drive path.
# The windows over the files (the File commands, the folder dialog, the record window), whose
# dialogs and paths differ on Windows, and the folder dialog's paths as the settings file keeps
# them.
ukova_windows_tests(app app/ConfigurationFilesTest.cpp app/folder/SelectfolderTest.cpp
  app/safetynet/RecordWindowTest.cpp windows/app/FolderPathsTest.cpp)
target_link_libraries(test_app PRIVATE ukova_app ukova_test_main_widgets)
# The running copy's place is one for each user and login, and every Wine program of the run
# shares one server and so one login: its tests take the place one at a time.
set(UKOVA_WINDOWS_TEST_PROPERTIES RESOURCE_LOCK running_copy_place)
ukova_windows_tests(app_copy app/copy/RunningCopyPlaceTest.cpp)
unset(UKOVA_WINDOWS_TEST_PROPERTIES)
target_link_libraries(test_app_copy PRIVATE ukova_app ukova_test_main_widgets)
target_compile_definitions(test_app_copy PRIVATE
  UKOVA_PROGRAM="Z:$<TARGET_FILE:ukova-programmer>")
add_dependencies(test_app_copy ukova-programmer)

# The link through the Windows drivers against the simulated OPU, which runs on the Linux side
# behind a Wine COM port. The simulator comes from a Linux build (scripts/test.sh builds one).
set(UKOVA_OPU_SIM "" CACHE FILEPATH "The Linux build's ukova-opu-sim, for the Windows link tests")
if(NOT EXISTS "${UKOVA_OPU_SIM}")
  message(STATUS "No UKOVA_OPU_SIM: the Windows link tests against the simulated OPU are left out")
  return()
endif()

# The stand-in for the D2XX library, built as ftd2xx.dll beside the test program.
add_library(standin_ftd2xx SHARED windows/opu/StandInD2xx.cpp)
set_target_properties(standin_ftd2xx PROPERTIES OUTPUT_NAME ftd2xx PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
# Written as the chip maker's library is, with no runtime DLLs of its own to find.
target_link_options(standin_ftd2xx PRIVATE -static-libgcc -static-libstdc++)

add_executable(test_opu_windows windows/opu/WindowsLinkTest.cpp)
target_link_libraries(test_opu_windows PRIVATE ukova_opu ukova_test_main_core)
add_dependencies(test_opu_windows standin_ftd2xx)

# One Wine COM port a case, so that cases run side by side.
set(com_port 10)
function(ukova_link_case name simulator_arguments)
  math(EXPR port "${com_port} + 1")
  set(com_port ${port} PARENT_SCOPE)
  add_test(NAME windows.${name}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/opu/with-simulated-opu.sh ${UKOVA_OPU_SIM}
      com${port} ${simulator_arguments} --
      ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:test_opu_windows> --gtest_filter=${name})
  set_tests_properties(windows.${name} PROPERTIES TIMEOUT 120 ENVIRONMENT "${ARGN}")
endfunction()

ukova_link_case(WindowsComPort.IdentifiesWritesAndReadsBack "")
ukova_link_case(WindowsComPort.SilenceAndAHangUpAreNoAnswer "--silent;v;--hang-up-on;M")
ukova_link_case(WindowsComPort.AMissingPortIsNotFound "")
ukova_link_case(WindowsComPortFailures.EachRefusalTellsItsKind "")
ukova_link_case(WindowsD2xx.OpensByDescriptionAndSetsTheLine "")
ukova_link_case(WindowsD2xx.ADeviceOfAnotherDescriptionIsNotOpened ""
  "UKOVA_STANDIN_DESCRIPTION=Another USB Serial Converter")
ukova_link_case(WindowsD2xx.APulledCableIsNoAnswer "--hang-up-on;M")
