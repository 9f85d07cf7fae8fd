# The folders above the media component keep to their side too: the workflow includes only
# itself and the component, the command line and the window each include only themselves,
# the workflow and the component, never each other.

# morvane_check_front_includes(<folder> ALLOWS <include prefixes...>)
# Fails the configuration (which a build runs again whenever a file of the folder changes)
# for each "PREFIX/..." include in a file below <folder> whose PREFIX is one of the
# project's own include roots (`MORVANE_INCLUDE_ROOTS`) but not among ALLOWS.
function(morvane_check_front_includes folder)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "ALLOWS")
  set(include_pattern "^[ \t]*#[ \t]*include[ \t]*\"([^/\"]+)/[^\"]*\"")
  file(GLOB_RECURSE files CONFIGURE_DEPENDS LIST_DIRECTORIES false
    ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${files})
  list(JOIN ARG_ALLOWS ", " allowed)
  foreach(file IN LISTS files)
    file(STRINGS ${file} lines REGEX "${include_pattern}")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "${include_pattern}" include "${line}")
      set(included ${CMAKE_MATCH_1})
      if(included IN_LIST MORVANE_INCLUDE_ROOTS AND NOT included IN_LIST ARG_ALLOWS)
        file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
        message(SEND_ERROR "${shown} includes ${included}/, which ${folder}/ may not use "
          "(it includes only ${allowed})")
      endif()
    endforeach()
  endforeach()
endfunction()
