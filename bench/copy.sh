#!/usr/bin/env bash
# Copying an import in one run: morvane-cli copy against cp followed by one sync, and
# against ExifTool's renaming copy (-o), on the same phone-sized clips (2-20 MB) into an
# empty folder on the same file system; and the same copy with folders by date. Every
# method ends with the data on the disk (sync after the tools that do not make it durable
# themselves). Reports medians and ratios; nothing is enforced.
#
# Usage: bench/copy.sh [BUILD_DIR]      (default: build-bench at the repository root)
# Environment: MORVANE_BENCH_COPY_FILES (default 200), MORVANE_BENCH_REPEATS (default 3)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$repo/build-bench}" && cd "${1:-$repo/build-bench}" && pwd)
count=${MORVANE_BENCH_COPY_FILES:-200}
repeats=${MORVANE_BENCH_REPEATS:-3}

"$repo/scripts/install-deps.sh"
# ExifTool is compared against, not used: the bench installs it, the project does not.
if ! dpkg-query -W -f='${Status}' libimage-exiftool-perl 2>/dev/null | grep -q "install ok installed"; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libimage-exiftool-perl
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_BUILD_TESTS=OFF
fi
cmake --build "$build" --target morvane-cli -j"$(nproc)"
cli="$build/cli/morvane-cli"

work=$(mktemp -d "$build/bench-copy.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/src"
echo "making $count clips of 2-20 MB ..." >&2
ffmpeg -v error -nostdin -f lavfi -i "testsrc2=size=640x360:rate=25:duration=1" -c:v libx264 -preset ultrafast \
  -pix_fmt yuv420p "$work/base.mp4"
head -c $((20 << 20)) /dev/urandom > "$work/pad"
for ((i = 0; i < count; i++)); do
  file=$(printf '%s/src/VID_%04d.mp4' "$work" "$i")
  # One clip a minute from 2019-11-18 on, so that every name is its own.
  stamp=$(date -u -d "2019-11-18T00:00:00Z + $i minutes" +%Y-%m-%dT%H:%M:%S.000000Z)
  ffmpeg -v error -nostdin -i "$work/base.mp4" -c copy -metadata creation_time="$stamp" "$file"
  # The media data that makes a phone clip large, as bytes behind the clip's own.
  head -c $(((2 + RANDOM % 19) << 20)) "$work/pad" >> "$file"
done
bytes=$(du -sb "$work/src" | cut -f1)

# Wall seconds of one command (its output is dropped), by GNU time.
measure() {
  /usr/bin/time -f '%e' -o "$work/time" "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  cat "$work/time"
}
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

run_method() {
  local out="$work/out"
  rm -rf "$out" && mkdir "$out" && sync
  case $1 in
    cp) measure sh -c 'cp "$1"/* "$2"/ && sync' sh "$work/src" "$out" ;;
    cli) measure "$cli" copy "$out" "$work"/src/* ;;
    folders) measure "$cli" copy --format %Y/%m/%Y%m%d_%H%M%S "$out" "$work"/src/* ;;
    exiftool) measure sh -c 'exiftool -q -api QuickTimeUTC -o "$2"/ "-FileName<CreateDate" \
      -d "%Y%m%d_%H%M%S%%-c.%%e" "$1"/* && sync' sh "$work/src" "$out" ;;
  esac
}

methods="cp cli folders exiftool"
declare -A wall
for ((r = 0; r < repeats; r++)); do
  for method in $methods; do wall[$method]+="$(run_method "$method")"$'\n'; done
done
rm -rf "$work/out"

echo "$count files, $((bytes >> 20)) MiB, median of $repeats runs"
printf '%-46s %10s %14s\n' "method" "seconds" "ms per file"
declare -A med
for method in $methods; do
  med[$method]=$(printf '%s' "${wall[$method]}" | median)
  case $method in
    cp) label="cp + sync" ;;
    cli) label="morvane-cli copy" ;;
    folders) label="morvane-cli copy --format %Y/%m/..." ;;
    exiftool) label="exiftool -o (renaming copy) + sync" ;;
  esac
  printf '%-46s %10s %14s\n' "$label" "${med[$method]}" "$(echo "scale=2; ${med[$method]} * 1000 / $count" | bc -l)"
done
ratio() { echo "scale=2; $1 / $2" | bc -l; }
echo
printf '%-46s %10s %s\n' "ratio" "value" "target"
printf '%-46s %10s %s\n' "morvane-cli copy / (cp + sync)" "$(ratio "${med[cli]}" "${med[cp]}")" "at most 2"
printf '%-46s %10s %s\n' "exiftool / morvane-cli copy" "$(ratio "${med[exiftool]}" "${med[cli]}")" "at least 3"
printf '%-46s %10s %s\n' "with folders by date / without" "$(ratio "${med[folders]}" "${med[cli]}")" "at most 1.1"
