file(REMOVE_RECURSE
  "CMakeFiles/morvane_media.dir/FFLoad/EntryPoints.cpp.o"
  "CMakeFiles/morvane_media.dir/FFLoad/EntryPoints.cpp.o.d"
  "CMakeFiles/morvane_media.dir/FFLoad/FFLoad.cpp.o"
  "CMakeFiles/morvane_media.dir/FFLoad/FFLoad.cpp.o.d"
  "CMakeFiles/morvane_media.dir/FFLoad/LibraryTable.cpp.o"
  "CMakeFiles/morvane_media.dir/FFLoad/LibraryTable.cpp.o.d"
  "CMakeFiles/morvane_media.dir/FFLog/FFLog.cpp.o"
  "CMakeFiles/morvane_media.dir/FFLog/FFLog.cpp.o.d"
  "CMakeFiles/morvane_media.dir/Text/Format.cpp.o"
  "CMakeFiles/morvane_media.dir/Text/Format.cpp.o.d"
  "CMakeFiles/morvane_media.dir/Text/Utf8.cpp.o"
  "CMakeFiles/morvane_media.dir/Text/Utf8.cpp.o.d"
  "CMakeFiles/morvane_media.dir/platform/DynamicLibrary_posix.cpp.o"
  "CMakeFiles/morvane_media.dir/platform/DynamicLibrary_posix.cpp.o.d"
  "CMakeFiles/morvane_media.dir/platform/Environment_posix.cpp.o"
  "CMakeFiles/morvane_media.dir/platform/Environment_posix.cpp.o.d"
  "CMakeFiles/morvane_media.dir/platform/FileSystem_posix.cpp.o"
  "CMakeFiles/morvane_media.dir/platform/FileSystem_posix.cpp.o.d"
  "CMakeFiles/morvane_media.dir/platform/FloatingPoint_posix.cpp.o"
  "CMakeFiles/morvane_media.dir/platform/FloatingPoint_posix.cpp.o.d"
  "CMakeFiles/morvane_media.dir/platform/LibraryNames_posix.cpp.o"
  "CMakeFiles/morvane_media.dir/platform/LibraryNames_posix.cpp.o.d"
  "CMakeFiles/morvane_media.dir/platform/RawFile_posix.cpp.o"
  "CMakeFiles/morvane_media.dir/platform/RawFile_posix.cpp.o.d"
  "CMakeFiles/morvane_media.dir/platform/System_posix.cpp.o"
  "CMakeFiles/morvane_media.dir/platform/System_posix.cpp.o.d"
  "CMakeFiles/morvane_media.dir/platform/Text_posix.cpp.o"
  "CMakeFiles/morvane_media.dir/platform/Text_posix.cpp.o.d"
  "libmorvane_media.a"
  "libmorvane_media.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/morvane_media.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
