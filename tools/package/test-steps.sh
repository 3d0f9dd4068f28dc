# The steps of test-package.sh, run inside its display. Each step says what it checks and
# stops the run on the first fault.
export LC_ALL=ru_RU.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
loader=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64

fault() { echo "test-package: FAIL: $*" >&2; exit 1; }
pass() { echo "test-package: ok: $*"; }

# The first visible window whose name matches, waited for (the first start makes a prefix).
wait_window() { # pattern seconds
  local win="" i
  for i in $(seq $(($2 * 4))); do
    win=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$win" ] && break
    sleep 0.25
  done
  [ -n "$win" ] || return 1
  echo "$win"
}

# Keys go to a window by giving it the input focus: there is no window manager to ask.
press() { # window key
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool key "$2"
}

# player: the close button of its caption strip.
close_player() { # window
  sleep 1
  xdotool mousemove --window "$1" 628 10 click 1
}

# archive: Esc presses its Exit button.
close_archive() { # window
  sleep 1
  press "$1" Escape
}

deb_installs_into_a_clean_tree() {
  root="$scratch/root"
  dpkg-deb -x "$deb" "$root"
  for file in usr/bin/kro-player usr/bin/kro-archive usr/lib/kro97/player.exe usr/lib/kro97/archive.exe \
      usr/lib/kro97/MVCL14N.DLL usr/lib/kro97/QTIM32.DLL usr/lib/kro97/CMGR32.DLL \
      usr/share/kro97/disc1/kro.m14 usr/share/kro97/disc2/movies/ORBITAL.MOV \
      usr/share/applications/kro-player.desktop usr/share/icons/hicolor/48x48/apps/kro-archive.png \
      usr/share/man/man1/kro-player.1.gz usr/share/doc/kro97/copyright; do
    [ -e "$root/$file" ] || fault "the package lacks /$file"
  done
  pass "the package unpacks with its programs, runtimes, discs, menu entries, icons and manuals"
}

# Starts a launcher with the private HOME and waits for its main window; $1 names it.
launch() { # launcher window-pattern closer log
  HOME="$scratch/home" "$root/usr/bin/$1" >"$4" 2>&1 &
  local pid=$! win
  win=$(wait_window "$2" 120) || { cat "$4" >&2; fault "$1: the main window did not appear"; }
  "$3" "$win"
  wait $pid || true
  WINEPREFIX="$scratch/home/.local/share/kro97/wine" "$server" -w
}

launchers_make_and_reuse_their_prefix() {
  local prefix="$scratch/home/.local/share/kro97/wine" first
  mkdir -p "$scratch/home"
  launch kro-player "Энциклопедия России$" close_player "$scratch/player1.log"
  [ -f "$prefix/.kro-ready" ] || fault "kro-player made no prefix"
  grep -q "preparing Wine" "$scratch/player1.log" || fault "kro-player did not say that it prepares Wine"
  grep -q 'ProductDir=Z:.*\\usr\\share\\kro97\\disc1' "$prefix/drive_c/windows/kro97.ini" ||
    fault "kro-player's kro97.ini does not name the installed disc"
  pass "kro-player made its prefix in the private HOME and showed the main window"
  first=$(stat -c '%i %Y' "$prefix/.kro-ready")
  launch kro-archive "^Фильмотека$" close_archive "$scratch/archive.log"
  launch kro-player "Энциклопедия России$" close_player "$scratch/player2.log"
  if grep -q "preparing Wine" "$scratch/archive.log" "$scratch/player2.log" ||
      [ "$(stat -c '%i %Y' "$prefix/.kro-ready")" != "$first" ]; then
    fault "a later start made the prefix again"
  fi
  pass "kro-archive and a second kro-player reused the prefix and showed their main windows"
  WINEPREFIX="$prefix" "$server" -k 2>/dev/null || true
}

# The installer gets the prefix the launchers made (a second one would cost a minute of
# wineboot), without the kro97.ini they wrote; and the zip's folder with the x86_64 installer.
setup_prefix() {
  export WINEPREFIX="$scratch/home/.local/share/kro97/wine" WINEARCH=win64 WINESERVER="$server"
  rm -f "$WINEPREFIX/drive_c/windows/kro97.ini"
  kit="$scratch/kro97"
  mkdir -p "$kit"
  for part in x86_64 disc1 disc2; do ln -s "$out/zip/kro97/$part" "$kit/$part"; done
  cp "$build/win64/bin/setup.exe" "$kit/setup.exe"
}

record_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kro97'
menu_dir() { echo "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Энциклопедия России"; }
ini_text() { iconv -f cp1251 -t utf-8 "$WINEPREFIX/drive_c/windows/kro97.ini" | tr -d '\r'; }

# What the prefix holds, but for the files any Wine program changes.
prefix_files() {
  (cd "$WINEPREFIX/drive_c" && find . -type f -o -type d | grep -v -e '/Temp' -e '^./windows/qtw.ini$' | LC_ALL=C sort)
}

setup() { "$loader" "$kit/setup.exe" "$@" </dev/null 2>"$scratch/setup.err"; }

installed_as_expected() {
  local ini; ini=$(ini_text)
  for line in 'ProductDir=Z:.*\\kro97\\disc1$' 'Directory=C:\\ProgramData\\Kro97$' 'IsDisk2Exists=1$' \
      'ShowIntroduction=1$' 'LUMFilDirectory=C:\\ProgramData\\Kro97$'; do
    grep -q "^$line" <<<"$ini" || fault "kro97.ini lacks $line: $ini"
  done
  [ -f "$WINEPREFIX/drive_c/ProgramData/Kro97/cdp.fon" ] || fault "cdp.fon is not in the working directory"
  "$loader" reg query "$record_key" /v UninstallString >/dev/null 2>&1 || fault "no uninstall record"
  for link in "Энциклопедия России" "Фильмотека" "Удаление Энциклопедии России"; do
    [ -f "$(menu_dir)/$link.lnk" ] || fault "no Start-menu shortcut $link"
  done
}

nothing_left() { # files-before
  prefix_files > "$scratch/after"
  diff "$1" "$scratch/after" >&2 || fault "uninstalling left files behind"
  ! "$loader" reg query "$record_key" >/dev/null 2>&1 || fault "uninstalling left the registry record"
}

run_installed() { # program pattern closer
  setup /run "$1" || fault "setup /run $1 failed: $(iconv -f cp1251 -t utf-8 "$scratch/setup.err")"
  local win
  win=$(wait_window "$2" 60) || fault "$1 started from the installation showed no main window"
  "$3" "$win"
  "$server" -w
  grep -q "^ProductDir=Z:.*\\\\disc$([ "$1" = player ] && echo 1 || echo 2)$" <<<"$(ini_text)" ||
    fault "/run $1 did not put its disc into kro97.ini"
}

setup_silently_installs_runs_and_uninstalls() {
  setup_prefix
  prefix_files > "$scratch/before"
  ! setup /S /run player || fault "setup /run started a program before any installation"
  ! setup /S /disc=C:\\windows || fault "setup /S accepted a folder without the encyclopedia"
  iconv -f cp1251 -t utf-8 "$scratch/setup.err" | grep -q "нет файлов Энциклопедии" ||
    fault "setup /S did not say why it refused the folder"
  setup /S || fault "setup /S failed: $(iconv -f cp1251 -t utf-8 "$scratch/setup.err")"
  installed_as_expected
  pass "setup /S wrote kro97.ini, the working files, the uninstall record and the shortcuts"
  run_installed player "Энциклопедия России$" close_player
  run_installed archive "^Фильмотека$" close_archive
  pass "player and archive started from the installed configuration"
  setup /uninstall /S || fault "setup /uninstall /S failed"
  nothing_left "$scratch/before"
  pass "setup /uninstall /S left no file, ini or registry record behind"
}

# The message boxes answered as a user would: Enter takes the default button ("Да", "ОК").
answer() { # window-pattern
  local win
  win=$(wait_window "$1" 30) || fault "no window named $1 appeared"
  press "$win" Return
  # The next box has the same caption: this one must be gone first.
  local i
  for i in $(seq 80); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -qx "$win" || return 0
    sleep 0.25
  done
  fault "the box named $1 stayed open after Enter"
}

setup_through_its_dialogs() {
  "$loader" "$kit/setup.exe" </dev/null 2>/dev/null &
  local pid=$!
  answer "^Установка Энциклопедии России$"   # install from the disc found beside it?
  answer "^Установка Энциклопедии России$"   # done
  wait $pid || fault "the installer's dialogs ended in a failure"
  installed_as_expected
  "$loader" "$kit/setup.exe" /uninstall </dev/null 2>/dev/null &
  pid=$!
  answer "^Установка Энциклопедии России$"   # remove?
  answer "^Установка Энциклопедии России$"   # removed
  wait $pid || fault "uninstalling through the dialogs failed"
  nothing_left "$scratch/before"
  pass "setup through its dialogs installed, and uninstalled leaving nothing behind"
  "$server" -k 2>/dev/null || true
}

all_steps() {
  deb_installs_into_a_clean_tree
  launchers_make_and_reuse_their_prefix
  setup_silently_installs_runs_and_uninstalls
  setup_through_its_dialogs
}
