#!/usr/bin/env bash
# Builds morvane-cli as a 32-bit Windows program on Debian 12, from this tree and Debian's
# own source packages only:
#   build-windows/bin/morvane-cli.exe, its DLLs in build-windows/bin/LibAV/, the zone rules
#   in build-windows/bin/zoneinfo/, and build-windows/morvane-cli-VERSION-win32.zip.
# Installs what is missing (as root). The libraries built from source are kept under
# MORVANE_WINDOWS_CACHE (default /var/cache/morvane/windows), one folder per source version
# and flags, and rebuilt whenever that folder is missing or incomplete.
#
#   scripts/build-windows.sh            the program and its zip
#   scripts/build-windows.sh --deps BIN only the libraries, with the DLLs and zone rules put
#                                       into BIN; prints the variable that names the libraries
#                                       (scripts/test-windows.sh builds the tests with it)
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$PWD
cache=${MORVANE_WINDOWS_CACHE:-/var/cache/morvane/windows}
host=i686-w64-mingw32
jobs=$(nproc)
t0=$(date +%s)
step() { echo "[build-windows $(($(date +%s) - t0)) s] $*" >&2; }

# --- Packages -----------------------------------------------------------------------------
install_packages() {
  local packages=(g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix nasm dpkg-dev cmake make pkg-config
                  zip wine wine32:i386 ffmpeg tzdata cpio)
  local missing=()
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  local sources=/etc/apt/sources.list.d/debian-src.sources
  [ ${#missing[@]} -eq 0 ] && [ -e "$sources" ] && return
  step "installing ${missing[*]:-source entries}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # apt-get source needs deb-src entries: the same archives and suites as the binaries.
  [ -e "$sources" ] || sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$sources"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  [ ${#missing[@]} -eq 0 ] || apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# --- Libraries from Debian source packages ------------------------------------------------
source_version() { apt-cache showsrc --only-source "$1" | sed -n 's/^Version: //p' | sort -V | tail -1; }

# The unpacked source of package $1 in folder $2: the newest version that the archives
# serve (a security update may be listed before its source reaches the mirror).
unpack_source() {
  local package=$1 into=$2 version
  for version in $(apt-cache showsrc --only-source "$package" | sed -n 's/^Version: //p' | sort -Vru); do
    rm -rf "$into/download"
    mkdir -p "$into/download"
    if (cd "$into/download" && apt-get source -qq --download-only "$package=$version" >/dev/null 2>&1); then
      [ "$version" = "$(source_version "$package")" ] || step "$package: building $version, the newest served"
      (cd "$into/download" && dpkg-source -x ./*.dsc "$into/src" >/dev/null 2>&1)
      return
    fi
  done
  echo "no source of $package could be downloaded" >&2
  return 1
}

# cached NAME BUILDER ARGS...: prints the folder that holds NAME built by BUILDER (called
# with a scratch folder and the install prefix). The folder's name carries a digest of the
# source version, the builder's text and ARGS, so that any change gives a new folder; it
# counts only once the build finished (a ".done" mark), so an interrupted build is redone.
cached() {
  local name=$1 builder=$2
  shift 2
  local version key prefix
  version=$(source_version "$name")
  key=$( { echo "$version"; declare -f "$builder"; printf '%s\n' "$@"; } | sha256sum | cut -c1-16)
  prefix=$cache/$name-$key
  if [ ! -e "$prefix/.done" ]; then
    step "building $name $version for Windows"
    rm -rf "$prefix" "$prefix.scratch"
    mkdir -p "$prefix.scratch"
    unpack_source "$name" "$prefix.scratch"
    # In a subshell of its own, not part of a condition, so that any failing step stops it.
    set +e
    (set -e; "$builder" "$prefix.scratch" "$prefix" "$@") > "$prefix.scratch/build.log" 2>&1
    local status=$?
    set -e
    [ $status -eq 0 ] || { tail -30 "$prefix.scratch/build.log" >&2; exit 1; }
    rm -rf "$prefix.scratch"
    touch "$prefix/.done"
  fi
  echo "$prefix"
}

# FFmpeg: the containers that the file dialog lists and the codecs that phones, cameras
# and the tests' media use, zlib (PNG pictures, compressed headers) linked in, no other
# outside libraries, Windows' own threads, and the compiler's run-time pieces linked in
# (Windows has no libgcc_s_dw2-1.dll, nor the libwinpthread-1.dll that clock_gettime and
# nanosleep come from).
ffmpeg_flags=(
  --disable-autodetect --enable-w32threads --disable-everything --disable-programs --disable-doc --disable-network
  --enable-zlib --enable-protocol=file,pipe,data,concat
  --enable-demuxer=mov,matroska,avi,mpegts,mpegps,mpegvideo,h264,hevc,m4v,flv,asf,dv,rm,nut
  --enable-demuxer=flac,wav,mp3,ogg,aac,ac3,dts,ape,mpc,mpc8,tta,srt
  --enable-demuxer=image2,image_jpeg_pipe,image_png_pipe,image_bmp_pipe,image_gif_pipe,gif
  --enable-parser=h264,hevc,mpeg4video,mpegvideo,h263,vp8,vp9,vc1,aac,aac_latm,ac3,mpegaudio,flac,opus,vorbis
  --enable-parser=mjpeg,png,bmp,gif
  --enable-decoder=h264,hevc,mpeg4,h263,flv,mpeg1video,mpeg2video,vp8,vp9,vc1,wmv1,wmv2,wmv3,msmpeg4v3,dvvideo
  --enable-decoder=mjpeg,png,bmp,gif,rawvideo,ffv1
  --enable-decoder=aac,aac_latm,ac3,mp2,mp3,mp3float,alac,flac,opus,vorbis,wmav2,amrnb,'pcm_*'
  --enable-decoder=subrip,srt,ass,ssa,mov_text,webvtt
  --enable-filter=buffer,buffersink,abuffer,abuffersink,format,aformat,null,anull,scale,aresample,yadif
  --enable-swscale --enable-swresample --enable-avfilter --enable-avdevice
)
build_ffmpeg() {
  local scratch=$1 prefix=$2
  shift 2
  mkdir -p "$scratch/build"
  cd "$scratch/build"
  "$scratch/src/configure" --prefix="$prefix" --enable-shared --disable-static --arch=x86 --target-os=mingw32 \
    --cross-prefix=$host- --extra-ldflags=-static-libgcc --extra-libs=-l:libwinpthread.a "$@"
  make -j"$jobs"
  make install
}

# zlib as a static library, linked into the FFmpeg DLLs (its Windows makefile is not in
# Debian's source; the library is its C files).
build_zlib() {
  local scratch=$1 prefix=$2 source
  mkdir -p "$prefix/lib" "$prefix/include" "$scratch/build"
  cd "$scratch/build"
  for source in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees \
                uncompr zutil; do
    $host-gcc-posix -O2 -c "$scratch/src/$source.c" -o "$source.o"
  done
  $host-ar rcs "$prefix/lib/libz.a" ./*.o
  cp "$scratch/src/zlib.h" "$scratch/src/zconf.h" "$prefix/include/"
}

# Static libraries for the program itself: JPEG writing, EXIF reading and zone rules.
cmake_cross() {
  cmake -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-w64-i686.cmake" -DCMAKE_BUILD_TYPE=Release "$@"
}
build_libjpeg() {
  local scratch=$1 prefix=$2
  cmake_cross -S "$scratch/src" -B "$scratch/build" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF
  cmake --build "$scratch/build" -j"$jobs" --target jpeg-static
  cmake --install "$scratch/build" --component lib 2>/dev/null || true
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$scratch/build/libjpeg.a" "$prefix/lib/"
  cp "$scratch/build/jconfig.h" "$scratch/src/jpeglib.h" "$scratch/src/jmorecfg.h" "$scratch/src/jerror.h" \
    "$prefix/include/"
}
# Its sources come without a configure script; the library needs three settings.
build_libexif() {
  local scratch=$1 prefix=$2
  mkdir -p "$prefix/lib" "$prefix/include/libexif" "$prefix/lib/pkgconfig" "$scratch/build"
  cd "$scratch/build"
  printf '%s\n' '#define GETTEXT_PACKAGE "libexif-12"' '#define LOCALEDIR ""' '#define HAVE_LOCALTIME_S 1' > config.h
  mkdir -p libexif
  echo '#include <stdint.h>' > libexif/_stdint.h
  local source
  for source in "$scratch"/src/libexif/*.c "$scratch"/src/libexif/*/*.c; do
    $host-gcc-posix -O2 -I. -I"$scratch/src" -c "$source" -o "$(basename "$(dirname "$source")")-$(basename "$source" .c).o"
  done
  $host-ar rcs "$prefix/lib/libexif.a" ./*.o
  cp "$scratch"/src/libexif/*.h libexif/_stdint.h "$prefix/include/libexif/"
  printf '%s\n' "prefix=$prefix" 'Name: libexif' 'Description: EXIF reading' 'Version: 0.6' \
    'Libs: -L${prefix}/lib -lexif' 'Cflags: -I${prefix}/include' > "$prefix/lib/pkgconfig/libexif.pc"
}
# cctz as the abseil source package carries it (in abseil's namespaces, which small headers
# name cctz and cctz_extension).
build_cctz() {
  local scratch=$1 prefix=$2
  local source=$scratch/src/absl/time/internal/cctz/src
  mkdir -p "$prefix/lib" "$prefix/include/cctz" "$scratch/build"
  cd "$scratch/build"
  local unit
  for unit in civil_time_detail time_zone_fixed time_zone_format time_zone_if time_zone_impl time_zone_info \
              time_zone_libc time_zone_lookup time_zone_posix zone_info_source; do
    $host-g++-posix -std=c++17 -O2 -I"$scratch/src" -c "$source/$unit.cc" -o "$unit.o"
  done
  $host-ar rcs "$prefix/lib/libcctz.a" ./*.o
  (cd "$scratch/src" && find absl -name '*.h' -exec cp --parents {} "$prefix/include/" \;)
  printf '%s\n' '#pragma once' '#include "absl/time/internal/cctz/include/cctz/time_zone.h"' \
    'namespace cctz = absl::time_internal::cctz;' > "$prefix/include/cctz/time_zone.h"
  printf '%s\n' '#pragma once' '#include "absl/time/internal/cctz/include/cctz/zone_info_source.h"' \
    '#include <cctz/time_zone.h>' 'namespace cctz_extension = absl::time_internal::cctz_extension;' \
    > "$prefix/include/cctz/zone_info_source.h"
}
# The one header through which the loader types the sound stretcher's entry points.
build_soundtouch() {
  local scratch=$1 prefix=$2
  mkdir -p "$prefix/include"
  cp "$scratch/src/source/SoundTouchDLL/SoundTouchDLL.h" "$prefix/include/"
}
# googletest for the Windows build of the tests.
build_googletest() {
  local scratch=$1 prefix=$2
  cmake_cross -S "$scratch/src" -B "$scratch/build" -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF
  cmake --build "$scratch/build" -j"$jobs"
  cmake --install "$scratch/build"
}

# The zone rules of the installed tzdata package: data, the same on every system.
copy_zone_rules() {
  rm -rf "$1"
  mkdir -p "$1"
  local entry
  for entry in /usr/share/zoneinfo/*; do
    case ${entry##*/} in right|posix) continue ;; esac  # other forms of the same rules
    cp -rL "$entry" "$1/"
  done
}

# What the programs need beside them in folder $1: the DLLs in LibAV, the zone rules.
place_runtime() {
  rm -rf "$1/LibAV" "$1/zoneinfo"
  mkdir -p "$1/LibAV"
  cp "$ffmpeg_prefix"/bin/*.dll "$1/LibAV/"
  copy_zone_rules "$1/zoneinfo"
}

# --- Checks ---------------------------------------------------------------------------------
# Every DLL that a program or DLL of ours imports is one that every Windows has, or one of ours.
system_dlls='kernel32|msvcrt|user32|advapi32|shell32|ole32|bcrypt|ws2_32|secur32|gdi32|version|shlwapi'
check_imports() {
  local file dll bad=0
  for file in "$@"; do
    for dll in $($host-objdump -p "$file" | awk '/DLL Name:/{print $3}'); do
      if ! echo "$dll" | grep -qiE "^($system_dlls|(av|sw)[a-z]+-[0-9]+)\.dll$"; then
        echo "$file imports $dll, which Windows does not have" >&2
        bad=1
      fi
    done
  done
  return $bad
}

install_packages
mkdir -p "$cache"
zlib_prefix=$(cached zlib build_zlib)
ffmpeg_prefix=$(cached ffmpeg build_ffmpeg "${ffmpeg_flags[@]}" \
  --extra-cflags=-I"$zlib_prefix/include" --extra-ldflags=-L"$zlib_prefix/lib")
check_imports "$ffmpeg_prefix"/bin/*.dll
jpeg_prefix=$(cached libjpeg-turbo build_libjpeg)
exif_prefix=$(cached libexif build_libexif)
cctz_prefix=$(cached abseil build_cctz)
gtest_prefix=$(cached googletest build_googletest)
soundtouch_prefix=$(cached soundtouch build_soundtouch)
deps="$ffmpeg_prefix;$jpeg_prefix;$exif_prefix;$cctz_prefix;$gtest_prefix;$soundtouch_prefix"
if [ "${1:-}" = --deps ]; then
  place_runtime "$2"
  echo "MORVANE_WINDOWS_DEPS='$deps'"
  exit 0
fi

step "building morvane-cli for Windows"
build=build-windows
# Configured afresh: the libraries' folders change with their flags.
rm -f $build/CMakeCache.txt
cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DMORVANE_WINDOWS_DEPS="$deps" -DMORVANE_BUILD_APP=OFF -DMORVANE_BUILD_BENCH=OFF -DMORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build $build -j"$jobs" --target morvane-cli
place_runtime $build/bin
check_imports $build/bin/*.exe $build/bin/LibAV/*.dll

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $build/CMakeCache.txt)
zip=$build/morvane-cli-$version-win32.zip
rm -f "$zip"
(cd $build && mv bin morvane-cli && zip -qr "../$zip" morvane-cli; mv morvane-cli bin)
step "done: $zip ($(du -k "$zip" | cut -f1) KB)"
