#!/usr/bin/env bash
# Frame stepping in one run: morvane-cli frames against ffprobe -show_frames on the same
# 1080p H.264 clip with one key frame every 250 frames, what stepping backward costs
# against stepping forward, and the peak memory of both walks. Reports medians and
# ratios; nothing is enforced.
#
# Usage: bench/frames.sh [BUILD_DIR]      (default: build-bench at the repository root)
# Environment: MORVANE_BENCH_REPEATS (default 3), MORVANE_BENCH_SECONDS (clip length, default 10)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$repo/build-bench}" && cd "${1:-$repo/build-bench}" && pwd)
repeats=${MORVANE_BENCH_REPEATS:-3}
seconds=${MORVANE_BENCH_SECONDS:-10}

"$repo/scripts/install-deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_BUILD_TESTS=OFF
fi
cmake --build "$build" --target morvane-cli -j"$(nproc)"
cli="$build/cli/morvane-cli"

work=$(mktemp -d "$build/bench-frames.XXXXXX")
trap 'rm -rf "$work"' EXIT
clip="$work/clip_1080p.mp4"
echo "making a ${seconds} s 1080p H.264 clip (25 fps, key frame every 250 frames, B-frames) ..." >&2
ffmpeg -v error -nostdin -f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=$seconds" \
  -c:v libx264 -preset veryfast -g 250 -keyint_min 250 -bf 2 -pix_fmt yuv420p "$clip"

# Wall and processor seconds (user + system) of one command, by GNU time; its peak
# resident memory in KiB goes to $work/rss.
measure() {
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" > /dev/null 2>&1
  awk '{print $4}' "$work/time" > "$work/rss"
  awk '{print $1, $2 + $3}' "$work/time"
}

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

frames=$("$cli" frames "$clip" 2>/dev/null | wc -l)
probed=$(ffprobe -v error -select_streams v:0 -show_entries frame=key_frame -of csv=p=0 "$clip" | grep -c .)
echo "frames: morvane-cli $frames, ffprobe $probed" >&2
[ "$frames" -eq "$probed" ] || { echo "the frame counts differ" >&2; exit 1; }

backward=$("$cli" frames --backward "$clip" 2>/dev/null | wc -l)
echo "frames backward: $backward" >&2
[ "$backward" -eq "$frames" ] || { echo "stepping backward gave another count" >&2; exit 1; }

declare -A wall cpu rss
for ((i = 0; i < repeats; i++)); do
  for method in cli probe probe1 back; do
    case $method in
      cli) result=$(measure "$cli" frames "$clip") ;;
      probe) result=$(measure ffprobe -v error -show_frames "$clip") ;;
      probe1) result=$(measure ffprobe -v error -threads 1 -show_frames "$clip") ;;
      back) result=$(measure "$cli" frames --backward "$clip") ;;
    esac
    wall[$method]+="${result% *}"$'\n'
    cpu[$method]+="${result#* }"$'\n'
    rss[$method]+="$(cat "$work/rss")"$'\n'
  done
done

per_frame() { echo "scale=1; $1 * 1000000 / $frames" | bc -l; }
printf '%-44s %12s %12s\n' "median of $repeats, microseconds per frame" "wall" "processor"
for method in cli probe probe1 back; do
  w=$(printf '%s' "${wall[$method]}" | median)
  c=$(printf '%s' "${cpu[$method]}" | median)
  declare "w_$method=$w" "c_$method=$c"
  case $method in
    cli) label="morvane-cli frames (forward, 1 thread)" ;;
    probe) label="ffprobe -show_frames (its default threads)" ;;
    probe1) label="ffprobe -threads 1 -show_frames" ;;
    back) label="morvane-cli frames --backward (per step)" ;;
  esac
  printf '%-44s %12s %12s\n' "$label" "$(per_frame "$w")" "$(per_frame "$c")"
done
ratio() { echo "scale=2; $1 / $2" | bc -l; }
echo
echo "ratios (wall / processor):"
echo "  cli / ffprobe           $(ratio "$w_cli" "$w_probe") / $(ratio "$c_cli" "$c_probe")"
echo "  cli / ffprobe -threads 1 $(ratio "$w_cli" "$w_probe1") / $(ratio "$c_cli" "$c_probe1")"
echo "  backward step / forward step $(ratio "$w_back" "$w_cli") / $(ratio "$c_back" "$c_cli")"
echo
peak() { printf '%s' "${rss[$1]}" | sort -g | tail -1; }
echo "peak resident memory (MiB, largest of $repeats):"
echo "  morvane-cli frames             $(($(peak cli) / 1024))"
echo "  morvane-cli frames --backward  $(($(peak back) / 1024))"
echo "  ratio backward / forward       $(ratio "$(peak back)" "$(peak cli)")"
