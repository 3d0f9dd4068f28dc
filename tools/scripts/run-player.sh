#!/usr/bin/env bash
# run-player.sh BUILD: starts player on the sample encyclopedia in BUILD/wineprefix. With a
# display it opens there; without one it runs under Xvfb, saves a screenshot of the main
# window, prints its path and closes the program through its close button.
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="$build/wineprefix" LC_ALL=ru_RU.UTF-8 WINEDEBUG=-all
exe="$build/win32/bin/player.exe"
/usr/bin/python3 "$root/tools/product/write_ini.py" --prefix "$WINEPREFIX" --product "$build/native/product" >/dev/null

if [ -n "${DISPLAY:-}" ]; then
  wine "$exe"
  exit $?
fi

shot="$build/player.png"
xvfb-run -a -s '-screen 0 1024x768x24' sh -c '
  exe=$1 shot=$2
  wineserver -p </dev/null >/dev/null 2>&1
  wine "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  win=""
  for i in $(seq 120); do
    win=$(xdotool search --name "Энциклопедия России" 2>/dev/null | head -n 1) && [ -n "$win" ] && break
    sleep 0.5
  done
  if [ -z "$win" ]; then echo "run-player: the main window did not appear" >&2; wineserver -k; exit 1; fi
  sleep 3
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xwd -root -silent | convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
  # The close button of the caption strip.
  xdotool mousemove --window "$win" 628 10 click 1
  wait $pid; rc=$?
  wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
  exit $rc
' sh "$exe" "$shot"
echo "$shot"
