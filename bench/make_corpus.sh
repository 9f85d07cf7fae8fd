#!/usr/bin/env bash
# Makes the lookup benchmark's media corpus in FOLDER:
#   small_NNNN.mp4 / .mov  COUNT small files (default 300), each with its own creation time;
#   large_1080p.mp4        a few seconds of 1080p;
#   large_2160p.mov        a few seconds of 4K;
#   large_*_NN.*           24 further names of each large file (hard links), so that a
#                          list of large files is long enough to outweigh a process start.
# The small files are cheap: three short bases are encoded once and every small file is a
# remux (-c copy) of one of them with its own creation_time. The large files are encoded
# with x264's fastest preset so that the corpus takes well under a minute on two cores.
# A folder that already holds a corpus of the same COUNT is left as it is.
#
# Usage: make_corpus.sh FOLDER [COUNT]
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 FOLDER [COUNT]" >&2
  exit 2
fi
folder=$1
count=${2:-300}
case $count in
  '' | *[!0-9]*) echo "$0: COUNT must be a number" >&2; exit 2 ;;
esac
command -v ffmpeg >/dev/null || { echo "$0: the ffmpeg command is missing (Debian package ffmpeg)" >&2; exit 2; }

stamp="$folder/.corpus-$count"
if [ -f "$stamp" ]; then
  exit 0
fi
mkdir -p "$folder"
rm -f "$folder"/.corpus-* "$folder"/small_* "$folder"/large_*
bases=$(mktemp -d "$folder/.bases.XXXXXX")
trap 'rm -rf "$bases"' EXIT

encode() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# The bases: H.264 + AAC in MP4, H.264 + AAC in MOV, MPEG-4 Visual without audio in MP4.
encode -f lavfi -i testsrc2=size=320x240:rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 -t 1 \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$bases/a.mp4"
encode -f lavfi -i testsrc2=size=640x360:rate=30 -f lavfi -i sine=frequency=880:sample_rate=48000 -t 0.5 \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$bases/b.mov"
encode -f lavfi -i testsrc2=size=176x144:rate=15 -t 1 -c:v mpeg4 "$bases/c.mp4"

# Creation times one hour, one minute and one second apart from 2021-01-01: all distinct.
first=$(date -u -d 2021-01-01T00:00:00Z +%s)
jobs=$(nproc 2>/dev/null || echo 2)
for ((i = 0; i < count; i++)); do
  case $((i % 3)) in
    0) base=a.mp4 ext=mp4 ;;
    1) base=b.mov ext=mov ;;
    2) base=c.mp4 ext=mp4 ;;
  esac
  printf '%s\0%s\0%s\0' "$bases/$base" \
    "$(date -u -d "@$((first + i * 3661))" +%Y-%m-%dT%H:%M:%S.000000Z)" \
    "$folder/$(printf 'small_%04d.%s' "$i" "$ext")"
done | xargs -0 -n 3 -P "$jobs" sh -c \
  'exec ffmpeg -nostdin -hide_banner -loglevel error -y -i "$1" -map 0 -c copy -metadata creation_time="$2" "$3"' remux

encode -f lavfi -i testsrc2=size=1920x1080:rate=25 -f lavfi -i sine=frequency=660:sample_rate=48000 -t 3 \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest \
  -metadata creation_time=2022-06-01T12:00:00.000000Z "$folder/large_1080p.mp4"
encode -f lavfi -i testsrc2=size=3840x2160:rate=25 -f lavfi -i sine=frequency=550:sample_rate=48000 -t 2 \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest \
  -metadata creation_time=2022-06-01T12:00:01.000000Z "$folder/large_2160p.mov"

for ((i = 1; i <= 24; i++)); do
  ln "$folder/large_1080p.mp4" "$folder/$(printf 'large_1080p_%02d.mp4' "$i")"
  ln "$folder/large_2160p.mov" "$folder/$(printf 'large_2160p_%02d.mov' "$i")"
done

touch "$stamp"
