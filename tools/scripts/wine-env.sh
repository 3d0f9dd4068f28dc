#!/bin/sh
# wine-env.sh TREE BUILD: prints, for `eval`, the environment of a Windows tree (win32 or
# win64) under Wine: its prefix in BUILD, its loader and server, the cp1251 locale.
#   eval "$(tools/scripts/wine-env.sh win64 "$build")" || exit 2
# The loader and server are called directly: Debian's `wine` wrapper picks the 32-bit loader
# whenever its file exists, even on machines whose kernel refuses 32-bit programs. The
# 64-bit server serves both kinds of prefix.
case "$1" in
  win32) arch=win32 loader=/usr/lib/wine/wine ;;
  win64) arch=win64 loader=/usr/lib/wine/wine64 ;;
  *) echo "wine-env: unknown Windows tree '$1' (win32 or win64)" >&2; exit 2 ;;
esac
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=/usr/lib/wine/wineserver32
quoted() { printf "'%s'" "$(printf '%s' "$1" | sed "s/'/'\\\\''/g")"; }
echo "export WINEARCH=$arch WINELOADER=$loader WINESERVER=$server WINEPREFIX=$(quoted "$2/wineprefix-$1")"
echo "export LC_ALL=ru_RU.UTF-8 WINEDEBUG=${WINEDEBUG:--all}"
