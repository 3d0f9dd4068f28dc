#!/usr/bin/env bash
# package.sh BUILD: makes the Windows zip and the Debian package of both programs from the
# built trees (BUILD/win32, BUILD/win64, the sample discs of BUILD/native) into
# BUILD/package, and checks the package with lintian.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
out="$build/package"
version=$(sed -n '1s/^kro97 (\([^)]*\)).*/\1/p' "$here/debian/changelog")
[ -n "$version" ] || { echo "package: no version in $here/debian/changelog" >&2; exit 1; }
programs=(player.exe archive.exe)
runtimes=(MVCL14N.DLL QTIM32.DLL CMGR32.DLL)
discs=("$build/native/product" "$build/native/archive")

need() { [ -e "$1" ] || { echo "package: $1 is missing (run ./dev build first)" >&2; exit 1; }; }
for tree in win32 win64; do
  for file in "${programs[@]}" "${runtimes[@]}" setup.exe; do need "$build/$tree/bin/$file"; done
done
for disc in "${discs[@]}"; do need "$disc"; done

rm -rf "$out"
mkdir -p "$out"

# Users get the programs without their debugging information.
copy_program() { # tree file to
  local strip=x86_64-w64-mingw32-strip
  [ "$1" = win32 ] && strip=i686-w64-mingw32-strip
  install -D -m 0644 "$build/$1/bin/$2" "$3"
  "$strip" --strip-debug "$3"
}

# Copies a disc folder, so that no file of the build tree's other runs comes along.
copy_disc() { # from to
  mkdir -p "$2"
  cp -r "$1"/. "$2"/
}

# The zip: one folder that unpacks anywhere; setup.exe beside the programs and discs.
make_zip() {
  local top="$out/zip/kro97"
  mkdir -p "$top/x86_64" "$top/i686"
  for file in "${programs[@]}" "${runtimes[@]}"; do
    copy_program win64 "$file" "$top/x86_64/$file"
    copy_program win32 "$file" "$top/i686/$file"
  done
  # The i686 installer runs on every Windows, 32- or 64-bit, and picks the programs that suit it.
  copy_program win32 setup.exe "$top/setup.exe"
  copy_disc "${discs[0]}" "$top/disc1"
  copy_disc "${discs[1]}" "$top/disc2"
  # Notepad of the programs' era reads cp1251 with CRLF line ends.
  iconv -f utf-8 -t cp1251 "$here/README-ru.txt" | sed 's/$/\r/' > "$top/README.txt"
  (cd "$out/zip" && TZ=UTC find kro97 -exec touch -d "@$(stamp)" {} + && find kro97 -print | LC_ALL=C sort |
    zip -X -q -9 "$out/kro97-$version-windows.zip" -@)
  echo "package: $out/kro97-$version-windows.zip"
}

# Build time is taken from the changelog, so that two runs make the same archives.
stamp() { date -d "$(sed -n 's/^ -- .*>  //p' "$here/debian/changelog" | head -n 1)" +%s; }

install_file() { # mode from to
  install -D -m "$1" "$2" "$3"
}

make_deb() {
  local root="$out/deb/kro97" doc=usr/share/doc/kro97 program size
  mkdir -p "$root/DEBIAN"
  for file in "${programs[@]}" "${runtimes[@]}"; do
    copy_program win64 "$file" "$root/usr/lib/kro97/$file"
  done
  copy_disc "${discs[0]}" "$root/usr/share/kro97/disc1"
  copy_disc "${discs[1]}" "$root/usr/share/kro97/disc2"
  for program in player archive; do
    sed "s/@PROGRAM@/$program/g" "$here/kro-launcher.sh" > "$out/deb/kro-$program"
    install_file 0755 "$out/deb/kro-$program" "$root/usr/bin/kro-$program"
    install_file 0644 "$here/kro-$program.desktop" "$root/usr/share/applications/kro-$program.desktop"
    for size in 16 32 48; do
      mkdir -p "$root/usr/share/icons/hicolor/${size}x${size}/apps"
      convert "$(icon "$program")[$(icon_index $size)]" -strip \
        "$root/usr/share/icons/hicolor/${size}x${size}/apps/kro-$program.png"
    done
    mkdir -p "$root/usr/share/man/man1"
    gzip -9n < "$here/kro-$program.1" > "$root/usr/share/man/man1/kro-$program.1.gz"
  done
  install_file 0644 "$here/debian/copyright" "$root/$doc/copyright"
  gzip -9n < "$here/debian/changelog" > "$root/$doc/changelog.gz"
  find "$root" -type d -exec chmod 0755 {} +
  find "$root/usr/share" -type f -exec chmod 0644 {} +
  size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
  sed -e "s/@VERSION@/$version/" -e "s/@SIZE@/$size/" "$here/debian/control" > "$root/DEBIAN/control"
  (cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum > DEBIAN/md5sums)
  chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
  find "$root" -exec touch -h -d "@$(stamp)" {} +
  SOURCE_DATE_EPOCH=$(stamp) dpkg-deb --root-owner-group -Zxz --build "$root" "$out/kro97_${version}_amd64.deb" >/dev/null
  echo "package: $out/kro97_${version}_amd64.deb"
}

# The programs' icons, drawn by the art generator with the rest of their resources.
icon() { echo "$build/win64/app/resources/art/$1/MYICON.ico"; }
icon_index() { case "$1" in 16) echo 0 ;; 32) echo 1 ;; 48) echo 2 ;; esac; }

check_deb() {
  if ! command -v lintian >/dev/null; then
    echo "package: lintian is not installed (./dev setup installs it)" >&2
    return 1
  fi
  # Errors fail the package; warnings are shown for the record.
  lintian --fail-on error --tag-display-limit 0 "$out/kro97_${version}_amd64.deb"
  echo "package: lintian found no errors"
}

make_zip
make_deb
check_deb
