#!/bin/sh
# Runs a Windows program under Wine in the build's prefix with the cp1251 locale.
# CTest uses it as the cross-compiling emulator; DISPLAY and the wineserver come from ./dev.
here=$(cd "$(dirname "$0")/../.." && pwd)
: "${WINEPREFIX:=$here/build/wineprefix}"
export WINEPREFIX LC_ALL=ru_RU.UTF-8 WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
