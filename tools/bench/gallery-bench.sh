#!/bin/sh
# gallery-bench.sh [BUILD [TREE]]: compiles a title whose "slides.dat" holds 12,500 entries
# (20 letters, runs of 625, every entry with three pictures of one folder) into
# BUILD/bench-gallery, then runs TREE's (default win64) gallery_bench under Wine in its own
# X display.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
tree=${2:-win64}
dir=$build/bench-gallery
mkdir -p "$dir/src/articles" "$dir/src/baggage" "$dir/disc/pictures/bench/icons" "$dir/disc/pictures/bench/slides"
printf -- '---\ncontext: topic_bench\ntitle: Проба\n---\n# Проба\n\nТекст.\n' > "$dir/src/articles/bench.md"
printf 'contents: topic_bench\n' > "$dir/src/manifest.txt"
/usr/bin/python3 - "$dir/src/baggage/slides.dat" <<'PY'
import sys
letters = "АБВГДЕЖЗИКЛМНОПРСТУЯ"
rows = []
for letter in letters:
    for i in range(625):
        rows.append(f"{letter}{'абвгдежзиклмнопрстуфхцчшщыэюя'[i % 29]}{i:04d} статья;topic_bench;bench_1,bench_2,bench_3")
open(sys.argv[1], "wb").write(("\r\n".join(rows) + "\r\n").encode("cp1251"))
PY
convert -size 186x207 gradient:'#1F2A44-#C9A227' -quality 85 "$dir/disc/pictures/bench/icons/bench_1i.jpg"
"$build/native/bin/titlec" build "$dir/src" -o "$dir/bench.m14" --quiet
eval "$("$root/tools/scripts/wine-env.sh" "$tree" "$build")"
winpath() { echo "Z:$1" | tr / '\\'; }
xvfb-run -a -s '-screen 0 1024x768x24' sh -c '"$WINESERVER" -p </dev/null >/dev/null 2>&1; "$WINELOADER" "$@"; rc=$?; "$WINESERVER" -k; exit $rc' sh \
  "$build/$tree/bin/gallery_bench.exe" "$(winpath "$dir/bench.m14")" "$(winpath "$dir/disc")" 2>/dev/null
