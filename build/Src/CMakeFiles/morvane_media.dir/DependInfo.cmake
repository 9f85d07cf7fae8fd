
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/Src/FFLoad/EntryPoints.cpp" "Src/CMakeFiles/morvane_media.dir/FFLoad/EntryPoints.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/FFLoad/EntryPoints.cpp.o.d"
  "/work/main/Src/FFLoad/FFLoad.cpp" "Src/CMakeFiles/morvane_media.dir/FFLoad/FFLoad.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/FFLoad/FFLoad.cpp.o.d"
  "/work/main/Src/FFLoad/LibraryTable.cpp" "Src/CMakeFiles/morvane_media.dir/FFLoad/LibraryTable.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/FFLoad/LibraryTable.cpp.o.d"
  "/work/main/Src/FFLog/FFLog.cpp" "Src/CMakeFiles/morvane_media.dir/FFLog/FFLog.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/FFLog/FFLog.cpp.o.d"
  "/work/main/Src/Text/Format.cpp" "Src/CMakeFiles/morvane_media.dir/Text/Format.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/Text/Format.cpp.o.d"
  "/work/main/Src/Text/Utf8.cpp" "Src/CMakeFiles/morvane_media.dir/Text/Utf8.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/Text/Utf8.cpp.o.d"
  "/work/main/Src/platform/DynamicLibrary_posix.cpp" "Src/CMakeFiles/morvane_media.dir/platform/DynamicLibrary_posix.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/platform/DynamicLibrary_posix.cpp.o.d"
  "/work/main/Src/platform/Environment_posix.cpp" "Src/CMakeFiles/morvane_media.dir/platform/Environment_posix.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/platform/Environment_posix.cpp.o.d"
  "/work/main/Src/platform/FileSystem_posix.cpp" "Src/CMakeFiles/morvane_media.dir/platform/FileSystem_posix.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/platform/FileSystem_posix.cpp.o.d"
  "/work/main/Src/platform/FloatingPoint_posix.cpp" "Src/CMakeFiles/morvane_media.dir/platform/FloatingPoint_posix.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/platform/FloatingPoint_posix.cpp.o.d"
  "/work/main/Src/platform/LibraryNames_posix.cpp" "Src/CMakeFiles/morvane_media.dir/platform/LibraryNames_posix.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/platform/LibraryNames_posix.cpp.o.d"
  "/work/main/Src/platform/RawFile_posix.cpp" "Src/CMakeFiles/morvane_media.dir/platform/RawFile_posix.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/platform/RawFile_posix.cpp.o.d"
  "/work/main/Src/platform/System_posix.cpp" "Src/CMakeFiles/morvane_media.dir/platform/System_posix.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/platform/System_posix.cpp.o.d"
  "/work/main/Src/platform/Text_posix.cpp" "Src/CMakeFiles/morvane_media.dir/platform/Text_posix.cpp.o" "gcc" "Src/CMakeFiles/morvane_media.dir/platform/Text_posix.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
