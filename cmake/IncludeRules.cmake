# Include rules between the project's folders: a folder includes only itself and the
# folders below it that it may use, so that a type or inline function used the wrong way
# fails the build as a wrong call fails the link.

# morvane_check_includes(<folder> [WITHIN <parent>] [ROOTS <include roots...>] ALLOWS <include roots...>)
# Fails the configuration (which a build runs again whenever a file of the folder changes)
# for each "ROOT/..." include in a file below <folder> (relative to the project) whose ROOT
# is one of ROOTS but not among ALLOWS.
# WITHIN runs the check one level down, between the rooms of one folder: only includes
# "<parent>/..." count, and ROOT is the folder after "<parent>/" ("<parent>/ROOT/X.h"). An
# include of a file straight in <parent> ("<parent>/X.h") has the root <parent> itself.
# Without ROOTS, every root counts.
function(morvane_check_includes folder)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "WITHIN" "ROOTS;ALLOWS")
  if(ARG_WITHIN)
    set(include_pattern "^[ \t]*#[ \t]*include[ \t]*\"${ARG_WITHIN}/(([^/\"]+)/)?[^\"]*\"")
  else()
    set(include_pattern "^[ \t]*#[ \t]*include[ \t]*\"(([^/\"]+)/)[^\"]*\"")
  endif()
  file(GLOB_RECURSE files CONFIGURE_DEPENDS LIST_DIRECTORIES false
    ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.inc)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${files})
  set(shown_allows ${ARG_ALLOWS})
  if(ARG_WITHIN)
    list(TRANSFORM shown_allows REPLACE "^(.+)$" "${ARG_WITHIN}/\\1/")
    list(TRANSFORM shown_allows REPLACE "^${ARG_WITHIN}/${ARG_WITHIN}/$" "the top of ${ARG_WITHIN}/")
  endif()
  list(JOIN shown_allows ", " allowed)
  foreach(file IN LISTS files)
    file(STRINGS ${file} lines REGEX "${include_pattern}")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "${include_pattern}" include "${line}")
      set(included "${CMAKE_MATCH_2}")
      set(shown_included "${included}/")
      if(ARG_WITHIN)
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\"$" "\\1" path "${include}")
        if(included STREQUAL "")
          set(included ${ARG_WITHIN})
          set(shown_included "${path} from the top of ${ARG_WITHIN}/")
        else()
          set(shown_included "${path} from ${ARG_WITHIN}/${included}/")
        endif()
      endif()
      if((NOT DEFINED ARG_ROOTS OR included IN_LIST ARG_ROOTS) AND NOT included IN_LIST ARG_ALLOWS)
        file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
        message(SEND_ERROR "${shown} includes ${shown_included}, which ${folder}/ may not use "
          "(it includes only ${allowed})")
      endif()
    endforeach()
  endforeach()
endfunction()

# morvane_room(<parent> <room> [USES <rooms...>])
# Declares the folder <parent>/<room> a room of <parent>, above the rooms declared before
# it. It may use only rooms declared before it, so that the rooms stack without a cycle,
# and it includes only itself and the rooms it uses: never another room, nor the files
# straight in <parent>, which stand above every room.
function(morvane_room parent room)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "USES")
  get_property(below GLOBAL PROPERTY MORVANE_ROOMS_${parent})
  foreach(used IN LISTS ARG_USES)
    if(NOT used IN_LIST below)
      message(SEND_ERROR "${parent}/${room}/ uses ${parent}/${used}/, which is not a room declared below it")
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY MORVANE_ROOMS_${parent} ${room})
  morvane_check_includes(${parent}/${room} WITHIN ${parent} ALLOWS ${room} ${ARG_USES})
endfunction()

# morvane_check_rooms(<parent>)
# Fails the configuration for a folder in <parent> that is not a declared room, whose
# includes no room rule would check.
function(morvane_check_rooms parent)
  get_property(rooms GLOBAL PROPERTY MORVANE_ROOMS_${parent})
  file(GLOB entries CONFIGURE_DEPENDS LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/${parent}/*)
  foreach(entry IN LISTS entries)
    get_filename_component(name ${entry} NAME)
    if(IS_DIRECTORY ${entry} AND NOT name IN_LIST rooms)
      message(SEND_ERROR "${parent}/${name}/ is not a declared room of ${parent}/ (morvane_room)")
    endif()
  endforeach()
endfunction()
