# Target-scoped build settings shared by every target of the project.
option(MORVANE_SANITIZE_THREAD "Build with ThreadSanitizer (excludes MORVANE_SANITIZE)" OFF)

option(MORVANE_WERROR "Treat compiler warnings as errors (the test command turns it on)" OFF)

add_library(morvane_options INTERFACE)
target_compile_options(morvane_options INTERFACE -Wall -Wextra)
if(MORVANE_WERROR)
  target_compile_options(morvane_options INTERFACE -Werror)
endif()
if(WIN32)
  # GCC 12 for 32-bit targets reports overlapping copies inside std::string's own inlined
  # code where none can happen (its sizes overflow to "2147483649 or more bytes").
  target_compile_options(morvane_options INTERFACE -Wno-restrict)
endif()

if(MORVANE_SANITIZE)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "-fsanitize=address,undefined")
  set(CMAKE_REQUIRED_LINK_OPTIONS "-fsanitize=address,undefined")
  check_cxx_source_compiles("int main() { return 0; }" MORVANE_HAVE_SANITIZERS)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  if(NOT MORVANE_HAVE_SANITIZERS)
    message(FATAL_ERROR "MORVANE_SANITIZE is on but the compiler cannot build with -fsanitize=address,undefined")
  endif()
  target_compile_options(morvane_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(morvane_options INTERFACE -fsanitize=address,undefined)
  # The media libraries keep a few one-off allocations for their whole life; once a module
  # is unmapped those become unreachable and its frames unreadable, so leak checking would
  # report the libraries instead of us. Sanitizer builds therefore keep modules mapped.
  target_compile_definitions(morvane_options INTERFACE MORVANE_KEEP_MODULES_MAPPED=1)
endif()

if(MORVANE_SANITIZE_THREAD)
  if(MORVANE_SANITIZE)
    message(FATAL_ERROR "MORVANE_SANITIZE_THREAD and MORVANE_SANITIZE exclude each other: ThreadSanitizer cannot run with AddressSanitizer")
  endif()
  # Compiling is not enough: the runtime refuses some kernels' memory layouts, so the
  # check runs a program with a thread.
  include(CheckCXXSourceRuns)
  set(CMAKE_REQUIRED_FLAGS "-fsanitize=thread")
  set(CMAKE_REQUIRED_LINK_OPTIONS "-fsanitize=thread")
  check_cxx_source_runs("
    #include <thread>
    int shared = 0;
    int main() { std::thread worker([] { shared = 1; }); worker.join(); return shared - 1; }"
    MORVANE_HAVE_THREAD_SANITIZER)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  if(NOT MORVANE_HAVE_THREAD_SANITIZER)
    message(FATAL_ERROR "MORVANE_SANITIZE_THREAD is on but the compiler or this system cannot build and run with -fsanitize=thread")
  endif()
  target_compile_options(morvane_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(morvane_options INTERFACE -fsanitize=thread)
endif()

# The media headers are needed at build time only: the libraries are loaded by name.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFMPEG_HEADERS REQUIRED IMPORTED_TARGET
  libavformat libavcodec libavutil libswscale libswresample libavfilter libavdevice)
add_library(morvane_media_headers INTERFACE)
target_include_directories(morvane_media_headers SYSTEM INTERFACE ${FFMPEG_HEADERS_INCLUDE_DIRS})
if(WIN32)
  # The cross build takes the one header from the library's source, which has no .pc file.
  find_path(SOUNDTOUCH_DLL_INCLUDE_DIR SoundTouchDLL.h REQUIRED)
  target_include_directories(morvane_media_headers SYSTEM INTERFACE ${SOUNDTOUCH_DLL_INCLUDE_DIR})
else()
  pkg_check_modules(SOUNDTOUCH_HEADERS REQUIRED soundtouch)
  target_include_directories(morvane_media_headers SYSTEM INTERFACE ${SOUNDTOUCH_HEADERS_INCLUDE_DIRS})
endif()

# morvane_media_major(<library> <variable>): the major version of a media library (avcodec,
# swscale, ...) as the headers give it, which is also the version in the file name that the
# loader opens.
function(morvane_media_major library variable)
  string(TOUPPER "LIB${library}_VERSION_MAJOR" macro)
  foreach(header version_major.h version.h)
    find_file(_morvane_version_header lib${library}/${header} PATHS ${FFMPEG_HEADERS_INCLUDE_DIRS} NO_CACHE)
    if(_morvane_version_header)
      file(STRINGS ${_morvane_version_header} line REGEX "#define ${macro} ")
      if(line)
        string(REGEX MATCH "[0-9]+" major "${line}")
        set(${variable} ${major} PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
  message(FATAL_ERROR "No header of lib${library} defines ${macro}")
endfunction()

# The majors of the scaler and the resampler, for test stand-ins that must carry their file names.
morvane_media_major(swscale FFMPEG_SWSCALE_MAJOR)
morvane_media_major(swresample FFMPEG_SWRESAMPLE_MAJOR)
