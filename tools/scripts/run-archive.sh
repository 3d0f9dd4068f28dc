#!/usr/bin/env bash
# run-archive.sh BUILD TREE: starts TREE's (win32 or win64) archive on the sample video
# archive disc in that tree's Wine prefix. With a display it opens there; without one it
# runs under Xvfb, ticks three movies, saves a screenshot of the main window and one of
# the video window to build/archive.png and build/archive-video.png, prints their paths
# and closes the program with Esc.
set -euo pipefail
build=$(cd "$1" && pwd)
tree=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
eval "$("$root/tools/scripts/wine-env.sh" "$tree" "$build")"
exe="$build/$tree/bin/archive.exe"
/usr/bin/python3 "$root/tools/product/write_ini.py" --prefix "$WINEPREFIX" --product "$build/native/archive" >/dev/null

if [ -n "${DISPLAY:-}" ]; then
  "$WINELOADER" "$exe"
  exit $?
fi

shot="$build/archive.png" video="$build/archive-video.png"
xvfb-run -a -s '-screen 0 1024x768x24' sh -c '
  exe=$1 shot=$2 video=$3
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINELOADER" "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  win=""
  for i in $(seq 120); do
    win=$(xdotool search --name "^Фильмотека$" 2>/dev/null | head -n 1) && [ -n "$win" ] && break
    sleep 0.5
  done
  if [ -z "$win" ]; then echo "run-archive: the main window did not appear" >&2; "$WINESERVER" -k; exit 1; fi
  sleep 2
  # The tick boxes of the 5th, 2nd and 9th movies (rows 22 pixels apart), then View.
  for row in 4 1 8; do xdotool mousemove --window "$win" 125 $((130 + 22 * row)) click 1; sleep 0.3; done
  xwd -id "$win" -silent | convert xwd:- "$shot"
  xdotool mousemove --window "$win" 540 370 click 1
  sleep 3
  frame=$(xwininfo -root -children | awk "/archive.exe/ && /420x330/ {print \$1; exit}")
  [ -n "$frame" ] && xwd -id "$frame" -silent | convert xwd:- "$video"
  # Esc closes the video window, a second Esc presses Exit.
  xdotool key Escape; sleep 1; xdotool key Escape
  wait $pid; rc=$?
  "$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w 2>/dev/null
  # Exit ends the program with code 1.
  [ "$rc" -eq 1 ] && exit 0
  echo "run-archive: the program ended with $rc" >&2; exit 1
' sh "$exe" "$shot" "$video"
echo "$shot"
[ -f "$video" ] && echo "$video"
