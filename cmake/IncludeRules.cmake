# Include rules between the project's folders: a folder includes only itself and the
# folders below it that it may use, so that a type or inline function used the wrong way
# fails the build as a wrong call fails the link.

# morvane_check_includes(<folder> ROOTS <include roots...> ALLOWS <include roots...>)
# Fails the configuration (which a build runs again whenever a file of the folder changes)
# for each "ROOT/..." include in a file below <folder> (relative to the project) whose ROOT
# is one of ROOTS but not among ALLOWS.
function(morvane_check_includes folder)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "ROOTS;ALLOWS")
  set(include_pattern "^[ \t]*#[ \t]*include[ \t]*\"([^/\"]+)/[^\"]*\"")
  file(GLOB_RECURSE files CONFIGURE_DEPENDS LIST_DIRECTORIES false
    ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.inc)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${files})
  list(JOIN ARG_ALLOWS ", " allowed)
  foreach(file IN LISTS files)
    file(STRINGS ${file} lines REGEX "${include_pattern}")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "${include_pattern}" include "${line}")
      set(included ${CMAKE_MATCH_1})
      if(included IN_LIST ARG_ROOTS AND NOT included IN_LIST ARG_ALLOWS)
        file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
        message(SEND_ERROR "${shown} includes ${included}/, which ${folder}/ may not use "
          "(it includes only ${allowed})")
      endif()
    endforeach()
  endforeach()
endfunction()
