# Read by cpack before it makes a package: adds the packages that hold what the program loads
# by name at run time to the dependencies that dpkg-shlibdeps finds among its links.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(dependencies ${CPACK_MORVANE_DECLARED_PACKAGES})
  foreach(library IN LISTS CPACK_MORVANE_LOADED_LIBRARIES)
    execute_process(COMMAND dpkg-query --search "*/${library}"
                    OUTPUT_VARIABLE owners RESULT_VARIABLE status ERROR_QUIET)
    # "libavcodec59:amd64: /usr/lib/x86_64-linux-gnu/libavcodec.so.59"
    string(REGEX MATCH "^[^:, \n]+" package "${owners}")
    if(NOT status EQUAL 0 OR NOT package)
      message(FATAL_ERROR "No installed package holds ${library}, which the program loads at run time")
    endif()
    list(APPEND dependencies ${package})
  endforeach()
  list(REMOVE_DUPLICATES dependencies)
  list(JOIN dependencies ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
endif()
