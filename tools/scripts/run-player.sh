#!/usr/bin/env bash
# run-player.sh BUILD TREE [DISC]: starts TREE's (win32 or win64) player on the sample
# encyclopedia, or on the disc folder DISC, in that tree's Wine prefix. With a display it opens there; without one it runs under Xvfb,
# saves a screenshot of the main window, prints its path and closes the program through its
# close button.
set -euo pipefail
build=$(cd "$1" && pwd)
tree=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
eval "$("$root/tools/scripts/wine-env.sh" "$tree" "$build")"
exe="$build/$tree/bin/player.exe"
disc=${3:-$build/native/product}
[ -f "$disc/kro.m14" ] || { echo "run-player: $disc holds no kro.m14" >&2; exit 2; }
/usr/bin/python3 "$root/tools/product/write_ini.py" --prefix "$WINEPREFIX" --product "$disc" >/dev/null
# The working directory (here the Windows directory) holds the dialogs' raster font.
cp "$build/native/product/cdp.fon" "$WINEPREFIX/drive_c/windows/cdp.fon"

if [ -n "${DISPLAY:-}" ]; then
  "$WINELOADER" "$exe"
  exit $?
fi

shot="$build/player.png"
# The screenshot reads Xvfb's framebuffer file: the root window's image leaves out windows
# that lie inside the main window (docs/ARCHITECTURE.md, tests under Wine).
screen=$(mktemp -d)
trap 'rm -rf "$screen"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24 -fbdir $screen" sh -c '
  exe=$1 shot=$2 screen=$3
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINELOADER" "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  win=""
  for i in $(seq 120); do
    win=$(xdotool search --name "Энциклопедия России" 2>/dev/null | head -n 1) && [ -n "$win" ] && break
    sleep 0.5
  done
  if [ -z "$win" ]; then echo "run-player: the main window did not appear" >&2; "$WINESERVER" -k; exit 1; fi
  sleep 3
  eval "$(xdotool getwindowgeometry --shell "$win")"
  convert "xwd:$screen/Xvfb_screen0" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
  # The close button of the caption strip.
  xdotool mousemove --window "$win" 628 10 click 1
  wait $pid; rc=$?
  "$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w 2>/dev/null
  exit $rc
 ' sh "$exe" "$shot" "$screen"
echo "$shot"
