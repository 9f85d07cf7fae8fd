# 32-bit Windows with Debian's mingw-w64. The posix thread model is the one with
# std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# Libraries and headers come from the mingw-w64 tree and the libraries cross-built for it
# (MORVANE_WINDOWS_DEPS, a list of install prefixes); never from the build machine.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MORVANE_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${MORVANE_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_PATH} "")
set(_morvane_pc "")
foreach(prefix IN LISTS MORVANE_WINDOWS_DEPS)
  list(APPEND _morvane_pc ${prefix}/lib/pkgconfig)
endforeach()
string(REPLACE ";" ":" _morvane_pc "${_morvane_pc}")
set(ENV{PKG_CONFIG_LIBDIR} "${_morvane_pc}")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Test programs run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# One program with no C++ or thread run-time DLLs to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
