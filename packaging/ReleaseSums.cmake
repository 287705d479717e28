# Run by cpack after it built the packages: SHA256SUMS beside them names each package file with
# its SHA-256 sum, so that "sha256sum -c SHA256SUMS" in the folder of a download checks it.
set(sums "")
set(packages ${CPACK_PACKAGE_FILES})
list(SORT packages)
foreach(package IN LISTS packages)
  file(SHA256 "${package}" sum)
  get_filename_component(name "${package}" NAME)
  string(APPEND sums "${sum}  ${name}\n")
endforeach()
file(WRITE "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS" "${sums}")
