#!/bin/sh
# movie-bench.sh [BUILD [TREE]]: makes a 320x240, 15 fps movie with 16-bit sound and a 640x480
# JPEG in BUILD/bench-media, then runs TREE's (default win64) movie_bench under Wine in its own X display.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
tree=${2:-win64}
media=$build/bench-media
mkdir -p "$media"
ff() { ffmpeg -nostdin -v error -y "$@"; }
[ -f "$media/bench.mov" ] || ff -f lavfi -i testsrc=size=320x240:rate=15 \
  -f lavfi -i sine=frequency=440:sample_rate=22050 -t 20 -c:v mjpeg -q:v 5 -pix_fmt yuvj420p \
  -c:a pcm_s16be -movflags +faststart -f mov "$media/bench.mov"
[ -f "$media/bench.jpg" ] || convert -size 640x480 plasma:fractal -seed 7 -quality 90 "$media/bench.jpg"
eval "$("$root/tools/scripts/wine-env.sh" "$tree" "$build")"
winpath() { echo "Z:$1" | tr / '\\'; }
xvfb-run -a -s '-screen 0 1024x768x24' sh -c '"$WINESERVER" -p </dev/null >/dev/null 2>&1; "$WINELOADER" "$@"; rc=$?; "$WINESERVER" -k; exit $rc' sh \
  "$build/$tree/bin/movie_bench.exe" "$(winpath "$media/bench.mov")" "$(winpath "$media/bench.jpg")" 2>/dev/null
