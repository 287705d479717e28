# Read by cpack before it packages: the archive members it writes take their time from
# SOURCE_DATE_EPOCH, which the build sets to the commit's time unless the caller chose one.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_UKOVA_SOURCE_DATE_EPOCH})
endif()
