#!/bin/sh
# kro-@PROGRAM@: starts the @PROGRAM@ program of the encyclopedia under Wine. On the first
# start it prepares a private Wine prefix in the user's data folder; every start puts the
# disc the program reads into kro97.ini, as a user would put it into the drive.
set -eu
program=@PROGRAM@
name=kro-$program
here=$(dirname "$(readlink -f "$0")")
# Installed or unpacked anywhere (dpkg -x): the files lie beside the launcher's folder.
lib=$(cd "$here/../lib/kro97" && pwd)
share=$(cd "$here/../share/kro97" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}/kro97
loader=${KRO_WINE_LOADER:-/usr/lib/wine/wine64}
server=${KRO_WINE_SERVER:-/usr/lib/wine/wineserver64}

fail() { echo "$name: $*" >&2; exit 1; }
[ -x "$loader" ] || fail "Wine's 64-bit loader $loader is missing (package wine64)"

export WINEPREFIX="$data/wine" WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}" WINESERVER="$server"
# No Windows menu entries made by Wine in the user's desktop, no offer to fetch Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

# The programs need the ANSI code page 1251, which Wine takes from a Russian locale. Without
# one on the system, one is compiled into the data folder (no root needed).
russian_locale() {
  if locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\{0,1\}8'; then
    export LC_ALL=ru_RU.UTF-8
    return
  fi
  if [ ! -d "$data/locale/ru_RU.UTF-8" ]; then
    mkdir -p "$data/locale"
    localedef -i ru_RU -f UTF-8 "$data/locale/ru_RU.UTF-8" >/dev/null 2>&1 ||
      fail "cannot make the ru_RU.UTF-8 locale (package locales)"
  fi
  export LOCPATH="$data/locale" LC_ALL=ru_RU.UTF-8
}

prepare_prefix() {
  [ -f "$WINEPREFIX/.kro-ready" ] && return
  echo "$name: preparing Wine in $WINEPREFIX (once)" >&2
  rm -rf "$WINEPREFIX"
  mkdir -p "$data"
  "$loader" wineboot -i >/dev/null 2>&1 || fail "wineboot could not make $WINEPREFIX"
  # The programs paint their own caption strip with its buttons: the window manager
  # still manages their windows, but draws no frame of its own around them.
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 ||
    fail "could not set up the windows of $WINEPREFIX"
  "$server" -w
  touch "$WINEPREFIX/.kro-ready"
}

# Wine shows the Unix root as drive Z:.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# kro97.ini in the prefix's Windows directory, which is also the working directory: the
# dialogs' font and the state files live there. player saves ShowIntroduction at exit; it is kept.
write_ini() {
  windows="$WINEPREFIX/drive_c/windows"
  ini="$windows/kro97.ini"
  cmp -s "$share/disc1/cdp.fon" "$windows/cdp.fon" || cp "$share/disc1/cdp.fon" "$windows/cdp.fon"
  intro=$(sed -n 's/^ShowIntroduction=\([01]\).*/\1/p' "$ini" 2>/dev/null | head -n 1)
  disc=disc1
  [ "$program" = archive ] && disc=disc2
  printf '[Kro]\r\nProductDir=%s\r\nIsDisk2Exists=1\r\nShowIntroduction=%s\r\n' \
    "$(windows_path "$share/$disc")" "${intro:-1}" > "$ini.new"
  mv "$ini.new" "$ini"
}

russian_locale
prepare_prefix
write_ini
exec "$loader" "$lib/$program.exe"
