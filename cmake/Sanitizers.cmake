# The sanitizer build (preset asan) and the fuzzing build (preset fuzz, clang only). Both apply
# to every library, so that a fault anywhere below a test or a fuzz target is caught where it
# happens.
option(UKOVA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(UKOVA_FUZZ "Also build the fuzz targets for libFuzzer (needs clang)" OFF)

if(UKOVA_SANITIZE)
  # Undefined behaviour ends the program like a memory fault does, so that no test passes past it.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(UKOVA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "UKOVA_FUZZ needs clang (libFuzzer): use the fuzz preset")
  endif()
  # Coverage feedback from every library; the fuzz targets themselves link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
