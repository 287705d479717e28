# Run by cpack on the staged files before it packs them: each file and folder takes the commit's
# time instead of the time it was built or installed, which differs from build to build.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
if(staged)
  execute_process(COMMAND touch --no-dereference --date=@$ENV{SOURCE_DATE_EPOCH} ${staged}
    COMMAND_ERROR_IS_FATAL ANY)
endif()
