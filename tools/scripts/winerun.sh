#!/bin/sh
# winerun.sh TREE PROGRAM ARGS...: runs a Windows program of TREE (win32 or win64) under
# Wine in that tree's prefix with the cp1251 locale. CTest uses it as the cross-compiling
# emulator; the display and the persistent wineserver come from ./dev.
here=$(cd "$(dirname "$0")/../.." && pwd)
tree=$1
shift
env=$("$here/tools/scripts/wine-env.sh" "$tree" "$here/build") || exit 2
eval "$env"
exec "$WINELOADER" "$@"
